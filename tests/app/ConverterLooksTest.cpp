// The converter window as its user sees it, end to end through the driven program: the list in
// name order, the notice whole inside its label, the keyboard focus frame, the native colours of
// the disabled edit box and the labels, and the folder dialog in Chinese. The tests read the
// window's own grabs; positions are the units' client rectangles of the form template.

#include "tests/app/DrivenProgramTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace kelvarn::testing {
namespace {

namespace fs = std::filesystem;
using kelvarn::testing::ProgramRun;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
    bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

struct Rect {
    int x, y, width, height;
};

// Client rectangles of the units the tests look at.
constexpr Rect kChooseButton{240, 49, 232, 32};
constexpr Rect kPngRadio{324, 16, 48, 24};
constexpr Rect kFolderEdit{240, 91, 232, 29};
// The notice label as far as its group box shows it: the box's lower edge is at y 319.
constexpr Rect kNoticeShown{256, 208, 192, 111};

class Grab {
public:
    explicit Grab(const fs::path& path) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str()))
            return;
        image.format = PNG_FORMAT_RGB;
        m_pixels.resize(PNG_IMAGE_SIZE(image));
        if (png_image_finish_read(&image, nullptr, m_pixels.data(), 0, nullptr)) {
            m_width = int(image.width);
            m_height = int(image.height);
        }
    }
    bool valid() const { return m_width > 0; }
    Rgb at(int x, int y) const {
        const uint8_t* p = &m_pixels[(size_t(y) * size_t(m_width) + size_t(x)) * 3];
        return {p[0], p[1], p[2]};
    }
    // The pixels of r that pass.
    template <class Test> std::vector<std::pair<int, int>> where(Rect r, Test test) const {
        std::vector<std::pair<int, int>> found;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                if (test(at(x, y)))
                    found.emplace_back(x, y);
        return found;
    }

private:
    int m_width = 0, m_height = 0;
    std::vector<uint8_t> m_pixels;
};

// The style draws its keyboard focus frame in the highlight colour, the only blue in a button.
bool focusBlue(Rgb c) {
    return c.b - c.r >= 40;
}

bool red(Rgb c) {
    return c.r > 150 && c.g < 110 && c.b < 110;
}

class ConverterLooksTest : public kelvarn::testing::DrivenProgramTest {
protected:
    ProgramRun run(const std::vector<std::string>& script) {
        ProgramRun result = runProgram(script, {}, 120);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_THAT(result.lines("unused answers"), IsEmpty());
        EXPECT_THAT(result.lines("script ended with the window open"), IsEmpty());
        return result;
    }
    std::string grabPath(const std::string& name) const { return (root() / name).string(); }
};

TEST_F(ConverterLooksTest, ListInNameOrderFocusFrameOnlyAfterKeysAndTheDialogInChinese) {
    const fs::path pics = folder("pics");
    for (const char* name : {"photo 10.png", "b.PNG", "Photo 2.png", "PHOTO 1.png", "A.png",
                             "11.png", "a1.png", "9.png"})
        std::ofstream(pics / name) << "x"; // listing reads names only
    std::vector<std::string> script = {"folder " + pics.string(), "click choose", "state", "focus",
                                       "grab " + grabPath("clicked.png")};
    // Round the keyboard order back to the button: radio boxes, list, the two convert buttons.
    for (int i = 0; i < 6; ++i)
        script.push_back("key tab");
    script.insert(script.end(), {"focus", "grab " + grabPath("tabbed.png"), "key tab", "focus",
                                 "grab " + grabPath("radio.png"), "close"});
    const ProgramRun r = run(script);

    EXPECT_THAT(r.lines("list "),
                ElementsAre("list 11.png|9.png|A.png|a1.png|b.PNG|PHOTO 1.png|photo 10.png|"
                            "Photo 2.png"));
    EXPECT_THAT(r.lines("focus "), ElementsAre("focus choose", "focus choose", "focus png"));
    const Grab clicked(grabPath("clicked.png"));
    const Grab tabbed(grabPath("tabbed.png"));
    const Grab radio(grabPath("radio.png"));
    ASSERT_TRUE(clicked.valid() && tabbed.valid() && radio.valid());
    EXPECT_THAT(clicked.where(kChooseButton, focusBlue), IsEmpty()) << "focused by a click";
    EXPECT_THAT(tabbed.where(kChooseButton, focusBlue), Not(IsEmpty())) << "focused by Tab";
    EXPECT_THAT(tabbed.where(kPngRadio, focusBlue), IsEmpty());
    EXPECT_THAT(radio.where(kPngRadio, focusBlue), Not(IsEmpty()));
    EXPECT_THAT(radio.where(kChooseButton, focusBlue), IsEmpty());

    // Qt's own dialog speaks the program's language.
    ASSERT_EQ(r.lines("dialog-labels ").size(), 1u);
    EXPECT_THAT(r.lines("dialog-labels ")[0], HasSubstr("目录"));
    EXPECT_THAT(r.lines("dialog-labels ")[0], Not(HasSubstr("Look in")));
    EXPECT_THAT(r.lines("dialog-buttons "), ElementsAre(HasSubstr("取消")));
}

TEST_F(ConverterLooksTest, NoticeFitsItsLabelAndDisabledBoxAndLabelsShowTheButtonFace) {
    const fs::path pics = folder("pics");
    run({"folder " + pics.string(), "click choose", "grab " + grabPath("window.png"), "close"});
    const Grab grab(grabPath("window.png"));
    ASSERT_TRUE(grab.valid());

    // The notice: three wrapped lines of the first paragraph, "谢谢支持！" and "——Ostrelle", each
    // a band of red rows; the last ends inside what the group box shows of the label.
    std::vector<int> redRows;
    for (const auto& [x, y] : grab.where(kNoticeShown, red))
        if (redRows.empty() || redRows.back() != y)
            redRows.push_back(y);
    int bands = 0;
    for (size_t i = 0; i < redRows.size(); ++i)
        bands += i == 0 || redRows[i] > redRows[i - 1] + 1;
    EXPECT_EQ(bands, 5);
    ASSERT_FALSE(redRows.empty());
    EXPECT_LT(redRows.back(), kNoticeShown.y + kNoticeShown.height - 2) << "last line cut";

    // The button face: between the list and the edit box, inside the group box beside the
    // notice, and the notice label's own background (its most frequent colour).
    const Rgb face = grab.at(236, 100);
    EXPECT_NE(face, (Rgb{255, 255, 255}));
    EXPECT_EQ(grab.at(244, 200), face) << "group box interior";
    std::map<Rgb, int> counts;
    for (const auto& [x, y] : grab.where(kNoticeShown, [](Rgb) { return true; }))
        ++counts[grab.at(x, y)];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_EQ(most->first, face) << "notice label background";

    // The disabled edit box: the button face behind grey (not black) text.
    EXPECT_EQ(grab.at(kFolderEdit.x + kFolderEdit.width - 6, kFolderEdit.y + 14), face);
    const Rect text{kFolderEdit.x + 3, kFolderEdit.y + 3, 120, kFolderEdit.height - 6};
    int darkest = 255;
    for (const auto& [x, y] : grab.where(text, [](Rgb) { return true; }))
        darkest = std::min(darkest, grab.at(x, y).g);
    EXPECT_GT(darkest, 60) << "grey text";
    EXPECT_LT(darkest, 160) << "the folder is shown";
}

} // namespace
} // namespace kelvarn::testing
