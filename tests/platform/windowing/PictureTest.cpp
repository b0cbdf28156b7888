#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/windowing/Painter.h"
#include "platform/windowing/Picture.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/testing/PictureFiles.h"

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

using platform::testing::pictureFile;

constexpr std::uint32_t kRed = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFFFF0000;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr Colour kWhite = 0xFFFFFF;

// 2 x 2: red, green / blue, black.
std::vector<std::uint8_t> quad(std::string_view format) {
    return pictureFile(format, 2, 2, {kRed, kGreen, kBlue, kBlack});
}

Colour rgb(std::uint32_t abgr) {
    return abgr & 0xFFFFFF;
}

// What the picture window paints: white, then the picture in this mode.
std::shared_ptr<const Picture> g_picture;
int g_mode = 0;

LResult pictureProc(WindowHandle h, std::uint32_t m, WParam w, LParam l) {
    if (m != kWmPaint)
        return defaultWindowProc(h, m, w, l);
    Painter painter(h);
    const Rect client = painter.clientRect();
    painter.fillRect(client, g_mode < 0 ? kSystemDefaultColour : kWhite);
    if (g_picture && g_mode >= 0)
        painter.drawPicture(*g_picture, client, PictureMode(g_mode));
    return 0;
}

class PictureTest : public WindowingTest {
protected:
    void SetUp() override {
        WindowingTest::SetUp();
        if (!isClassRegistered("KvPictureWindow")) {
            WindowClass c;
            c.name = "KvPictureWindow";
            c.proc = pictureProc;
            ASSERT_TRUE(registerClass(c));
        }
    }
    void TearDown() override {
        g_picture.reset();
        WindowingTest::TearDown();
    }
};

TEST_F(PictureTest, DecodesEveryStoredFormatAndRefusesOthers) {
    for (const char* format : {"BMP", "PNG", "JPG", "GIF", "ICO"}) {
        SCOPED_TRACE(format);
        const auto bytes = quad(format);
        ASSERT_FALSE(bytes.empty());
        const auto picture = Picture::decode(bytes);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->size().width, 2);
        EXPECT_EQ(picture->size().height, 2);
        EXPECT_EQ(picture->isIcon(), std::string_view(format) == "ICO");
    }
    const std::vector<std::uint8_t> noise = {0, 0, 1, 0, 9, 9, 9, 'x', 'y'};
    EXPECT_EQ(Picture::decode({}), nullptr);
    EXPECT_EQ(Picture::decode(noise), nullptr);
    const auto png = quad("PNG");
    EXPECT_EQ(Picture::decode(std::span(png).first(png.size() / 2)), nullptr);
}

TEST_F(PictureTest, ModesPlaceTheRedCornerWhereTheirNamesSay) {
    const WindowHandle w = topLevel(200, 150);
    const WindowHandle pane = child(w, "KvPictureWindow", 0, 10, 10, 20, 20);
    g_picture = Picture::decode(quad("GIF"));
    ASSERT_NE(g_picture, nullptr);
    struct Probe {
        Point at;
        Colour colour;
    };
    const struct {
        PictureMode mode;
        std::vector<Probe> probes;
    } cases[] = {
        {PictureMode::TopLeft, {{{0, 0}, rgb(kRed)}, {{1, 1}, rgb(kBlack)}, {{2, 2}, kWhite}}},
        {PictureMode::Tile,
         {{{0, 0}, rgb(kRed)},
          {{2, 2}, rgb(kRed)},
          {{19, 18}, rgb(kGreen)},
          {{18, 19}, rgb(kBlue)}}},
        {PictureMode::Centre,
         {{{9, 9}, rgb(kRed)}, {{10, 10}, rgb(kBlack)}, {{0, 0}, kWhite}, {{12, 12}, kWhite}}},
        {PictureMode::Stretch,
         {{{0, 0}, rgb(kRed)},
          {{9, 9}, rgb(kRed)},
          {{15, 4}, rgb(kGreen)},
          {{19, 19}, rgb(kBlack)}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        g_mode = int(c.mode);
        for (const Probe& probe : c.probes)
            EXPECT_EQ(windowPixel(pane, probe.at), probe.colour) << probe.at.x << "," << probe.at.y;
    }
}

TEST_F(PictureTest, ButtonsShowThePictureOnTheButtonFaceInsteadOfTheCaption) {
    const WindowHandle w = topLevel(200, 150);
    g_mode = -1;
    const WindowHandle face = child(w, "KvPictureWindow", 0, 150, 0, 10, 10);
    const Colour buttonFace = *windowPixel(face, {5, 5});
    // 8 x 8, the left half opaque red, the right half transparent.
    std::vector<std::uint32_t> halves(64);
    for (std::size_t i = 0; i < halves.size(); ++i)
        halves[i] = i % 8 < 4 ? kRed : 0x00FFFFFF;
    const WindowHandle button = child(w, "BUTTON", kBsPushButton, 10, 10, 60, 40, "Go", 1);
    const WindowHandle radio = child(w, "BUTTON", kBsAutoRadioButton, 10, 60, 80, 30, "Pick", 2);
    const struct {
        const char* format;
        std::uint32_t style;
    } cases[] = {{"PNG", kBsBitmap}, {"ICO", kBsIcon}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const auto picture = Picture::decode(pictureFile(c.format, 8, 8, halves));
        ASSERT_NE(picture, nullptr);
        ASSERT_TRUE(setButtonPicture(button, picture));
        EXPECT_EQ(windowStyle(button) & (kBsIcon | kBsBitmap), c.style);
        EXPECT_EQ(windowText(button), "Go");
        // Centred: the picture covers 26..33 x 16..23.
        EXPECT_EQ(windowPixel(button, {27, 20}), rgb(kRed));
        EXPECT_EQ(windowPixel(button, {32, 20}), buttonFace);

        ASSERT_TRUE(setButtonPicture(radio, picture));
        int red = 0;
        for (int x = 0; x < 80; ++x)
            red += windowPixel(radio, {x, 15}) == rgb(kRed);
        EXPECT_EQ(red, 4);
    }
    ASSERT_TRUE(setButtonPicture(button, nullptr));
    EXPECT_EQ(windowStyle(button) & (kBsIcon | kBsBitmap), 0u);
    EXPECT_NE(windowPixel(button, {27, 20}), rgb(kRed));
    EXPECT_FALSE(setButtonPicture(w, Picture::decode(quad("PNG"))));
}

} // namespace
} // namespace kelvarn::testing
