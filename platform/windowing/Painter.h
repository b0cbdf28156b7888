#pragma once
// Drawing for windows that the runtime paints itself (the Label unit). A Painter is made while
// the window handles kWmPaint and draws into the window's client area; made at any other time
// it is not valid and draws nothing.

#include "platform/windowing/Font.h"
#include "platform/windowing/Picture.h"
#include "platform/windowing/Types.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace kelvarn::platform {

// DrawText format bits (DT_*).
inline constexpr std::uint32_t kDtLeft = 0x0000;
inline constexpr std::uint32_t kDtTop = 0x0000;
inline constexpr std::uint32_t kDtCenter = 0x0001;
inline constexpr std::uint32_t kDtRight = 0x0002;
inline constexpr std::uint32_t kDtVCenter = 0x0004;
inline constexpr std::uint32_t kDtBottom = 0x0008;
inline constexpr std::uint32_t kDtWordBreak = 0x0010;
inline constexpr std::uint32_t kDtSingleLine = 0x0020;
inline constexpr std::uint32_t kDtNoClip = 0x0100;
inline constexpr std::uint32_t kDtCalcRect = 0x0400;
inline constexpr std::uint32_t kDtNoPrefix = 0x0800;

// Edge kinds for drawEdge (the border styles of edit boxes and labels).
enum class EdgeKind { Sunken, Raised, Etched, Flat, SunkenThin };

class Painter {
public:
    explicit Painter(WindowHandle window);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    bool isValid() const;
    Rect clientRect() const;

    void fillRect(Rect rect, Colour colour);
    void frameRect(Rect rect, Colour colour, int width = 1);
    void drawEdge(Rect rect, EdgeKind kind);
    // Colours run along the width (horizontal) or height; two or more stops, evenly spaced.
    void gradientFill(Rect rect, std::span<const Colour> stops, bool vertical);
    // 32-bit pixels B, G, R, A (alpha ignored), rows top-down, scaled into the rectangle.
    void drawPixels(Rect target, const std::uint8_t* pixels, int width, int height, int stride);
    // The picture in the area as the mode says (Picture.h), clipped to the area.
    void drawPicture(const Picture& picture, Rect area, PictureMode mode);

    // 0 selects the window's font.
    void setFont(FontHandle font);
    void setTextColour(Colour colour);
    void setBackgroundColour(Colour colour);
    void setTransparentBackground(bool transparent);
    // Draws a runtime text with kDt* format bits ("\r\n" and "\n" break lines unless single
    // line; "&" marks a mnemonic unless kDtNoPrefix). Returns the text height; with kDtCalcRect
    // nothing is drawn and rect receives the needed size.
    int drawText(std::string_view text, Rect& rect, std::uint32_t format);
    TextMetrics textMetrics() const;
    Size textExtent(std::string_view text) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace kelvarn::platform
