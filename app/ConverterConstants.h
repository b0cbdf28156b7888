#pragma once
// The converter's constants area: every literal its procedures use, laid end to end in one
// block that the program header names. The runtime never releases an address inside it, so a
// global may hold one of these texts without a copy. Texts are GBK bytes.

#include <cstddef>
#include <cstdint>

namespace kelvarn::app {

struct ConverterConstants {
    char folderDialogTitle[13]; // "请选择文件夹"
    char empty[1];              // ""
    char star[2];               // "*"
    char backslash[2];          // "\"
    char bmp[4];                // "BMP"
    char png[4];                // "PNG"
    char dotBmp[5];             // ".BMP"
    char dotPng[5];             // ".PNG"
    char imageTo[7];            // "图片转"
    char succeeded[5];          // "成功"
    char nothingListed[23];     // "列表中没有要转换的文件"

    // The end-of-run message when files failed: "图片转" + type + "完成，失败 " + N + " 个：",
    // then one line per failed file, "name（reason）", and "……" after the last shown.
    char finishedFailed[12]; // "完成，失败 "
    char countUnit[6];       // " 个："
    char lineBreak[3];       // "\r\n"
    char openReason[3];      // "（"
    char closeReason[3];     // "）"
    char moreFailed[5];      // "……"
    // After the names, when a target could not be written: "输出目录：" + the target folder,
    // shown with the native separator.
    char outputFolder[11]; // "输出目录："
    char slash[2];         // "/"

    // Why a file failed, by the conversion command's result code.
    char unrecognisedFormat[23]; // "格式不支持或文件已损坏" (253)
    char fileMissing[11];        // "文件不存在" (255)
    char cannotWriteTarget[17];  // "无法写入目标文件" (-4)
    char badArguments[9];        // "参数错误" (-7)
    char conversionFailed[9];    // "转换失败" (any other code)
    char cancelled[7]; // "已取消" (not started: the window was closed during the batch)

    // The numbers of the index and name arithmetic.
    double one;   // list positions count from 1, list indexes from 0
    double three; // the bytes of an extension replaced by the target type
};

const ConverterConstants& converterConstants();

// The area as the program header gives it: start and length in bytes.
const char* constantsAreaStart();
int32_t constantsAreaLength();

} // namespace kelvarn::app
