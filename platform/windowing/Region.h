#pragma once
// A window region: a set of pixels in window coordinates, made from ellipses, rounded rectangles
// and polygons and combined as sets. It is held as the rectangles that cover it, no two
// overlapping, in rows from top to bottom and left to right within a row.

#include "platform/windowing/Types.h"

#include <vector>

namespace kelvarn::platform {

class Region {
public:
    Region() = default;
    static Region rect(Rect rect);
    static Region ellipse(Rect rect);
    // cornerWidth and cornerHeight are the diameters of the corners' ellipses.
    static Region roundRect(Rect rect, int cornerWidth, int cornerHeight);
    // The outline is closed from its last point back to its first; filled by the odd-even rule.
    static Region polygon(const std::vector<Point>& points);

    Region& unite(const Region& other);
    Region& subtract(const Region& other);
    Region& intersect(const Region& other);

    bool isEmpty() const { return m_rects.empty(); }
    bool contains(Point point) const;
    // The smallest rectangle holding every pixel; empty for an empty region.
    Rect boundingRect() const;
    const std::vector<Rect>& rects() const { return m_rects; }
    // The same set of pixels (the cover is unique for a set).
    friend bool operator==(const Region&, const Region&) = default;

private:
    explicit Region(std::vector<Rect> rects) : m_rects(std::move(rects)) {}
    friend struct RegionAccess;

    std::vector<Rect> m_rects;
};

} // namespace kelvarn::platform
