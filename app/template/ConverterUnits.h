#pragma once
// Ids of the converter window and of its units, as its form template stores them.

#include <cstdint>

namespace kelvarn::app {

constexpr uint32_t kConverterWindowId = 0x52010001;

constexpr uint32_t kFileList = 0x16010002;     // ListBox "列表框1"
constexpr uint32_t kConvertGroup = 0x16010003; // GroupBox "分组框1"
constexpr uint32_t kToBmpButton = 0x16010004;  // Button "按钮1", "转BMP"
constexpr uint32_t kToPngButton = 0x16010005;  // Button "按钮2", "转PNG"
constexpr uint32_t kFolderEdit = 0x16010006;   // EditBox "编辑框1"
constexpr uint32_t kChooseButton = 0x16010008; // Button "按钮3", "选择图片目录"
constexpr uint32_t kNoticeLabel = 0x16010009;  // Label "标签1", the red notice
constexpr uint32_t kTypeGroup = 0x16010010;    // GroupBox "分组框2"
constexpr uint32_t kTypeLabel = 0x16010017;    // Label "标签3", "图片类型："
constexpr uint32_t kPngRadio = 0x16010018;     // RadioBox "单选框1", "PNG"
constexpr uint32_t kBmpRadio = 0x16010019;     // RadioBox "单选框2", "BMP"

} // namespace kelvarn::app
