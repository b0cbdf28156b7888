// File names as users have them: spaces, quotes, newlines, leading dashes, 255-byte names,
// Chinese, emoji and bytes that are not UTF-8 at all. The folder search lists them as runtime
// texts, the converter's name arithmetic (last three bytes replaced by the target type) and the
// conversion commands take them, and the converted file carries the same name on disk.

#include "commands/core/FindFile.h"
#include "commands/image/ConversionCommands.h"
#include "imaging/BmpCodec.h"
#include "imaging/PngCodec.h"
#include "platform/files/Codepage.h"
#include "runtime/core/Heap.h"
#include "tests/imaging/HostileInputTest.h"

#include <algorithm>
#include <filesystem>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
using namespace kelvarn::commands;
namespace {

namespace fs = std::filesystem;
using kelvarn::testing::Bytes;

std::vector<std::string> hostileNames() {
    std::string chinese253;
    for (int i = 0; i < 83; ++i)
        chinese253 += "图";
    return {
        "two  spaces and tail .",
        "it's \"quoted\" `name`",
        "line\nbreak\r",
        "-rf --help",
        "--",
        std::string(251, 'n'),
        chinese253,
        "风景 照片",
        "淺", // its second GBK byte is the backslash byte
        "😀🎉 party",
        std::string("raw \xFF\xFE latin1 \xE9t\xE9"),
        std::string("cut \xE4\xB8"),
        "$(touch pwned) *?[a]",
    };
}

// The bare names (runtime texts) that the folder search returns for `pattern`.
std::vector<std::string> listed(const std::string& pattern) {
    std::vector<std::string> names;
    platform::FindHandle* slot = nullptr;
    for (char* name = commands::FindFile(pattern.c_str(), 0, 1, &slot); name;
         name = commands::FindFile("", 0, 1, &slot)) {
        names.emplace_back(name);
        runtime::MemFree(name);
    }
    commands::CloseFind(slot);
    return names;
}

class HostileNameTest : public kelvarn::testing::ScratchFolderTest {};

TEST_F(HostileNameTest, HostileNamesAreListedConvertedAndNamedAlike) {
    fs::create_directory(work("in"));
    fs::create_directory(work("out"));
    std::vector<std::string> natives;
    std::vector<Bytes> pictures;
    int seed = 1;
    for (const std::string& stem : hostileNames()) {
        const std::string name = stem + ".bmp";
        ASSERT_LE(name.size(), 255u);
        const Bytes rgb = testing::gradient(seed, 3, 3);
        ASSERT_TRUE(testing::writeFile(work("in/" + name), testing::bmpFile(seed, 3, rgb))) << name;
        natives.push_back(name);
        ++seed;
    }

    const std::string inFolder = platform::utf8ToGb(work("in"));
    const std::string outFolder = platform::utf8ToGb(work("out"));
    std::vector<std::string> names = listed(inFolder + "\\*.BMP");
    std::vector<std::string> shown;
    for (const std::string& name : names)
        shown.push_back(platform::gbToUtf8(name));
    std::vector<std::string> expected = natives;
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected) << "every name is listed once, with its bytes";

    for (const std::string& name : names) {
        // photo.bmp becomes photo.PNG: the last three bytes are replaced.
        const std::string outName = name.substr(0, name.size() - 3) + "PNG";
        EXPECT_EQ(testing::commandToPng(inFolder + "\\" + name, outFolder + "\\" + outName),
                  kConvertOk)
            << platform::gbToUtf8(name);
    }
    for (size_t i = 0; i < natives.size(); ++i) {
        const std::string native = natives[i].substr(0, natives[i].size() - 3) + "PNG";
        ImageRecord image;
        PngCodec png;
        ASSERT_EQ(png.open(platform::utf8ToGb(work("out/" + native)).c_str(), image), 1) << native;
        ASSERT_EQ(png.decode(), 1);
        EXPECT_EQ(image.width(), static_cast<int32_t>(i + 1)) << native;
    }
    EXPECT_EQ(entries(work("out")).size(), natives.size()) << "nothing else was written";
    EXPECT_FALSE(fs::exists(work("in/pwned"))) << "a name is never run through a shell";
}

TEST_F(HostileNameTest, HostileTargetNamesThatCannotBeMadeFailCleanly) {
    const Bytes rgb = testing::gradient(2, 2, 3);
    ASSERT_TRUE(testing::writeFile(work("a.bmp"), testing::bmpFile(2, 2, rgb)));
    // 256 bytes is one beyond what a folder entry can hold.
    const std::string tooLong = work(std::string(252, 'x') + ".png");
    EXPECT_EQ(testing::commandToPng(work("a.bmp"), tooLong), kConvertWriteFailed);
    // A target that names a folder (ends in a separator) or is empty.
    EXPECT_EQ(testing::commandToPng(work("a.bmp"), work("") + "\\"), kConvertWriteFailed);
    EXPECT_EQ(testing::commandToPng(work("a.bmp"), ""), kConvertWriteFailed);
    EXPECT_EQ(entries(workFolder()), std::vector<std::string>{"a.bmp"});
}

} // namespace
} // namespace kelvarn::testing
