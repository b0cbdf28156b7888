// The Label type (tag 0x0001000A): a window of the class "_ZU_Label" that the runtime paints:
// frame, background, then the caption with its alignment, wrapping and effect.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Painter.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "ui/template/LabelProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/PictureCache.h"
#include "ui/window/UnitType.h"

#include <array>

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr const char kLabelClass[] = "_ZU_Label";
constexpr int32_t kGradientBorderStyle = 6;
constexpr int32_t kMinimumGradientWidth = 5;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

// The colours of a gradient that are not the system default; a gradient needs two or more.
std::vector<Colour> gradientStops(std::initializer_list<uint32_t> colours) {
    std::vector<Colour> stops;
    for (uint32_t c : colours)
        if (c != kSystemDefaultColour)
            stops.push_back(c);
    return stops;
}

Colour blend(Colour a, Colour b, int numerator, int denominator) {
    auto channel = [&](int shift) {
        int ca = static_cast<int>((a >> shift) & 0xFF);
        int cb = static_cast<int>((b >> shift) & 0xFF);
        return static_cast<Colour>(ca + (cb - ca) * numerator / denominator) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// The colour at step i of n along evenly spaced stops.
Colour colourAlong(const std::vector<Colour>& stops, int i, int n) {
    if (n <= 1)
        return stops.front();
    int segments = static_cast<int>(stops.size()) - 1;
    int scaled = i * segments;
    int segment = std::min(scaled / (n - 1), segments - 1);
    int within = scaled - segment * (n - 1);
    return blend(stops[static_cast<size_t>(segment)], stops[static_cast<size_t>(segment) + 1],
                 within, n - 1);
}

class LabelUnit : public UnitType<LabelProperties> {
public:
    LabelUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : UnitType(windowId, unitId, creationArgument) {}

    static WindowObject* build(std::unique_ptr<LabelUnit> object, uint32_t style,
                               const ControlPlacement& place) {
        if (!ensureSelfPaintedClass(kLabelClass))
            return nullptr;
        const LabelProperties& p = object->m_p;
        auto* self = static_cast<LabelUnit*>(
            createControl(std::move(object), kLabelClass, style, 0, p.caption, place));
        if (!self)
            return nullptr;
        self->applyFont(self->m_p.font, false);
        self->applyBorder();
        return self;
    }

protected:
    // A label is painted by the runtime: what it applies shows at the next paint.
    void applyProperty(LabelProperty property) override {
        if (property == LabelProperty::Caption)
            setWindowText(handle(), m_p.caption);
        else
            applyBorder();
        invalidateWindow(handle());
    }

    // The gradient border width: below the minimum it is the minimum.
    int32_t writeOwn(LabelProperty, const TypeValue& v) override {
        m_p.gradientBorderWidth = std::max(v.integer(), kMinimumGradientWidth);
        invalidateWindow(handle());
        return 0;
    }

    LResult handleMessage(uint32_t message, WParam wParam, LParam lParam) override {
        switch (message) {
        case kWmPaint:
            paint();
            return 0;
        case kWmEraseBkgnd:
            return 1;
        default:
            return WindowObject::handleMessage(message, wParam, lParam);
        }
    }

private:
    PictureCache m_picture;

    // Border styles 1 to 5 are window frames; 6 is the painted gradient frame.
    void applyBorder() {
        applyBorderStyle(handle(), m_p.borderStyle == kGradientBorderStyle ? 0 : m_p.borderStyle);
    }

    void paint() {
        Painter painter(handle());
        if (!painter.isValid())
            return;
        const LabelProperties& p = m_p;
        Rect area = painter.clientRect();

        if (p.borderStyle == kGradientBorderStyle && p.gradientBorderWidth > 0) {
            std::vector<Colour> stops = gradientStops(
                {p.gradientBorderColour1, p.gradientBorderColour2, p.gradientBorderColour3});
            if (stops.size() >= 2) {
                // Rings from the outer edge inwards, each in its colour along the stops.
                int width = p.gradientBorderWidth;
                for (int i = 0; i < width; ++i) {
                    Rect ring{area.left + i, area.top + i, area.right - i, area.bottom - i};
                    if (ring.width() <= 0 || ring.height() <= 0)
                        break;
                    painter.frameRect(ring, colourAlong(stops, i, width), 1);
                }
                area = {area.left + width, area.top + width, area.right - width,
                        area.bottom - width};
            }
        }

        std::vector<Colour> fill =
            gradientStops({p.gradientColour1, p.gradientColour2, p.gradientColour3});
        if (const Picture* picture = m_picture.get(p.backgroundPicture)) {
            painter.fillRect(area, p.backgroundColour);
            painter.drawPicture(*picture, area,
                                static_cast<PictureMode>(clampChoice(p.pictureMode, 2)));
        } else if (p.backgroundGradient != 0 && fill.size() >= 2) {
            // Odd gradients run across the width, even ones down the height.
            painter.gradientFill(area, fill, p.backgroundGradient % 2 == 0);
        } else {
            painter.fillRect(area, p.backgroundColour);
        }

        uint32_t format = kDtNoClip;
        format |= p.horizontalAlignment == 1 ? kDtCenter
                                             : (p.horizontalAlignment == 2 ? kDtRight : kDtLeft);
        if (p.wordWrap) {
            format |= kDtWordBreak;
        } else {
            format |= kDtSingleLine;
            format |= p.verticalAlignment == 1 ? kDtVCenter
                                               : (p.verticalAlignment == 2 ? kDtBottom : kDtTop);
        }
        painter.setFont(font());
        painter.setTransparentBackground(true);
        Rect place = area;
        auto shifted = [](Rect r, int by) {
            return Rect{r.left + by, r.top + by, r.right + by, r.bottom + by};
        };
        switch (p.effect) {
        case 1: {
            Rect shadow = shifted(place, 1);
            painter.setTextColour(kWhite);
            painter.drawText(p.caption, shadow, format);
            break;
        }
        case 2: {
            Rect raised = place;
            painter.setTextColour(kWhite);
            painter.drawText(p.caption, raised, format);
            place = shifted(place, 1);
            break;
        }
        case 3: {
            Rect shadow = shifted(place, 2);
            painter.setTextColour(kBlack);
            painter.drawText(p.caption, shadow, format);
            break;
        }
        default:
            break;
        }
        painter.setTextColour(p.textColour);
        painter.drawText(p.caption, place, format);
    }
};

} // namespace

void* labelInterface(int32_t code) {
    return unitInterfaceEntry<LabelUnit>(code);
}

} // namespace kelvarn::ui
