// Fonts: the 60-byte description <-> Qt fonts, the font table and the default GUI font.

#include "platform/windowing/Font.h"

#include "platform/files/LittleEndian.h"

#include "platform/windowing/Application.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/FontFaces.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstring>
#include <unordered_map>

namespace kelvarn::platform {
namespace {

// The default GUI font: 宋体 (a runtime text) at 9 points, 12 pixels at 96 pixels per inch. The
// face names reach Qt through the substitutions made at start-up (FontFaces.h).
constexpr const char* kDefaultFace = "\xcb\xce\xcc\xe5";
constexpr int kDefaultPixelHeight = 12;
constexpr FontHandle kDefaultGuiFont = 1;

struct FontEntry {
    FontDescription description;
    QFont font;
};

std::unordered_map<FontHandle, FontEntry>& fonts() {
    static std::unordered_map<FontHandle, FontEntry> table;
    return table;
}

FontHandle g_nextFont = 0x100;

QFont makeQFont(const FontDescription& d) {
    QFont font;
    const QString face = detail::fromRuntime(d.faceName.empty() ? kDefaultFace : d.faceName);
    // The later families fill in the characters the named face lacks.
    font.setFamilies({face, QString::fromLatin1(detail::kSongFamily),
                      QString::fromLatin1(detail::kFallbackFamily)});
    font.setStyleHint(QFont::SansSerif);
    if (d.height < 0) {
        font.setPixelSize(std::max(1, -d.height));
    } else if (d.height > 0) {
        // A positive height is the cell height (ascent + descent); scale the em to fit it.
        font.setPixelSize(d.height);
        const int cell = QFontMetrics(font).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, int(std::lround(double(d.height) * d.height / cell))));
    } else {
        font.setPixelSize(kDefaultPixelHeight);
    }
    font.setWeight(d.weight <= 0 ? QFont::Normal
                                 : static_cast<QFont::Weight>(std::clamp(d.weight, 1, 1000)));
    font.setItalic(d.italic != 0);
    font.setUnderline(d.underline != 0);
    font.setStrikeOut(d.strikeOut != 0);
    return font;
}

} // namespace

namespace detail {

QFont defaultQFont() {
    return makeQFont(defaultGuiFontDescription());
}

QFont qfontFor(FontHandle font) {
    const auto it = fonts().find(font);
    return it == fonts().end() ? defaultQFont() : it->second.font;
}

} // namespace detail

std::optional<FontDescription> readFontDescription(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kFontDescriptionSize)
        return std::nullopt;
    const std::uint8_t* p = bytes.data();
    FontDescription d;
    d.height = loadLe32Signed(p);
    d.width = loadLe32Signed(p + 4);
    d.escapement = loadLe32Signed(p + 8);
    d.orientation = loadLe32Signed(p + 12);
    d.weight = loadLe32Signed(p + 16);
    d.italic = p[20];
    d.underline = p[21];
    d.strikeOut = p[22];
    d.charSet = p[23];
    d.outPrecision = p[24];
    d.clipPrecision = p[25];
    d.quality = p[26];
    d.pitchAndFamily = p[27];
    const char* face = reinterpret_cast<const char*>(p + 28);
    d.faceName.assign(face, strnlen(face, 32));
    return d;
}

std::array<std::uint8_t, kFontDescriptionSize> writeFontDescription(const FontDescription& d) {
    std::array<std::uint8_t, kFontDescriptionSize> out{};
    storeLe32(out.data(), static_cast<std::uint32_t>(d.height));
    storeLe32(out.data() + 4, static_cast<std::uint32_t>(d.width));
    storeLe32(out.data() + 8, static_cast<std::uint32_t>(d.escapement));
    storeLe32(out.data() + 12, static_cast<std::uint32_t>(d.orientation));
    storeLe32(out.data() + 16, static_cast<std::uint32_t>(d.weight));
    out[20] = d.italic;
    out[21] = d.underline;
    out[22] = d.strikeOut;
    out[23] = d.charSet;
    out[24] = d.outPrecision;
    out[25] = d.clipPrecision;
    out[26] = d.quality;
    out[27] = d.pitchAndFamily;
    std::memcpy(out.data() + 28, d.faceName.data(), std::min<std::size_t>(d.faceName.size(), 31));
    return out;
}

FontHandle createFont(const FontDescription& font) {
    if (!windowingStarted())
        return 0;
    FontDescription d = font;
    if (d.faceName.size() > 31)
        d.faceName.resize(31);
    const FontHandle h = g_nextFont++;
    fonts()[h] = FontEntry{d, makeQFont(d)};
    return h;
}

bool deleteFont(FontHandle font) {
    return font != kDefaultGuiFont && fonts().erase(font) > 0;
}

FontHandle defaultGuiFont() {
    return kDefaultGuiFont;
}

FontDescription fontDescription(FontHandle font) {
    const auto it = fonts().find(font);
    return it == fonts().end() ? defaultGuiFontDescription() : it->second.description;
}

FontDescription defaultGuiFontDescription() {
    FontDescription d;
    d.height = -kDefaultPixelHeight;
    d.weight = 400;
    d.charSet = 1;
    d.faceName = kDefaultFace;
    return d;
}

int defaultGuiFontPointSize() {
    return int(std::lround(kDefaultPixelHeight * 72.0 / std::max(1, screenDpiY())));
}

int screenDpiY() {
    if (!windowingStarted())
        return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

TextMetrics fontMetrics(FontHandle font) {
    TextMetrics m;
    if (!windowingStarted())
        return m;
    const QFont f = detail::qfontFor(font);
    const QFontMetrics fm(f);
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = fm.height();
    m.externalLeading = std::max(0, fm.leading());
    m.internalLeading =
        std::max(0, fm.height() - (f.pixelSize() > 0 ? f.pixelSize() : fm.height()));
    m.averageCharWidth = fm.averageCharWidth();
    m.maxCharWidth = fm.maxWidth();
    return m;
}

Size textExtent(FontHandle font, std::string_view text) {
    if (!windowingStarted())
        return {};
    const QFontMetrics fm(detail::qfontFor(font));
    return {fm.horizontalAdvance(detail::fromRuntime(text)), fm.height()};
}

bool setWindowFont(WindowHandle window, FontHandle font) {
    if (!isWindow(window))
        return false;
    sendMessage(window, kWmSetFont, font, 1);
    return true;
}

FontHandle windowFont(WindowHandle window) {
    return static_cast<FontHandle>(sendMessage(window, kWmGetFont, 0, 0));
}

} // namespace kelvarn::platform
