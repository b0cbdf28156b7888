#include "imaging/PngCodec.h"
#include "tests/imaging/TestPictures.h"
#include "tests/support/PngFiles.h"
#include "tests/support/ScratchFolderTest.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvarn::testing {
using namespace kelvarn::imaging;
namespace {

class PngPaletteGammaTest : public testing::ScratchFolderTest {};

// The reader copies the palette before it sets up gamma, and libpng corrects only the rows it
// delivers: a palette file's colours come out as stored whatever its gAMA says, while the same
// colours stored as RGB rows are corrected.
TEST_F(PngPaletteGammaTest, PaletteColoursIgnoreGammaWhileRgbRowsAreCorrected) {
    testing::PngFileLayout palette;
    palette.width = 64;
    palette.height = 1;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.gamma = 1.0;
    testing::PngFileLayout rgb = palette;
    rgb.colourType = PNG_COLOR_TYPE_RGB;
    for (int i = 0; i < 64; ++i) {
        const auto level = static_cast<uint8_t>(i * 4);
        palette.palette.push_back({level, level, level});
        palette.rows.push_back(static_cast<uint8_t>(i));
        rgb.rows.insert(rgb.rows.end(), 3, level);
    }
    ASSERT_TRUE(testing::writePngFile(work("palette.png"), palette));
    ASSERT_TRUE(testing::writePngFile(work("rgb.png"), rgb));

    ImageRecord fromPalette;
    PngCodec paletteReader;
    ASSERT_EQ(paletteReader.open(work("palette.png").c_str(), fromPalette), 1);
    ASSERT_EQ(paletteReader.decode(), 1);
    EXPECT_DOUBLE_EQ(paletteReader.fileGamma(), 1.0);
    ImageRecord fromRgb;
    PngCodec rgbReader;
    ASSERT_EQ(rgbReader.open(work("rgb.png").c_str(), fromRgb), 1);
    ASSERT_EQ(rgbReader.decode(), 1);

    ASSERT_EQ(fromPalette.paletteCount(), 64);
    for (int i = 0; i < 64; ++i) {
        const uint8_t* entry = fromPalette.paletteEntries() + i * 8;
        EXPECT_EQ(entry[0], i * 4) << i;
        EXPECT_EQ(entry[2], i * 4) << i;
        const double corrected = 255.0 * std::pow(i * 4 / 255.0, 1.0 / 2.2);
        EXPECT_NEAR(fromRgb.pixels()[i * 3], corrected, 1.0) << i;
    }
}

} // namespace
} // namespace kelvarn::testing
