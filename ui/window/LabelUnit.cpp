// The Label type (tag 0x0001000A): a window of the class "_ZU_Label" that the runtime paints:
// frame, background, then the caption with its alignment, wrapping and effect.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Painter.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/LabelProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/UnitTypes.h"

#include <array>

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr const char kLabelClass[] = "_ZU_Label";
constexpr int32_t kGradientBorderStyle = 6;
constexpr int32_t kMinimumGradientWidth = 5;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

bool ensureLabelClass() {
    if (isClassRegistered(kLabelClass))
        return true;
    WindowClass c;
    c.name = kLabelClass;
    c.style = kCsHRedraw | kCsVRedraw | kCsDblClks;
    c.noBackground = true;
    return registerClass(c);
}

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

class LabelUnit : public WindowObject {
public:
    LabelUnit(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(runtime::kTagLabel, windowId, unitId, creationArgument) {}

    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                WindowHandle parent, uint32_t controlId, uintptr_t, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, uint32_t, uintptr_t creationArgument) {
        auto object = std::make_unique<LabelUnit>(windowId, unitId, creationArgument);
        LabelProperties& p = object->m_p;
        if (p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) != BlockStatus::Ok)
            return nullptr;
        if (!ensureLabelClass())
            return nullptr;
        auto* self = static_cast<LabelUnit*>(
            createControl(std::move(object), kLabelClass, style, 0, p.caption,
                          {parent, controlId, left, top, width, height}));
        if (!self)
            return nullptr;
        self->applyFont(self->m_p.font, false);
        self->applyBorder();
        return self;
    }

    std::vector<uint8_t> savePropertyBlock() const override { return m_p.write(); }

    int32_t setProperty(int32_t index, const TypeValue& v) override {
        LabelProperties& p = m_p;
        switch (index) {
        case 0:
            p.caption = textOf(v);
            setWindowText(handle(), p.caption);
            break;
        case 1:
            p.effect = clampChoice(v.integer(), 3);
            break;
        case 2:
            p.borderStyle = clampChoice(v.integer(), 6);
            applyBorder();
            break;
        case 3:
            p.gradientBorderWidth = std::max(v.integer(), kMinimumGradientWidth);
            break;
        case 4:
            p.gradientBorderColour1 = static_cast<uint32_t>(v.word);
            break;
        case 5:
            p.gradientBorderColour2 = static_cast<uint32_t>(v.word);
            break;
        case 6:
            p.gradientBorderColour3 = static_cast<uint32_t>(v.word);
            break;
        case 7:
            p.font = FontBlock::fromStored(blockBytes(v));
            applyFont(p.font, false);
            break;
        case 8:
            p.textColour = static_cast<uint32_t>(v.word);
            break;
        case 9:
            p.backgroundColour = static_cast<uint32_t>(v.word);
            break;
        case 10:
            p.backgroundPicture = blockBytes(v);
            break;
        case 11:
            p.pictureMode = clampChoice(v.integer(), 2);
            break;
        case 12:
            p.backgroundGradient = clampChoice(v.integer(), 8);
            break;
        case 13:
            p.gradientColour1 = static_cast<uint32_t>(v.word);
            break;
        case 14:
            p.gradientColour2 = static_cast<uint32_t>(v.word);
            break;
        case 15:
            p.gradientColour3 = static_cast<uint32_t>(v.word);
            break;
        case 16:
            p.horizontalAlignment = clampChoice(v.integer(), 2);
            break;
        case 17:
            p.wordWrap = v.integer() != 0;
            break;
        case 18:
            p.verticalAlignment = clampChoice(v.integer(), 2);
            break;
        case 19:
            p.dataSource = textOf(v);
            return 0;
        case 20:
            p.dataField = textOf(v);
            return 0;
        default:
            return 0;
        }
        invalidateWindow(handle());
        return 0; // a label is never re-created
    }

    bool getProperty(int32_t index, TypeValue& out) override {
        const LabelProperties& p = m_p;
        auto word = [&out](int64_t v) {
            out = {static_cast<uintptr_t>(static_cast<uint32_t>(v)), 0};
            return true;
        };
        switch (index) {
        case 0:
            out = keepText(p.caption);
            return true;
        case 1:
            return word(p.effect);
        case 2:
            return word(p.borderStyle);
        case 3:
            return word(p.gradientBorderWidth);
        case 4:
            return word(p.gradientBorderColour1);
        case 5:
            return word(p.gradientBorderColour2);
        case 6:
            return word(p.gradientBorderColour3);
        case 7:
            out = keepBytes(std::vector<uint8_t>(p.font.bytes().begin(), p.font.bytes().end()));
            return true;
        case 8:
            return word(p.textColour);
        case 9:
            return word(p.backgroundColour);
        case 10:
            out = keepBytes(p.backgroundPicture);
            return true;
        case 11:
            return word(p.pictureMode);
        case 12:
            return word(p.backgroundGradient);
        case 13:
            return word(p.gradientColour1);
        case 14:
            return word(p.gradientColour2);
        case 15:
            return word(p.gradientColour3);
        case 16:
            return word(p.horizontalAlignment);
        case 17:
            return word(p.wordWrap);
        case 18:
            return word(p.verticalAlignment);
        case 19:
            out = keepText(p.dataSource);
            return true;
        case 20:
            out = keepText(p.dataField);
            return true;
        default:
            return false;
        }
    }

protected:
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
        // Background pictures are kept and saved but not drawn: the converter's labels have none.
        if (p.backgroundGradient != 0 && fill.size() >= 2) {
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

    LabelProperties m_p;
};

void* enumerateTexts(const uint8_t* block, uint32_t* length, TextCallback callback,
                     uintptr_t user) {
    return enumerateBlockTexts<LabelProperties>(block, length, callback, user,
                                                [](LabelProperties& p, auto& text, auto& font) {
                                                    font(p.font);
                                                    text(p.caption);
                                                    text(p.dataSource);
                                                    text(p.dataField);
                                                });
}

} // namespace

void* labelInterface(int32_t code) {
    return commonInterfaceEntry(code, &LabelUnit::create, &enumerateTexts);
}

} // namespace kelvarn::ui
