// Runs the built kelvarn-convert in a shell on real files.

#include "tests/support/PictureFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace kelvarn::testing {
namespace {

using testing::Bytes;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class ConvertCliTest : public kelvarn::testing::ScratchFolderTest {
protected:
    // Runs kelvarn-convert with `args` (already quoted for the shell) and TMPDIR pointing at
    // the fixture's temporary folder.
    Outcome run(const std::string& args) {
        const std::string out = work("stdout.txt"), err = work("stderr.txt");
        const std::string command = "TMPDIR='" + tmpFolder() + "' '" KELVARN_CONVERT_BINARY "' " +
                                    args + " >'" + out + "' 2>'" + err + "'";
        Outcome r;
        const int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        const Bytes o = testing::readFile(out), e = testing::readFile(err);
        r.out.assign(o.begin(), o.end());
        r.err.assign(e.begin(), e.end());
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return r;
    }
    std::string quoted(const std::string& name) { return "'" + work(name) + "'"; }
};

TEST_F(ConvertCliTest, ConvertsRealFilesAndLeavesNothingElseBehind) {
    ASSERT_TRUE(testing::writeJpeg(work("照片 1.jpg"), 20, 10, 3, testing::gradient(20, 10, 3)));
    Outcome r = run("bmp " + quoted("照片 1.jpg") + " " + quoted("照片 1.bmp"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\n");
    r = run("png " + quoted("照片 1.bmp") + " " + quoted("out.png"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\n");
    r = run("png " + quoted("out.png") + " " + quoted("again.png") + " 24");
    EXPECT_EQ(r.out, "1\n");
    const Bytes png = testing::readFile(work("again.png"));
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(entries(workFolder()),
              (std::vector<std::string>{"again.png", "out.png", "照片 1.bmp", "照片 1.jpg"}));
}

TEST_F(ConvertCliTest, FailureCodesAndExitStatus) {
    ASSERT_TRUE(testing::writeFile(work("a.bmp"), testing::bmpFile(2, 2, Bytes(12, 50))));
    Outcome r = run("png " + quoted("a.bmp") + " " + quoted("b.png") + " 32");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "-7\n");
    EXPECT_FALSE(std::filesystem::exists(work("b.png")));

    r = run("bmp " + quoted("a.bmp") + " " + quoted("missing/b.bmp"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "-4\n");
    r = run("bmp " + quoted("none.bmp") + " " + quoted("b.bmp"));
    EXPECT_EQ(r.out, "255\n");
    ASSERT_TRUE(testing::writeFile(work("junk.bmp"), Bytes(300, 1)));
    r = run("png " + quoted("junk.bmp") + " " + quoted("b.png"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "253\n");
    EXPECT_EQ(entries(workFolder()), (std::vector<std::string>{"a.bmp", "junk.bmp"}));
}

// With -v a refused source is explained on standard error: the reason of the decoder that
// recognised the content, else that none did; the result code and exit status stay the same.
TEST_F(ConvertCliTest, VerboseSaysWhyTheSourceWasRefused) {
    const auto text = [](const char* s) { return Bytes(s, s + std::strlen(s)); };
    Bytes jpeg;
    ASSERT_TRUE(testing::writeJpeg(work("whole.jpg"), 32, 32, 3, testing::gradient(32, 32, 3)));
    jpeg = testing::readFile(work("whole.jpg"));
    jpeg.resize(jpeg.size() / 2);
    Bytes pcx = testing::pcx24(3, 2, testing::gradient(3, 2, 3));
    pcx[8] = pcx[4]; // equal horizontal bounds
    pcx[9] = pcx[5];
    const struct {
        const char* name;
        Bytes bytes;
        const char* reason; // the start of the line on standard error
    } cases[] = {
        {"short.bmp", text("BM"), "BMP: "},
        {"grey.bmp", testing::bmp8(4, 4), "BMP: 8 bits per pixel"},
        {"cut.jpg", jpeg, "JPEG: "},
        {"bare.tif", {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0}, "TIFF: "},
        {"cut.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}, "PNG: "},
        {"flat.pcx", pcx, "PCX: equal horizontal bounds"},
        {"words.txt", text("not a picture\n"), "no decoder recognises the content\n"},
        // Large enough for Photo CD but without its signature: recognised by nobody.
        {"large.bin", testing::photoCd(false, 1, 2, 3), "no decoder recognises the content\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testing::writeFile(work(c.name), c.bytes));
        const Outcome r = run("-v png " + quoted(c.name) + " " + quoted("out.png"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "253\n");
        EXPECT_EQ(r.err.rfind(c.reason, 0), 0u) << r.err;
        EXPECT_EQ(r.err.back(), '\n');
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(run("bmp " + quoted("grey.bmp") + " " + quoted("out.bmp")).err, "");
    EXPECT_EQ(run("-v bmp " + quoted("none.bmp") + " " + quoted("out.bmp")).err,
              "the file does not exist\n");
    ASSERT_TRUE(testing::writeFile(work("good.bmp"), testing::bmpFile(1, 1, {1, 2, 3})));
    const Outcome converted = run("-v png " + quoted("good.bmp") + " " + quoted("out.png") + " 24");
    EXPECT_EQ(converted.out, "1\n");
    EXPECT_EQ(converted.err, "");
}

TEST_F(ConvertCliTest, UsageErrorsExitTwoWithUsageText) {
    for (const std::string args :
         {"", "bmp a", "gif a b", "bmp a b 24", "png a b 24 9", "png a b twenty", "png a b 24x",
          "png a b 99999999999", "-v", "-v bmp a", "-v -v bmp a b", "bmp -v a b"}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("usage: kelvarn-convert [-v] bmp"), std::string::npos) << args;
    }
}

// The command-line converter stays free of the windowing system, and reads JPEG and TIFF sources.
TEST_F(ConvertCliTest, LinksNoWindowingSystemAndReadsEveryCodec) {
    const std::string listing = work("ldd.txt");
    const std::string command = "ldd '" KELVARN_CONVERT_BINARY "' >'" + listing + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bytes bytes = testing::readFile(listing);
    const std::string libraries(bytes.begin(), bytes.end());
    std::filesystem::remove(listing);
    EXPECT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    EXPECT_NE(libraries.find("libpng"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;

    const Bytes rgb = testing::gradient(9, 7, 3);
    ASSERT_TRUE(testing::writeJpeg(work("a.jpg"), 9, 7, 3, rgb));
    testing::TiffPage page;
    page.width = 9;
    page.height = 7;
    page.samples = rgb;
    ASSERT_TRUE(testing::writeTiff(work("b.tif"), {page}));
    EXPECT_EQ(run("png " + quoted("a.jpg") + " " + quoted("a.png")).out, "1\n");
    EXPECT_EQ(run("bmp " + quoted("b.tif") + " " + quoted("b.bmp")).out, "1\n");
    // A file that is no TIFF after all goes through libtiff's refusal as a value.
    ASSERT_TRUE(testing::writeFile(work("c.tif"), {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0}));
    EXPECT_EQ(run("bmp " + quoted("c.tif") + " " + quoted("c.bmp")).status, 1);
}

} // namespace
} // namespace kelvarn::testing
