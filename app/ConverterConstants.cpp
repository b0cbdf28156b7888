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
    "\xc1\xd0\xb1\xed\xd6\xd0\xc3\xbb\xd3\xd0\xd2\xaa\xd7\xaa\xbb\xbb\xb5\xc4\xce\xc4\xbc\xfe", // 列表中没有要转换的文件

    "\xcd\xea\xb3\xc9\xa3\xac\xca\xa7\xb0\xdc ",                    // "完成，失败 "
    " \xb8\xf6\xa3\xba",                                            // " 个："
    "\r\n",
    "\xa3\xa8",                                                     // （
    "\xa3\xa9",                                                     // ）
    "\xa1\xad\xa1\xad",                                             // ……
    "\xca\xe4\xb3\xf6\xc4\xbf\xc2\xbc\xa3\xba",                     // 输出目录：
    "/",

    "\xb8\xf1\xca\xbd\xb2\xbb\xd6\xa7\xb3\xd6\xbb\xf2\xce\xc4\xbc\xfe\xd2\xd1\xcb\xf0\xbb\xb5", // 格式不支持或文件已损坏
    "\xce\xc4\xbc\xfe\xb2\xbb\xb4\xe6\xd4\xda",                     // 文件不存在
    "\xce\xde\xb7\xa8\xd0\xb4\xc8\xeb\xc4\xbf\xb1\xea\xce\xc4\xbc\xfe", // 无法写入目标文件
    "\xb2\xce\xca\xfd\xb4\xed\xce\xf3",                             // 参数错误
    "\xd7\xaa\xbb\xbb\xca\xa7\xb0\xdc",                             // 转换失败
    "\xd2\xd1\xc8\xa1\xcf\xfb",                                     // 已取消

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
