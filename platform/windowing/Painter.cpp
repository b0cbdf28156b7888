// Drawing into a runtime-painted window during its kWmPaint.

#include "platform/windowing/Painter.h"

#include "platform/windowing/detail/PictureImage.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <qdrawutil.h>

namespace kelvarn::platform {

struct Painter::State {
    detail::PaintScope* scope = nullptr;
    QFont font;
    QColor text = Qt::black;
    QColor background = Qt::white;
    bool transparent = false; // Windows starts opaque
};

namespace {

QRect toQRect(Rect r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

QColor colourOf(Colour c, QPalette::ColorRole role) {
    return detail::toQColor(c, QApplication::palette().color(role));
}

} // namespace

Painter::Painter(WindowHandle window) : m_state(std::make_unique<State>()) {
    m_state->scope = detail::currentPaint(window);
    detail::WindowObject* w = detail::findWindow(window);
    m_state->font = w ? detail::qfontFor(w->m_font) : detail::defaultQFont();
}

Painter::~Painter() = default;

bool Painter::isValid() const {
    return m_state->scope && m_state->scope->painter;
}

Rect Painter::clientRect() const {
    if (!isValid())
        return {};
    const QSize s = m_state->scope->client.size();
    return {0, 0, s.width(), s.height()};
}

void Painter::fillRect(Rect rect, Colour colour) {
    if (isValid())
        m_state->scope->painter->fillRect(toQRect(rect), colourOf(colour, QPalette::Button));
}

void Painter::frameRect(Rect rect, Colour colour, int width) {
    if (!isValid() || width <= 0)
        return;
    QPainter& p = *m_state->scope->painter;
    const QColor c = colourOf(colour, QPalette::WindowText);
    const QRect r = toQRect(rect);
    p.fillRect(QRect(r.left(), r.top(), r.width(), width), c);
    p.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), c);
    p.fillRect(QRect(r.left(), r.top(), width, r.height()), c);
    p.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), c);
}

void Painter::drawEdge(Rect rect, EdgeKind kind) {
    if (!isValid())
        return;
    QPainter& p = *m_state->scope->painter;
    const QPalette palette = QApplication::palette();
    const QRect r = toQRect(rect);
    switch (kind) {
    case EdgeKind::Sunken:
        qDrawWinPanel(&p, r, palette, true);
        break;
    case EdgeKind::Raised:
        qDrawWinPanel(&p, r, palette, false);
        break;
    case EdgeKind::Etched:
        qDrawShadeRect(&p, r, palette, true, 1);
        break;
    case EdgeKind::SunkenThin:
        qDrawShadePanel(&p, r, palette, true, 1);
        break;
    case EdgeKind::Flat:
        qDrawPlainRect(&p, r, palette.color(QPalette::WindowText), 1);
        break;
    }
}

void Painter::gradientFill(Rect rect, std::span<const Colour> stops, bool vertical) {
    if (!isValid() || stops.size() < 2)
        return;
    const QRect r = toQRect(rect);
    QLinearGradient gradient(r.topLeft(), vertical ? r.bottomLeft() : r.topRight());
    for (std::size_t i = 0; i < stops.size(); ++i)
        gradient.setColorAt(double(i) / double(stops.size() - 1),
                            colourOf(stops[i], QPalette::Button));
    m_state->scope->painter->fillRect(r, gradient);
}

void Painter::drawPixels(Rect target, const std::uint8_t* pixels, int width, int height,
                         int stride) {
    if (!isValid() || !pixels || width <= 0 || height <= 0 || stride < width * 4)
        return;
    const QImage image(pixels, width, height, stride, QImage::Format_RGB32);
    m_state->scope->painter->drawImage(toQRect(target), image);
}

void Painter::drawPicture(const Picture& picture, Rect area, PictureMode mode) {
    if (!isValid() || area.width() <= 0 || area.height() <= 0)
        return;
    QPainter& painter = *m_state->scope->painter;
    const QImage& image = picture.image().pixels;
    const QRect target = toQRect(area);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    switch (mode) {
    case PictureMode::TopLeft:
        painter.drawImage(target.topLeft(), image);
        break;
    case PictureMode::Tile:
        painter.drawTiledPixmap(target, QPixmap::fromImage(image));
        break;
    case PictureMode::Centre:
        painter.drawImage(target.x() + (target.width() - image.width()) / 2,
                          target.y() + (target.height() - image.height()) / 2, image);
        break;
    case PictureMode::Stretch:
        painter.drawImage(target, image);
        break;
    }
    painter.restore();
}

void Painter::setFont(FontHandle font) {
    if (font) {
        m_state->font = detail::qfontFor(font);
    } else if (m_state->scope) {
        detail::WindowObject* w = detail::findWindow(m_state->scope->window);
        m_state->font = w ? detail::qfontFor(w->m_font) : detail::defaultQFont();
    }
}

void Painter::setTextColour(Colour colour) {
    m_state->text = colourOf(colour, QPalette::WindowText);
}

void Painter::setBackgroundColour(Colour colour) {
    m_state->background = colourOf(colour, QPalette::Button);
}

void Painter::setTransparentBackground(bool transparent) {
    m_state->transparent = transparent;
}

int Painter::drawText(std::string_view text, Rect& rect, std::uint32_t format) {
    QString t = detail::fromRuntime(text);
    const bool singleLine = format & kDtSingleLine;
    if (singleLine) {
        t.remove(QLatin1Char('\r'));
        t.remove(QLatin1Char('\n'));
    } else {
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    int flags = (format & kDtCenter)  ? Qt::AlignHCenter
                : (format & kDtRight) ? Qt::AlignRight
                                      : Qt::AlignLeft;
    // Vertical placement applies to a single line only, as with DrawText.
    if (singleLine && (format & kDtVCenter))
        flags |= Qt::AlignVCenter;
    else if (singleLine && (format & kDtBottom))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if ((format & kDtWordBreak) && !singleLine)
        flags |= Qt::TextWordWrap;
    flags |= (format & kDtNoPrefix) ? 0 : Qt::TextShowMnemonic;
    if (format & kDtNoClip)
        flags |= Qt::TextDontClip;
    const QRect r = toQRect(rect);
    const QFontMetrics fm(m_state->font);
    if (format & kDtCalcRect) {
        const QRect area =
            (flags & Qt::TextWordWrap) ? r : QRect(r.left(), r.top(), 1 << 20, 1 << 20);
        const int measure =
            (flags & ~int(Qt::AlignVCenter | Qt::AlignBottom | Qt::AlignHCenter | Qt::AlignRight)) |
            Qt::AlignTop | Qt::AlignLeft;
        const QRect needed = fm.boundingRect(area, measure, t);
        rect.right = rect.left + needed.width();
        rect.bottom = rect.top + needed.height();
        return needed.height();
    }
    if (!isValid())
        return 0;
    QPainter& p = *m_state->scope->painter;
    if (!m_state->transparent)
        p.fillRect(fm.boundingRect(r, flags, t).intersected(r), m_state->background);
    p.setFont(m_state->font);
    p.setPen(m_state->text);
    QRect drawn;
    p.drawText(r, flags, t, &drawn);
    return drawn.height();
}

TextMetrics Painter::textMetrics() const {
    const QFontMetrics fm(m_state->font);
    TextMetrics m;
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = fm.height();
    m.externalLeading = std::max(0, fm.leading());
    const int em = m_state->font.pixelSize() > 0 ? m_state->font.pixelSize() : fm.height();
    m.internalLeading = std::max(0, fm.height() - em);
    m.averageCharWidth = fm.averageCharWidth();
    m.maxCharWidth = fm.maxWidth();
    return m;
}

Size Painter::textExtent(std::string_view text) const {
    const QFontMetrics fm(m_state->font);
    return {fm.horizontalAdvance(detail::fromRuntime(text)), fm.height()};
}

} // namespace kelvarn::platform
