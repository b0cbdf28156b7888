// The converter's program image as the runtime reads it at start-up: header words, the library
// table with each library's command list in the order the procedures were built against, the
// constants area that must hold every literal (the runtime releases any address outside it),
// and a code area in which every offset the form template binds finds its procedure.

#include "app/ConverterConstants.h"
#include "app/ConverterProgram.h"
#include "app/EmbeddedTemplate.h"
#include "app/template/ProcedureOffsets.h"
#include "commands/core/ListBoxCommands.h"
#include "commands/core/SystemCommands.h"
#include "commands/core/TextCommands.h"
#include "commands/image/ConversionCommands.h"
#include "commands/shell/ShellLibrary.h"
#include "ui/window/CoreDataTypes.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::app;
namespace {

using runtime::CommandFunction;

std::vector<CommandFunction> commandsOf(const runtime::LibraryRecord& library) {
    auto list = library.commandList();
    return {list.begin(), list.end()};
}

TEST(ConverterProgramImage, HeaderAndLibraryTableAreThoseTheProceduresWereBuiltAgainst) {
    const runtime::ProgramHeader& h = converterProgramHeader();
    EXPECT_EQ(h.buildKind, 3);
    EXPECT_EQ(h.word1, 0);
    EXPECT_EQ(h.highestIdentifier, 0x00010069);
    EXPECT_EQ(h.codeStart, kConverterCodeBase);
    EXPECT_EQ(h.formTemplate, embeddedConverterTemplate().data());
    EXPECT_EQ(h.formTemplateLength, static_cast<int32_t>(embeddedConverterTemplate().size()));
    EXPECT_EQ(h.dllCommandCount, 0);
    ASSERT_EQ(h.libraryTable().size(), 3u);

    const runtime::LibraryRecord& core = *h.libraryTable()[0];
    EXPECT_EQ(core.format, runtime::kLibraryFormatWord);
    EXPECT_EQ(core.stateFlags, 0xC0000001u);
    EXPECT_EQ(core.dataTypeCount, 51);
    EXPECT_EQ(core.dataTypes, ui::coreDataTypes().data());
    using namespace commands;
    EXPECT_EQ(commandsOf(core),
              (std::vector<CommandFunction>{&ListClear, &RightText, &ProcessEvents, &ListAddItem,
                                            &ListItemCount, &ListItemText, &ListSelectText,
                                            &ProgramDirectory, &MakeDirectory, &TextLength,
                                            &LeftText, &ShowMessageBox}));

    const runtime::LibraryRecord& shell = *h.libraryTable()[1];
    EXPECT_EQ(shell.stateFlags, 0u);
    EXPECT_EQ(shell.dataTypeCount, 0);
    EXPECT_EQ(commandsOf(shell), (std::vector<CommandFunction>{&BrowseForFolder}));

    const runtime::LibraryRecord& image = *h.libraryTable()[2];
    EXPECT_EQ(commandsOf(image),
              (std::vector<CommandFunction>{&commands::ConvertToBmp, &commands::ConvertToPng}));
    for (const runtime::LibraryRecord* library : h.libraryTable()) {
        EXPECT_EQ(library->word28, 1);
        EXPECT_NE(library->notify, nullptr);
    }
}

TEST(ConverterProgramImage, EveryLiteralLiesInsideTheConstantsArea) {
    const runtime::ProgramHeader& h = converterProgramHeader();
    const char* start = h.constantsStart;
    const char* end = start + h.constantsLength;
    const ConverterConstants& c = converterConstants();
    const char* texts[] = {c.folderDialogTitle,
                           c.empty,
                           c.star,
                           c.backslash,
                           c.bmp,
                           c.png,
                           c.dotBmp,
                           c.dotPng,
                           c.imageTo,
                           c.succeeded,
                           c.finishedFailed,
                           c.countUnit,
                           c.lineBreak,
                           c.openReason,
                           c.closeReason,
                           c.moreFailed,
                           c.outputFolder,
                           c.slash,
                           c.nothingListed,
                           c.unrecognisedFormat,
                           c.fileMissing,
                           c.cannotWriteTarget,
                           c.badArguments,
                           c.conversionFailed,
                           c.cancelled};
    for (const char* text : texts) {
        EXPECT_GE(text, start);
        EXPECT_LT(text + std::char_traits<char>::length(text), end) << "its zero lies inside";
    }
    EXPECT_STREQ(c.dotPng, ".PNG");
    EXPECT_STREQ(c.imageTo, "\xcd\xbc\xc6\xac\xd7\xaa"); // 图片转
}

// The build turns the literals from UTF-8 into GBK: full-width punctuation, ASCII beside
// Chinese, control characters and the backslash come out as these bytes, and the area keeps its
// size (every array sized to its text, the two numbers after them).
TEST(ConverterProgramImage, LiteralsAreTheirGbkBytes) {
    const ConverterConstants& c = converterConstants();
    const runtime::ProgramHeader& h = converterProgramHeader();
    const std::pair<const char*, const char*> cases[] = {
        {c.folderDialogTitle, "\xc7\xeb\xd1\xa1\xd4\xf1\xce\xc4\xbc\xfe\xbc\xd0"},
        {c.finishedFailed, "\xcd\xea\xb3\xc9\xa3\xac\xca\xa7\xb0\xdc "},
        {c.countUnit, " \xb8\xf6\xa3\xba"},
        {c.moreFailed, "\xa1\xad\xa1\xad"},
        {c.openReason, "\xa3\xa8"},
        {c.lineBreak, "\r\n"},
        {c.backslash, "\\"},
        {h.libraryTable()[0]->displayName, "\xba\xcb\xd0\xc4\xd4\xcb\xd0\xd0\xbf\xe2"},
        {h.libraryTable()[1]->displayName, "\xcd\xe2\xbf\xc7\xbd\xd3\xbf\xda\xbf\xe2"},
    };
    for (const auto& [text, gbk] : cases)
        EXPECT_STREQ(text, gbk);
    EXPECT_EQ(h.constantsLength, 208);
}

TEST(ConverterProgramImage, TheCodeAreaHoldsEveryProcedureAtItsOwnOffset) {
    const runtime::ProgramImage& image = converterProgramImage();
    EXPECT_EQ(image.header, &converterProgramHeader());
    EXPECT_NE(image.entry, nullptr);
    EXPECT_NE(image.installLibraries, nullptr);
    const uint32_t offsets[] = {
        kOnWindowCreatedOffset, kOnChooseFolderOffset, kOnConvertToPngOffset,
        kOnConvertToBmpOffset,  kOnBmpChosenOffset,    kOnPngChosenOffset,
        kProgramEntryOffset,    kInitGlobalsOffset,    kReleaseGlobalsOffset};
    ASSERT_EQ(image.code.size(), std::size(offsets));
    for (size_t i = 0; i < image.code.size(); ++i) {
        EXPECT_NE(image.code[i].procedure, nullptr);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(image.code[i].offset, image.code[j].offset) << "two procedures share one";
    }
    for (uint32_t offset : offsets) {
        bool found = false;
        for (const runtime::CodeEntry& entry : image.code)
            found = found || entry.offset == offset;
        EXPECT_TRUE(found) << std::hex << offset;
    }
}

} // namespace
} // namespace kelvarn::testing
