#pragma once
// Pictures stored as file bytes (icon, BMP, JPEG, PNG, GIF), decoded once with the window
// system's image readers, drawn on runtime-painted windows (Painter::drawPicture) and shown on
// buttons. docs/pictures.md gives the picture modes.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <memory>
#include <span>

namespace kelvarn::platform {

// How a picture fills an area.
enum class PictureMode {
    TopLeft = 0, // once, at its own size, from the top-left corner
    Tile = 1,    // repeated from the top-left corner
    Centre = 2,  // once, at its own size, centred (cut when larger than the area)
    Stretch = 3, // scaled to the area
};

class Picture {
public:
    // nullptr when the bytes are empty or no reader takes them.
    static std::shared_ptr<const Picture> decode(std::span<const std::uint8_t> bytes);

    // An icon file (.ico or .cur): shown in icon style on buttons.
    bool isIcon() const { return m_icon; }
    Size size() const;

    struct Image; // the decoded pixels, inside the windowing layer
    const Image& image() const { return *m_image; }

    Picture(std::shared_ptr<const Image> image, bool icon)
        : m_image(std::move(image)), m_icon(icon) {}

private:
    std::shared_ptr<const Image> m_image;
    bool m_icon = false;
};

// Shows the picture on a "BUTTON" window (push button, radio button or check box) instead of
// its caption, drawn on the button-face colour; the style gains kBsIcon for an icon and kBsBitmap
// for any other picture. nullptr brings the caption back. False for a window that is not a
// button.
bool setButtonPicture(WindowHandle button, std::shared_ptr<const Picture> picture);

} // namespace kelvarn::platform
