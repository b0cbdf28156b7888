#include "imaging/LoaderChain.h"
#include "tests/support/PictureFiles.h"
#include "tests/support/PngFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

using testing::Bytes;

class LoaderChainTest : public kelvarn::testing::ScratchFolderTest {};

TEST_F(LoaderChainTest, RecognisesByContentNotByName) {
    ASSERT_TRUE(testing::writeJpeg(work("photo.bmp"), 9, 4, 3, testing::gradient(9, 4, 3)));
    ImageRecord image;
    ASSERT_EQ(LoadImageFile(work("photo.bmp").c_str(), image), kLoadOk);
    EXPECT_EQ(image.width(), 9);
    EXPECT_EQ(image.bitsPerPixel(), 24);

    const Bytes rgb = testing::gradient(3, 2, 3);
    ASSERT_TRUE(testing::writeFile(work("real.jpg"), testing::bmpFile(3, 2, rgb)));
    ASSERT_EQ(LoadImageFile(work("real.jpg").c_str(), image), kLoadOk);
    EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), rgb);

    ASSERT_TRUE(testing::writeTiff(work("t.png"), {{3, 2, testing::TiffKind::Rgb, 1, rgb, {}, 0}}));
    ASSERT_EQ(LoadImageFile(work("t.png").c_str(), image), kLoadOk);
    EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), rgb);

    ASSERT_TRUE(testing::writeFile(work("p.tif"), testing::pcx24(3, 2, rgb)));
    ASSERT_EQ(LoadImageFile(work("p.tif").c_str(), image), kLoadOk);
    EXPECT_EQ(Bytes(image.pixels(), image.pixels() + image.bufferSize()), rgb);
}

// A decoder is offered only the files its probe recognises, so a probe stricter than its decoder
// would lose files silently: every decoder that loads a sample must recognise it. Every refusal
// names its decoder and says why.
TEST_F(LoaderChainTest, DecodersRecogniseWhatTheyAcceptAndExplainWhatTheyRefuse) {
    std::vector<std::string> order;
    for (const ChainDecoder& decoder : loaderChain())
        order.emplace_back(decoder.name);
    EXPECT_EQ(order, (std::vector<std::string>{"JPEG", "BMP", "TIFF", "PNG", "PCX", "Photo CD"}));

    const Bytes rgb = testing::gradient(3, 2, 3);
    ASSERT_TRUE(testing::writeJpeg(work("jpeg"), 3, 2, 3, rgb));
    ASSERT_TRUE(testing::writeTiff(work("tiff"), {{3, 2, testing::TiffKind::Rgb, 1, rgb, {}, 0}}));
    const struct {
        std::string name;
        Bytes bytes;
    } samples[] = {
        {"JPEG", testing::readFile(work("jpeg"))},
        {"BMP", testing::bmpFile(3, 2, rgb)},
        {"BMP", testing::bmpFile(3, 2, rgb, {testing::BmpForm::Core, 'A'})},
        {"TIFF", testing::readFile(work("tiff"))},
        {"PNG", testing::pngRgb(3, 2, rgb)},
        {"PCX", testing::pcx24(3, 2, rgb)},
        {"PCX", testing::pcx8(3, 2, Bytes(6, 1), Bytes(768, 9))},
        {"Photo CD", testing::photoCd(true, 10, 20, 30)},
    };
    for (const auto& sample : samples) {
        ASSERT_TRUE(testing::writeFile(work("sample"), sample.bytes));
        ContentHead head;
        ASSERT_TRUE(readContentHead(work("sample").c_str(), head));
        for (const ChainDecoder& decoder : loaderChain()) {
            SCOPED_TRACE(sample.name + " offered to " + decoder.name);
            ImageRecord image;
            Refusal why;
            const bool own = sample.name == decoder.name;
            const int loaded = decoder.load(work("sample").c_str(), image, why);
            EXPECT_EQ(loaded, own ? kLoadOk : 0);
            if (loaded == kLoadOk || own) {
                EXPECT_TRUE(decoder.recognises(head));
            } else {
                EXPECT_EQ(std::string(why.text()).rfind(decoder.name + std::string(": "), 0), 0u)
                    << why.text();
            }
        }
        Refusal why;
        ImageRecord image;
        why.set("stale");
        EXPECT_EQ(LoadImageFile(work("sample").c_str(), image, why), kLoadOk);
        EXPECT_TRUE(why.empty());
    }
}

TEST_F(LoaderChainTest, MissingFileGives255WithoutAskingAnyDecoder) {
    ImageRecord image;
    ASSERT_EQ(image.create(2, 2, 24, 0), 1);
    uint8_t* before = image.pixels();
    EXPECT_EQ(LoadImageFile(work("nothing.jpg").c_str(), image), kLoadNotFound);
    EXPECT_EQ(LoadImageFile(work("none*.jpg").c_str(), image), kLoadNotFound);
    EXPECT_EQ(LoadImageFile(nullptr, image), kLoadNotFound);
    // A decoder's create would have released the picture first.
    EXPECT_EQ(image.pixels(), before);
    EXPECT_EQ(image.width(), 2);
}

TEST_F(LoaderChainTest, ExistingButUnreadablePathsGive253) {
    ImageRecord image;
    ASSERT_TRUE(testing::writeFile(work("empty.png"), {}));
    EXPECT_EQ(LoadImageFile(work("empty.png").c_str(), image), kLoadUnrecognised);
    std::filesystem::create_directory(work("folder"));
    EXPECT_EQ(LoadImageFile(work("folder").c_str(), image), kLoadUnrecognised);
    // The wildcard matches empty.png, so the path counts as existing; no decoder can open the
    // literal name.
    EXPECT_EQ(LoadImageFile(work("emp*.png").c_str(), image), kLoadUnrecognised);
    EXPECT_EQ(LoadImageFile(work("EMPTY.PNG").c_str(), image), kLoadUnrecognised);
}

TEST_F(LoaderChainTest, LargeFilesOnlyBecomePhotoCdPicturesWithTheSignature) {
    Bytes bmp = testing::bmp8(1500, 1400, 2 * 1024 * 1024);
    ASSERT_GE(bmp.size(), 0x100000u);
    ASSERT_TRUE(testing::writeFile(work("grey.bmp"), bmp));
    ImageRecord image;
    EXPECT_EQ(LoadImageFile(work("grey.bmp").c_str(), image), kLoadUnrecognised);
    image.release();

    // The same bytes with "PCD_IPI" at 0x800 reach the last decoder and are read from 0x30000.
    std::memcpy(bmp.data() + 0x800, "PCD_IPI", 7);
    ASSERT_TRUE(testing::writeFile(work("grey.bmp"), bmp));
    ASSERT_EQ(LoadImageFile(work("grey.bmp").c_str(), image), kLoadOk);
    EXPECT_EQ(image.width(), 768);
    EXPECT_EQ(image.height(), 512);
}

TEST_F(LoaderChainTest, FailedDecodeHandsTheTargetOnAndLeavesNoPixelFile) {
    // Accepted by the JPEG decoder at open, then cut short: it fails after creating the
    // picture, and every later decoder refuses.
    ASSERT_TRUE(testing::writeJpeg(work("cut.jpg"), 64, 64, 3, testing::gradient(64, 64, 3)));
    Bytes bytes = testing::readFile(work("cut.jpg"));
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(testing::writeFile(work("cut.jpg"), bytes));
    ImageRecord image;
    EXPECT_EQ(LoadImageFile(work("cut.jpg").c_str(), image), kLoadUnrecognised);
    image.release(); // the fixture then finds the temporary folder empty
}

} // namespace
} // namespace kelvarn::testing
