// The converter's procedures, each written as its steps in order. "a + b" is one TextConcat (a
// new text) and "v := x" releases v's old text first (assign below).

#include "app/ConverterProcedures.h"

#include "app/ConverterConstants.h"
#include "app/ParallelBatch.h"
#include "app/template/ConverterUnits.h"
#include "commands/core/ListBoxCommands.h"
#include "commands/core/SystemCommands.h"
#include "commands/core/TextCommands.h"
#include "commands/image/ConversionCommands.h"
#include "commands/shell/ShellLibrary.h"
#include "imaging/LoaderChain.h"
#include "platform/windowing/BusyPeriod.h"
#include "runtime/core/ArgRecord.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/Text.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kelvarn::app {

// The extension of the files to list, with its dot: ".PNG" or ".BMP". Holds a literal of the
// constants area itself.
TextVariable SourceExtension = nullptr;
// The folder of the listed files followed by "\": the prefix of every source path.
TextVariable SourceFolder = nullptr;

namespace {

using runtime::ArgRecord;
using runtime::CommandFunction;
using runtime::makeInteger;
using runtime::TextCompare;
using runtime::TextConcat;

// Positions in the library table, counted from 0.
constexpr int32_t kShellLibrary = 1;
constexpr int32_t kImageLibrary = 2;

constexpr int32_t kEditBoxText = ui::propertyIndex(ui::EditBoxProperty::Content);
constexpr int32_t kRadioBoxChecked = ui::propertyIndex(ui::RadioBoxProperty::Checked);
constexpr int32_t kWholeValue = -1; // member selector of every property access here

constexpr int32_t kPngDepth = 24;
constexpr int32_t kConverted = 1;
constexpr int32_t kMostFailuresNamed = 20;
constexpr int32_t kPlainBox = 0;
constexpr int32_t kWarningBox = 0x30;     // the exclamation icon
constexpr int32_t kInformationBox = 0x40; // the information icon
// The result of an item that never started; no command gives it.
constexpr int32_t kNotStarted = std::numeric_limits<int32_t>::min();

constexpr UnitParameter kListBox{kConverterWindowId, kFileList};
constexpr ArgRecord kOmitted{};

const runtime::RuntimeEntryTable& rt() {
    return runtime::runtimeEntries();
}

// `MemFree` ignores null and the constants area, so any text variable is released this way.
void release(TextVariable& variable) {
    rt().MemFree(const_cast<char*>(variable));
    variable = nullptr;
}

// variable := value. The value is always computed before the old text goes.
void assign(TextVariable& variable, TextVariable value) {
    release(variable);
    variable = value;
}

// Texts passed to commands are never null: an empty variable goes as the "" literal.
ArgRecord textArgument(TextVariable text) {
    return runtime::makeText(text ? text : converterConstants().empty);
}

ArgRecord listBoxArgument(UnitParameter listBox) {
    return runtime::makeUnitReference(listBox.windowId, listBox.unitId, runtime::kTagListBox);
}

// Numeric expressions are evaluated in double precision; an integer argument takes the value
// truncated toward zero.
int32_t integerOf(double value) {
    return static_cast<int32_t>(std::trunc(value));
}

template <typename... Arguments>
ArgRecord callCore(CommandFunction command, Arguments... arguments) {
    ArgRecord records[] = {arguments..., ArgRecord{}}; // the last record only keeps it non-empty
    return rt().CallCoreCommand(command, sizeof...(Arguments), records);
}

template <typename... Arguments>
ArgRecord callLibrary(int32_t position, CommandFunction command, Arguments... arguments) {
    ArgRecord records[] = {arguments..., ArgRecord{}};
    return rt().CallLibraryCommand(position, command, sizeof...(Arguments), records);
}

std::string textOf(TextVariable text) {
    return text ? std::string(text) : std::string();
}

// A text property read is a new text the caller owns.
TextVariable readTextProperty(uint32_t unitId, int32_t property) {
    runtime::PropertyValue value =
        rt().ReadUnitProperty(kConverterWindowId, unitId, property, kWholeValue);
    return static_cast<TextVariable>(value.address());
}

// The unit copies the text; the caller keeps its own.
void writeTextProperty(uint32_t unitId, int32_t property, TextVariable text) {
    runtime::PropertyValue value;
    value.setAddress(text);
    rt().WriteUnitProperty(kConverterWindowId, unitId, property, kWholeValue, value.low,
                           value.high);
}

// `FindFile` (runtime helper 0) with the attributes omitted: the next entry that is not a
// folder, or the empty text. A non-empty pattern starts the search, "" continues it.
TextVariable findFile(TextVariable pattern, intptr_t* searchState) {
    const intptr_t arguments[] = {reinterpret_cast<intptr_t>(pattern), 0, 1,
                                  reinterpret_cast<intptr_t>(searchState)};
    return reinterpret_cast<TextVariable>(rt().CallHelper(runtime::kHelperFindFile, arguments, 4));
}

// `CloseFind` (runtime helper 1) with the search state's value.
void closeFind(intptr_t searchState) {
    rt().CallHelper(runtime::kHelperCloseFind, &searchState, 1);
}

// Why a file was not converted, by the conversion command's result code.
TextVariable failureReason(int32_t resultCode) {
    const ConverterConstants& c = converterConstants();
    switch (resultCode) {
    case imaging::kLoadUnrecognised:
        return c.unrecognisedFormat;
    case imaging::kLoadNotFound:
        return c.fileMissing;
    case commands::kConvertWriteFailed:
        return c.cannotWriteTarget;
    case commands::kConvertBadArguments:
        return c.badArguments;
    case kNotStarted:
        return c.cancelled;
    default:
        return c.conversionFailed;
    }
}

} // namespace

int32_t ProgramEntry() {
    rt().CallHelper(runtime::kHelperInitializeProgram, nullptr, 0);
    std::fesetenv(FE_DFL_ENV); // all exceptions masked, round to nearest
    InitGlobals();
    const intptr_t exitProcedure = reinterpret_cast<intptr_t>(&ReleaseGlobals);
    rt().CallHelper(runtime::kHelperRegisterExitProcedure, &exitProcedure, 1);
    rt().LoadStartupWindow(kConverterWindowId);
    rt().RunMessageLoop();
    return 0;
}

void InitGlobals() {
    // Both globals start as the empty text: nothing to do.
}

void ReleaseGlobals() {
    release(SourceExtension);
    release(SourceFolder);
}

void OnWindowCreated() {
    const ConverterConstants& c = converterConstants();
    // PNG files are listed, and the "PNG" radio box is checked, until the user picks BMP.
    assign(SourceExtension, c.dotPng);
    rt().WriteUnitProperty(kConverterWindowId, kPngRadio, kRadioBoxChecked, kWholeValue, 1, 0);
}

// Neither radio box touches the list: it keeps the files of the type that was current when the
// folder was chosen.
void OnBmpChosen() {
    assign(SourceExtension, converterConstants().dotBmp);
}

void OnPngChosen() {
    assign(SourceExtension, converterConstants().dotPng);
}

void OnChooseFolder() {
    const ConverterConstants& c = converterConstants();
    // The chosen folder, or the empty text when the user cancels, goes into the edit box.
    TextVariable path = callLibrary(kShellLibrary, &commands::BrowseForFolder,
                                    textArgument(c.folderDialogTitle), kOmitted)
                            .text();
    writeTextProperty(kFolderEdit, kEditBoxText, path);
    release(path);
    // A cancelled dialog empties the edit box and leaves the list as it was.
    TextVariable shown = readTextProperty(kFolderEdit, kEditBoxText);
    const bool nothingChosen = TextCompare(shown, c.empty) == 0;
    release(shown);
    if (nothingChosen)
        return;
    // Otherwise the list is filled afresh with the folder's files of the chosen type, found
    // with a pattern such as *.PNG, in the folder as the edit box holds it.
    callCore(&commands::ListClear, listBoxArgument(kListBox));
    TextVariable pattern = TextConcat(c.star, SourceExtension);
    TextVariable folder = readTextProperty(kFolderEdit, kEditBoxText);
    ListFolderFiles(folder, kListBox, pattern);
    release(folder);
    release(pattern);
}

int32_t ListFolderFiles(TextVariable& folder, UnitParameter listBox, TextVariable& pattern) {
    const ConverterConstants& c = converterConstants();
    // The prefix of the source paths is taken before the check below: a folder that already
    // ends in "\" gives a prefix ending in two, which paths accept.
    assign(SourceFolder, TextConcat(folder, c.backslash));
    // The folder searched ends in "\".
    TextVariable last =
        callCore(&commands::RightText, textArgument(folder), makeInteger(integerOf(c.one))).text();
    if (TextCompare(last, c.backslash) != 0)
        assign(folder, TextConcat(folder, c.backslash));
    release(last);
    // The window repaints after the folder dialog.
    callCore(&commands::ProcessEvents);
    // The search path, for example /home/user/pics\*.PNG.
    TextVariable searchPath = TextConcat(folder, pattern);
    // The search state lives in this frame.
    intptr_t searchState = 0;
    TextVariable name = findFile(searchPath, &searchState);
    release(searchPath);
    // Every file found goes into the list, in the order the search gives them.
    while (TextCompare(name, c.empty) != 0) {
        callCore(&commands::ListAddItem, listBoxArgument(listBox), textArgument(name), kOmitted);
        assign(name, findFile(c.empty, &searchState));
    }
    release(name);
    closeFind(searchState);
    return 1;
}

void OnConvertToBmp() {
    TextVariable targetType = converterConstants().bmp;
    ConvertListedFiles(targetType);
    release(targetType);
}

void OnConvertToPng() {
    TextVariable targetType = converterConstants().png;
    ConvertListedFiles(targetType);
    release(targetType);
}

void ConvertListedFiles(TextVariable& targetType) {
    const ConverterConstants& c = converterConstants();
    TextVariable outFolder = nullptr;
    TextVariable outName = nullptr;
    // Every file's result is kept: the failed ones are counted, and the first of them named
    // with their reasons, one line each.
    int32_t failedCount = 0;
    TextVariable failedLines = nullptr;
    bool targetUnwritable = false;
    // The conversions run on worker threads, up to one a core, while this loop goes on with the
    // next items. Each conversion gets its own copies of the target type and its paths, made
    // here on this thread, so a worker never reads a text of the runtime heap. Items are
    // walked, selected and reported in list order. Every few milliseconds, whether this thread
    // waits for a worker or walks the list, the window is kept alive without taking input: it
    // repaints, answers the window system and holds a close request. After a close request (or
    // the session's end) no further item starts; the ones under way finish, the rest are
    // reported as cancelled and the window closes once the message has been answered (when
    // `busy` goes).
    platform::BusyPeriod busy;
    ParallelBatch batch(batchWorkers(), [&busy] {
        busy.keepAlive();
        return !busy.closeRequested();
    });
    std::vector<TextVariable> items;
    const std::string type = textOf(targetType);

    // The count is taken once: the items are walked in list order.
    const int32_t n = callCore(&commands::ListItemCount, listBoxArgument(kListBox)).integer();
    int32_t started = 0;
    for (int32_t i = 1; i <= n; ++i) {
        TextVariable item = callCore(&commands::ListItemText, listBoxArgument(kListBox),
                                     makeInteger(integerOf(i - c.one)))
                                .text();
        items.push_back(item);
        // The targets go into a folder beside the program named after their type; for a program
        // in /opt/kelvarn converting to PNG: /opt/kelvarn\PNG\.
        TextVariable directory = callCore(&commands::ProgramDirectory).text();
        assign(outFolder, TextConcat(directory, c.backslash, targetType, c.backslash));
        release(directory);
        // Making it fails harmlessly from the second file on.
        callCore(&commands::MakeDirectory, textArgument(outFolder));
        // The last three bytes of the name become the target type: photo.bmp, photo.PNG.
        const int32_t length = callCore(&commands::TextLength, textArgument(item)).integer();
        TextVariable stem = callCore(&commands::LeftText, textArgument(item),
                                     makeInteger(integerOf(length - c.three)))
                                .text();
        assign(outName, TextConcat(stem, targetType));
        release(stem);
        // The source and target paths, copied for the conversion.
        TextVariable source = TextConcat(SourceFolder, item);
        TextVariable target = TextConcat(outFolder, outName);
        std::string sourcePath = textOf(source);
        std::string targetPath = textOf(target);
        release(source);
        release(target);
        // Two items that write the same file (or read what another writes) run one after the
        // other, in list order.
        std::vector<std::string> keys{targetPath, sourcePath};
        if (!batch.waitForRoom(keys))
            break;
        // Once it can start, the item being converted becomes the selected one.
        callCore(&commands::ListSelectText, listBoxArgument(kListBox), textArgument(item));
        if (!batch.start(
                static_cast<size_t>(i - 1), std::move(keys),
                [type, sourcePath = std::move(sourcePath), targetPath = std::move(targetPath)] {
                    TextVariable typeText = type.c_str();
                    TextVariable sourceText = sourcePath.c_str();
                    TextVariable targetText = targetPath.c_str();
                    return ConvertOneFile(typeText, sourceText, targetText);
                }))
            break;
        ++started;
    }
    // The items that never started, for the message.
    for (int32_t i = static_cast<int32_t>(items.size()) + 1; i <= n; ++i)
        items.push_back(callCore(&commands::ListItemText, listBoxArgument(kListBox),
                                 makeInteger(integerOf(i - c.one)))
                            .text());
    const std::vector<int32_t>& results = batch.finish();
    // A request that came with the last files is held now, before the box blocks the window.
    busy.keepAlive();
    busy.end();
    for (size_t k = 0; k < items.size(); ++k) {
        const int32_t result = k < static_cast<size_t>(started) ? results[k] : kNotStarted;
        if (result != kConverted) {
            ++failedCount;
            targetUnwritable = targetUnwritable || result == commands::kConvertWriteFailed;
            if (failedCount <= kMostFailuresNamed)
                assign(failedLines, TextConcat(failedLines, c.lineBreak, items[k], c.openReason,
                                               failureReason(result), c.closeReason));
        }
        release(items[k]);
    }
    release(outFolder);
    release(outName);

    // The end-of-run message: "图片转" + type + "成功" only when every listed file converted; an
    // empty list says there was nothing to convert; otherwise a warning that counts and names the
    // failures and, when a target could not be written, says where the targets go.
    TextVariable message = nullptr;
    int32_t flags = kPlainBox;
    if (n <= 0) {
        message = c.nothingListed;
        flags = kInformationBox;
    } else if (failedCount == 0) {
        message = TextConcat(c.imageTo, targetType, c.succeeded);
    } else {
        char count[12] = {};
        std::to_chars(count, count + sizeof count - 1, failedCount);
        const bool moreThanNamed = failedCount > kMostFailuresNamed;
        TextVariable folderLine = nullptr;
        if (targetUnwritable) {
            TextVariable directory = callCore(&commands::ProgramDirectory).text();
            folderLine = TextConcat(c.lineBreak, c.outputFolder, directory, c.slash, targetType);
            release(directory);
        }
        message =
            TextConcat(c.imageTo, targetType, c.finishedFailed, count, c.countUnit, failedLines,
                       moreThanNamed ? c.lineBreak : c.empty,
                       moreThanNamed ? c.moreFailed : c.empty, folderLine ? folderLine : c.empty);
        release(folderLine);
        flags = kWarningBox;
    }
    release(failedLines);
    callCore(&commands::ShowMessageBox, textArgument(message), makeInteger(flags), kOmitted,
             kOmitted);
    release(message);
}

int32_t ConvertOneFile(TextVariable& targetType, TextVariable& source, TextVariable& target) {
    const ConverterConstants& c = converterConstants();
    ArgRecord result;
    if (TextCompare(targetType, c.bmp) == 0)
        result = callLibrary(kImageLibrary, &commands::ConvertToBmp, textArgument(source),
                             textArgument(target));
    else
        result = callLibrary(kImageLibrary, &commands::ConvertToPng, textArgument(source),
                             textArgument(target), makeInteger(kPngDepth));
    return result.integer();
}

} // namespace kelvarn::app
