// Region algebra over Qt's regions, which keep a set of pixels as banded rectangles; the runtime
// sees only the rectangles.

#include "platform/windowing/Region.h"

#include "platform/windowing/detail/RegionConversion.h"

#include <QPainterPath>
#include <QPolygon>
#include <QRegion>

#include <algorithm>

namespace kelvarn::platform {

struct RegionAccess {
    static Region fromQ(const QRegion& region) {
        std::vector<Rect> rects;
        rects.reserve(std::size_t(region.rectCount()));
        for (const QRect& r : region)
            rects.push_back({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
        return Region(std::move(rects));
    }
};

namespace detail {

QRegion toQRegion(const Region& region) {
    std::vector<QRect> rects;
    rects.reserve(region.rects().size());
    for (const Rect& r : region.rects())
        rects.emplace_back(r.left, r.top, r.width(), r.height());
    QRegion out;
    // The rectangles came from a QRegion, so they are already in its banded order.
    out.setRects(rects.data(), int(rects.size()));
    return out;
}

} // namespace detail

namespace {

QRect qRect(Rect r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

Region Region::rect(Rect r) {
    return RegionAccess::fromQ(QRegion(qRect(r)));
}

Region Region::ellipse(Rect r) {
    return RegionAccess::fromQ(QRegion(qRect(r), QRegion::Ellipse));
}

Region Region::roundRect(Rect r, int cornerWidth, int cornerHeight) {
    QPainterPath path;
    path.addRoundedRect(qRect(r), cornerWidth / 2.0, cornerHeight / 2.0);
    return RegionAccess::fromQ(QRegion(path.toFillPolygon().toPolygon()));
}

Region Region::polygon(const std::vector<Point>& points) {
    QPolygon outline;
    for (const Point& p : points)
        outline << QPoint(p.x, p.y);
    return RegionAccess::fromQ(QRegion(outline));
}

Region& Region::unite(const Region& other) {
    *this = RegionAccess::fromQ(detail::toQRegion(*this).united(detail::toQRegion(other)));
    return *this;
}

Region& Region::subtract(const Region& other) {
    *this = RegionAccess::fromQ(detail::toQRegion(*this).subtracted(detail::toQRegion(other)));
    return *this;
}

Region& Region::intersect(const Region& other) {
    *this = RegionAccess::fromQ(detail::toQRegion(*this).intersected(detail::toQRegion(other)));
    return *this;
}

bool Region::contains(Point point) const {
    return std::any_of(m_rects.begin(), m_rects.end(), [point](const Rect& r) {
        return point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom;
    });
}

Rect Region::boundingRect() const {
    if (m_rects.empty())
        return {};
    Rect out = m_rects.front();
    for (const Rect& r : m_rects) {
        out.left = std::min(out.left, r.left);
        out.top = std::min(out.top, r.top);
        out.right = std::max(out.right, r.right);
        out.bottom = std::max(out.bottom, r.bottom);
    }
    return out;
}

} // namespace kelvarn::platform
