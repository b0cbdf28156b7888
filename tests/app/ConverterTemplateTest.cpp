#include "app/ConverterTemplate.h"
#include "app/ConverterIcon.h"
#include "app/ConverterUnits.h"
#include "app/EmbeddedTemplate.h"
#include "app/ProcedureOffsets.h"
#include "platform/files/LittleEndian.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateReader.h"
#include "ui/template/IconFile.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/UnitRecord.h"
#include "ui/template/WindowProperties.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace kelvarn::app {
namespace {

using namespace runtime;
using ui::kStateDisabled;
using ui::kStateTabStop;
using ui::kStateVisible;

constexpr uint32_t kCodeBase = 0x00401000;

// The notice in GBK, piece by piece.
const std::string kNoticeGb =
    "\xBD\xF6\xD6\xA7\xB3\xD6"                             // 仅支持
    "24\xCE\xBB"                                           // 24位
    "BMP\xD7\xAA"                                          // BMP转
    "PBG\xBA\xCD"                                          // PBG和
    "32\xCE\xBB\xD2\xD4\xCF\xC2"                           // 32位以下
    "PNG\xD7\xAA"                                          // PNG转
    "BMP\xA3\xA1\xA3\xA1\xA3\xA1"                          // BMP！！！
    "Lumo\xD3\xEF\xD1\xD4\xD3\xB2\xBC\xFE\xCF\xDE\xD6\xC6" // Lumo语言硬件限制
    "\xA3\xAC\xC3\xBB\xB0\xEC\xB7\xA8\xA1\xAD\xA1\xAD"     // ，没办法……
    "\r\n\r\n"
    "\xD0\xBB\xD0\xBB\xD6\xA7\xB3\xD6\xA3\xA1" // 谢谢支持！
    "\r\n\r\n\r\n"
    "                  " // eighteen blanks
    "\xA1\xAA\xA1\xAA"   // ——
    "Ostrelle";

struct ExpectedUnit {
    uint32_t id;
    uint32_t tag;
    std::string name; // GBK
    uint32_t parent;
    int32_t left, top, width, height;
    uint32_t state;
    std::vector<uint32_t> children;
    std::optional<uint32_t> clickProcedure; // event 0
};

const uint32_t kShown = kStateVisible;
const uint32_t kTab = kStateVisible | kStateTabStop;

// The table of the converter window, in stored order.
const std::vector<ExpectedUnit>& expectedUnits() {
    static const std::vector<ExpectedUnit> units = {
        {ui::kWindowOwnRecordId,
         kTagWindow,
         "",
         0,
         50,
         50,
         487,
         360,
         kShown,
         {},
         kOnWindowCreatedOffset},
        {kBmpRadio,
         kTagRadioBox,
         "\xB5\xA5\xD1\xA1\xBF\xF2"
         "2",
         kTypeGroup,
         152,
         14,
         64,
         24,
         kTab,
         {},
         kOnBmpChosenOffset},
        {kPngRadio,
         kTagRadioBox,
         "\xB5\xA5\xD1\xA1\xBF\xF2"
         "1",
         kTypeGroup,
         84,
         14,
         48,
         24,
         kTab,
         {},
         kOnPngChosenOffset},
        {kTypeLabel,
         kTagLabel,
         "\xB1\xEA\xC7\xA9"
         "3",
         kTypeGroup,
         8,
         10,
         56,
         24,
         kShown,
         {},
         std::nullopt},
        {kTypeGroup,
         kTagGroupBox,
         "\xB7\xD6\xD7\xE9\xBF\xF2"
         "2",
         0,
         240,
         2,
         232,
         40,
         kShown,
         {kBmpRadio, kPngRadio, kTypeLabel},
         std::nullopt},
        {kNoticeLabel,
         kTagLabel,
         "\xB1\xEA\xC7\xA9"
         "1",
         kConvertGroup,
         16,
         72,
         192,
         144,
         kShown,
         {},
         std::nullopt},
        {kChooseButton,
         kTagButton,
         "\xB0\xB4\xC5\xA5"
         "3",
         0,
         240,
         49,
         232,
         32,
         kTab,
         {},
         kOnChooseFolderOffset},
        {kFolderEdit,
         kTagEditBox,
         "\xB1\xE0\xBC\xAD\xBF\xF2"
         "1",
         0,
         240,
         91,
         232,
         29,
         kTab | kStateDisabled,
         {},
         std::nullopt},
        {kToPngButton,
         kTagButton,
         "\xB0\xB4\xC5\xA5"
         "2",
         kConvertGroup,
         122,
         24,
         88,
         32,
         kTab,
         {},
         kOnConvertToPngOffset},
        {kToBmpButton,
         kTagButton,
         "\xB0\xB4\xC5\xA5"
         "1",
         kConvertGroup,
         16,
         24,
         88,
         32,
         kTab,
         {},
         kOnConvertToBmpOffset},
        {kConvertGroup,
         kTagGroupBox,
         "\xB7\xD6\xD7\xE9\xBF\xF2"
         "1",
         0,
         240,
         136,
         232,
         184,
         kShown,
         {kNoticeLabel, kToPngButton, kToBmpButton},
         std::nullopt},
        {kFileList,
         kTagListBox,
         "\xC1\xD0\xB1\xED\xBF\xF2"
         "1",
         0,
         8,
         8,
         224,
         312,
         kTab,
         {},
         std::nullopt},
    };
    return units;
}

class ConverterTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = embeddedConverterTemplate();
        result = ui::readFormTemplate(bytes, kCodeBase);
        ASSERT_TRUE(result.ok());
        ASSERT_EQ(result.windows.size(), 1u);
    }
    const ui::UnitBuffer& units() const { return result.windows[0]->units; }
    ui::UnitRecord unit(uint32_t id) const {
        auto index = units().findById(id);
        EXPECT_TRUE(index);
        auto record = ui::decodeUnitRecord(units().recordData(index.value_or(0)));
        EXPECT_TRUE(record);
        return record.value_or(ui::UnitRecord{});
    }

    std::span<const uint8_t> bytes;
    ui::TemplateReadResult result;
};

TEST_F(ConverterTemplate, EmbeddedBytesAreWhatTheDescriptionProduces) {
    const std::vector<uint8_t> built = buildConverterTemplate();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), built.begin(), built.end()));
}

TEST_F(ConverterTemplate, HoldsOneWindowAndEndsAtItsLastByte) {
    const ui::WindowRecord& window = *result.windows[0];
    EXPECT_EQ(window.id, kConverterWindowId);
    EXPECT_EQ(window.valueA, 0x002289E0u);
    EXPECT_EQ(window.valueB, 0x1901000Au);
    EXPECT_TRUE(window.textA.empty());
    EXPECT_TRUE(window.textB.empty());
    EXPECT_EQ(result.bytesRead, bytes.size());
    // Window table (count word + one id + one slot), values A and B, two empty texts, the unit
    // count, and the unit buffer with its count word.
    EXPECT_EQ(bytes.size(), (4 + 8) + (4 + 4 + 4 + 4 + 4) + (4 + units().bytes().size()));

    ASSERT_EQ(units().count(), 12u);
    const auto& expected = expectedUnits();
    size_t recordsTotal = 0;
    for (uint32_t i = 0; i < 12; ++i) {
        EXPECT_EQ(units().idAt(i), expected[i].id) << i;
        recordsTotal += 4 + units().recordLength(i);
    }
    EXPECT_EQ(units().bytes().size(), 8 * 12 + recordsTotal);
}

TEST_F(ConverterTemplate, EveryUnitRecordReadsBackAsDescribed) {
    int bindings = 0;
    for (const ExpectedUnit& e : expectedUnits()) {
        SCOPED_TRACE(::testing::Message() << std::hex << e.id);
        ui::UnitRecord u = unit(e.id);
        EXPECT_EQ(u.typeTag, e.tag);
        EXPECT_EQ(u.eventSource, 0u);
        EXPECT_EQ(u.reserved, (std::array<uint32_t, 4>{}));
        EXPECT_EQ(u.name, e.name);
        EXPECT_EQ(u.secondText, "");
        EXPECT_EQ(u.objectSlot, 0u);
        EXPECT_EQ(u.left, e.left);
        EXPECT_EQ(u.top, e.top);
        EXPECT_EQ(u.width, e.width);
        EXPECT_EQ(u.height, e.height);
        EXPECT_EQ(u.cursorSlot, 0u);
        EXPECT_EQ(u.parentId, e.parent);
        EXPECT_EQ(u.children, e.children);
        EXPECT_EQ(u.mousePointer, (std::vector<uint8_t>{0, 0, 0, 0}));
        EXPECT_EQ(u.tag, "");
        EXPECT_EQ(u.reservedWord, 0u);
        EXPECT_EQ(u.stateFlags, e.state);
        EXPECT_EQ(u.tabOrder, 0);
        EXPECT_EQ(u.reservedTail, (std::array<uint8_t, 20>{}));
        if (e.clickProcedure) {
            ASSERT_EQ(u.bindings.size(), 1u);
            EXPECT_EQ(u.bindings[0].event, 0);
            EXPECT_EQ(u.bindings[0].procedure, kCodeBase + *e.clickProcedure);
            ++bindings;
        } else {
            EXPECT_TRUE(u.bindings.empty());
        }
    }
    EXPECT_EQ(bindings, 6);
    std::set<uint32_t> offsets = {kOnWindowCreatedOffset, kOnChooseFolderOffset,
                                  kOnConvertToPngOffset,  kOnConvertToBmpOffset,
                                  kOnBmpChosenOffset,     kOnPngChosenOffset};
    EXPECT_EQ(offsets.size(), 6u);
    EXPECT_EQ(offsets.count(0), 0u);
}

TEST_F(ConverterTemplate, WindowBlockIsVersionSixWithTheTitleAndIcon) {
    ui::UnitRecord own = unit(ui::kWindowOwnRecordId);
    ASSERT_GE(own.propertyBlock.size(), 4u);
    EXPECT_EQ(platform::loadLe32(own.propertyBlock.data()), 6u);
    ui::WindowProperties w;
    ASSERT_EQ(w.read(own.propertyBlock), ui::BlockStatus::Ok);
    EXPECT_EQ(w.title, "Kelvarn    ------------By Ostrelle 315926047");
    EXPECT_EQ(w.borderStyle, 2);
    EXPECT_EQ(w.controlBox, 1);
    EXPECT_EQ(w.minimizeButton, 1);
    EXPECT_EQ(w.maximizeButton, 0);
    EXPECT_EQ(w.startPosition, 1);
    EXPECT_EQ(w.movable, 1);
    EXPECT_EQ(w.escapeCloses, 1);
    EXPECT_EQ(w.enterMovesFocus, 0);
    EXPECT_EQ(w.f1OpensHelp, 0);
    EXPECT_EQ(w.dragByAnyPoint, 0);
    EXPECT_EQ(w.alwaysOnTop, 0);
    EXPECT_EQ(w.shownInTaskbar, 1);
    EXPECT_EQ(w.backgroundColour, 0xFF000000u);
    EXPECT_EQ(w.pictureMode, 1);
    EXPECT_EQ(w.windowShape, 0);
    EXPECT_TRUE(w.backgroundPicture.empty());
    EXPECT_TRUE(w.backgroundSound.empty());
    EXPECT_TRUE(w.helpFileName.empty());
    EXPECT_TRUE(w.windowClassName.empty());
    EXPECT_EQ(w.icon, buildConverterIcon());
    // Writing the set back gives the stored block: nothing beyond the fields above.
    EXPECT_EQ(w.write(), own.propertyBlock);
}

TEST_F(ConverterTemplate, LabelsButtonsAndRadioBoxesCarryTheirTexts) {
    ui::LabelProperties notice;
    ui::UnitRecord noticeRecord = unit(kNoticeLabel);
    EXPECT_EQ(platform::loadLe32(noticeRecord.propertyBlock.data()), 2u);
    ASSERT_EQ(notice.read(noticeRecord.propertyBlock), ui::BlockStatus::Ok);
    EXPECT_EQ(notice.caption.size(), 120u);
    EXPECT_EQ(notice.caption, kNoticeGb);
    EXPECT_EQ(notice.textColour, 0x0000FFu);
    EXPECT_EQ(notice.wordWrap, 1);
    ui::LabelProperties expectedNotice;
    expectedNotice.caption = kNoticeGb;
    expectedNotice.textColour = 0x0000FF;
    expectedNotice.wordWrap = 1;
    EXPECT_EQ(notice, expectedNotice); // every other field at its default

    ui::LabelProperties type;
    ASSERT_EQ(type.read(unit(kTypeLabel).propertyBlock), ui::BlockStatus::Ok);
    ui::LabelProperties expectedType;
    expectedType.caption = "\xCD\xBC\xC6\xAC\xC0\xE0\xD0\xCD\xA3\xBA"; // 图片类型：
    EXPECT_EQ(type, expectedType);

    const std::pair<uint32_t, std::string> buttons[] = {
        {kToBmpButton, "\xD7\xAA"
                       "BMP"},
        {kToPngButton, "\xD7\xAA"
                       "PNG"},
        {kChooseButton, "\xD1\xA1\xD4\xF1\xCD\xBC\xC6\xAC\xC4\xBF\xC2\xBC"}, // 选择图片目录
    };
    for (const auto& [id, caption] : buttons) {
        ui::UnitRecord record = unit(id);
        EXPECT_EQ(platform::loadLe32(record.propertyBlock.data()), 1u);
        ui::ButtonProperties b;
        ASSERT_EQ(b.read(record.propertyBlock), ui::BlockStatus::Ok);
        ui::ButtonProperties expected;
        expected.caption = caption;
        EXPECT_EQ(b, expected);
    }

    for (const auto& [id, caption] : {std::pair{kPngRadio, "PNG"}, std::pair{kBmpRadio, "BMP"}}) {
        ui::UnitRecord record = unit(id);
        EXPECT_EQ(platform::loadLe32(record.propertyBlock.data()), 1u);
        ui::RadioBoxProperties r;
        ASSERT_EQ(r.read(record.propertyBlock), ui::BlockStatus::Ok);
        ui::RadioBoxProperties expected;
        expected.caption = caption;
        EXPECT_EQ(r, expected);
        EXPECT_EQ(r.checked, 0);
    }

    for (uint32_t id : {kFolderEdit, kConvertGroup, kTypeGroup, kFileList})
        EXPECT_TRUE(unit(id).propertyBlock.empty()) << std::hex << id;
}

TEST(ConverterIcon, IsOneThirtyTwoPixelSixteenColourImage) {
    const std::vector<uint8_t> icon = buildConverterIcon();
    ASSERT_EQ(icon.size(), 766u);
    ASSERT_TRUE(ui::isIconFile(icon));
    EXPECT_EQ(icon[4], 1); // one image
    ui::IconImageEntry e = ui::iconImageEntry(icon, 0);
    EXPECT_EQ(e.width, 32u);
    EXPECT_EQ(e.height, 32u);
    EXPECT_EQ(e.colourCount, 16u);
    EXPECT_EQ(e.bitCount, 4);
    EXPECT_EQ(e.offset + e.size, icon.size());
    // Bitmap header: 32 wide, 64 high (colour and mask), 4 bits a pixel, no compression.
    const uint8_t* header = icon.data() + e.offset;
    EXPECT_EQ(platform::loadLe32(header), 40u);
    EXPECT_EQ(platform::loadLe32(header + 4), 32u);
    EXPECT_EQ(platform::loadLe32(header + 8), 64u);
    EXPECT_EQ(header[14], 4); // bits a pixel
    EXPECT_EQ(platform::loadLe32(header + 16), 0u);

    // The picture uses many of its colours and is neither fully clear nor fully opaque.
    const uint8_t* pixels = header + 40 + 64;
    const uint8_t* mask = pixels + 512;
    std::set<int> used;
    int clear = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        bool transparent = (mask[i / 8] >> (7 - i % 8)) & 1;
        int index = (pixels[i / 2] >> (i % 2 ? 0 : 4)) & 0xF;
        if (transparent) {
            ++clear;
            EXPECT_EQ(index, 0);
        } else {
            used.insert(index);
        }
    }
    EXPECT_GT(clear, 0);
    EXPECT_LT(clear, 300);
    EXPECT_GE(used.size(), 12u);
}

} // namespace
} // namespace kelvarn::app
