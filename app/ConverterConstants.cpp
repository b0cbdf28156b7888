#include "app/ConverterConstants.h"

namespace kelvarn::app {
namespace {

// clang-format off
const ConverterConstants kConstants = {
    "\xc7\xeb\xd1\xa1\xd4\xf1\xce\xc4\xbc\xfe\xbc\xd0",             // 请选择文件夹
    "",
    "*",
    "\\",
    "BMP",
    "PNG",
    ".BMP",
    ".PNG",
    "\xcd\xbc\xc6\xac\xd7\xaa",                                     // 图片转
    "\xb3\xc9\xb9\xa6",                                             // 成功

    "\xcd\xea\xb3\xc9\xa3\xac\xca\xa7\xb0\xdc ",                    // "完成，失败 "
    " \xb8\xf6\xa3\xba",                                            // " 个："
    "\r\n",
    "\xa3\xa8",                                                     // （
    "\xa3\xa9",                                                     // ）
    "\xa1\xad\xa1\xad",                                             // ……

    "\xce\xde\xb7\xa8\xca\xb6\xb1\xf0\xb5\xc4\xcd\xbc\xc6\xac\xb8\xf1\xca\xbd", // 无法识别的图片格式
    "\xce\xc4\xbc\xfe\xb2\xbb\xb4\xe6\xd4\xda",                     // 文件不存在
    "\xce\xde\xb7\xa8\xd0\xb4\xc8\xeb\xc4\xbf\xb1\xea\xce\xc4\xbc\xfe", // 无法写入目标文件
    "\xb2\xce\xca\xfd\xb4\xed\xce\xf3",                             // 参数错误
    "\xd7\xaa\xbb\xbb\xca\xa7\xb0\xdc",                             // 转换失败

    1.0,
    3.0,
};
// clang-format on

} // namespace

const ConverterConstants& converterConstants() {
    return kConstants;
}

const char* constantsAreaStart() {
    return reinterpret_cast<const char*>(&kConstants);
}

int32_t constantsAreaLength() {
    return static_cast<int32_t>(sizeof kConstants);
}

} // namespace kelvarn::app
