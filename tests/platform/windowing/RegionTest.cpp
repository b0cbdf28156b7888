// Region algebra: every combination gives exactly the set of pixels that set algebra gives.

#include "platform/windowing/Region.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

// Three overlapping bars: A a square, B a column through it, C a row reaching past A's edge.
const Rect kA{0, 0, 30, 30}, kB{10, 0, 20, 30}, kC{0, 10, 40, 20};

bool in(Rect r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

Region a() {
    return Region::rect(kA);
}
Region b() {
    return Region::rect(kB);
}
Region c() {
    return Region::rect(kC);
}

struct AlgebraCase {
    std::string name;
    std::function<Region()> build;
    std::function<bool(Point)> expected;
};

TEST(RegionTest, CombinationsFollowSetAlgebra) {
    const AlgebraCase cases[] = {
        {"A-(B-C)", [] { return a().subtract(b().subtract(c())); },
         [](Point p) { return in(kA, p) && !(in(kB, p) && !in(kC, p)); }},
        {"A+(B-C)", [] { return a().unite(b().subtract(c())); },
         [](Point p) { return in(kA, p) || (in(kB, p) && !in(kC, p)); }},
        {"(A-B)+C", [] { return a().subtract(b()).unite(c()); },
         [](Point p) { return (in(kA, p) && !in(kB, p)) || in(kC, p); }},
        {"A-(B+C)", [] { return a().subtract(b().unite(c())); },
         [](Point p) { return in(kA, p) && !in(kB, p) && !in(kC, p); }},
        {"(A-C)*B", [] { return a().subtract(c()).intersect(b()); },
         [](Point p) { return in(kA, p) && !in(kC, p) && in(kB, p); }},
        {"A-A", [] { return a().subtract(a()); }, [](Point) { return false; }},
    };
    for (const AlgebraCase& test : cases) {
        SCOPED_TRACE(test.name);
        const Region region = test.build();
        int wrong = 0;
        for (int y = -2; y < 34; ++y)
            for (int x = -2; x < 44; ++x)
                wrong += region.contains({x, y}) != test.expected({x, y});
        EXPECT_EQ(wrong, 0);
    }
}

TEST(RegionTest, TheCoverIsTheSetWhicheverWayItWasBuilt) {
    // A ring and its complement within the ellipse give the ellipse back.
    const Rect all{0, 0, 300, 200}, inner{75, 50, 225, 150};
    Region ring = Region::ellipse(all);
    ring.subtract(Region::ellipse(inner));
    EXPECT_FALSE(ring.contains({150, 100}));
    EXPECT_TRUE(ring.contains({150, 10}));
    EXPECT_EQ(ring.boundingRect(), Region::ellipse(all).boundingRect());
    EXPECT_EQ(Region(ring).unite(Region::ellipse(inner)), Region::ellipse(all));
    EXPECT_TRUE(Region(ring).intersect(Region::ellipse(inner)).isEmpty());
    EXPECT_TRUE(Region::rect({5, 5, 5, 9}).isEmpty());
}

} // namespace
} // namespace kelvarn::testing
