// The converter's literals, written as the user reads them.

#include "app/template/ConverterTexts.h"

namespace kelvarn::app {
namespace {

// The texts of the converter's constants area, in the order the area holds them.
constexpr NamedText kMessageTexts[] = {
    {"folderDialogTitle", "请选择文件夹"},
    {"empty", ""},
    {"star", "*"},
    {"backslash", "\\"},
    {"bmp", "BMP"},
    {"png", "PNG"},
    {"dotBmp", ".BMP"},
    {"dotPng", ".PNG"},
    {"imageTo", "图片转"},
    {"succeeded", "成功"},
    {"nothingListed", "列表中没有要转换的文件"},

    // The end-of-run message when files failed: "图片转" + type + "完成，失败 " + N + " 个：",
    // then one line per failed file, "name（reason）", and "……" after the last shown.
    {"finishedFailed", "完成，失败 "},
    {"countUnit", " 个："},
    {"lineBreak", "\r\n"},
    {"openReason", "（"},
    {"closeReason", "）"},
    {"moreFailed", "……"},
    // After the names, when a target could not be written: "输出目录：" + the target folder,
    // shown with the native separator.
    {"outputFolder", "输出目录："},
    {"slash", "/"},

    // Why a file failed, by the conversion command's result code: 253, 255, -4, -7, any
    // other code, and an item that never started because the window was closed during the
    // batch.
    {"unrecognisedFormat", "格式不支持或文件已损坏"},
    {"fileMissing", "文件不存在"},
    {"cannotWriteTarget", "无法写入目标文件"},
    {"badArguments", "参数错误"},
    {"conversionFailed", "转换失败"},
    {"cancelled", "已取消"},
};

// The display names of the libraries in the program's library table.
constexpr NamedText kLibraryNames[] = {
    {"core", "核心运行库"},
    {"shell", "外壳接口库"},
};

constexpr TextBlock kBlocks[] = {
    {"ConverterTexts", "converterTexts",
     "The texts of the converter's constants area (app/ConverterConstants.h).", kMessageTexts},
    {"LibraryNames", "libraryNames", "The display names of the converter's libraries.",
     kLibraryNames},
};

} // namespace

std::span<const TextBlock> converterTextBlocks() {
    return kBlocks;
}

} // namespace kelvarn::app
