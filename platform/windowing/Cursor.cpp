// Mouse pointers: standard ids to Qt cursors, cursors decoded from cursor files.

#include "platform/windowing/Cursor.h"

#include "platform/files/LittleEndian.h"

#include "platform/windowing/Application.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <unordered_map>

namespace kelvarn::platform {
namespace {

std::unordered_map<CursorHandle, QCursor>& customCursors() {
    static std::unordered_map<CursorHandle, QCursor> table;
    return table;
}

CursorHandle g_nextCursor = 0x100000; // above every standard id

std::optional<Qt::CursorShape> standardShape(std::uint32_t id) {
    switch (id) {
    case kIdcArrow:
        return Qt::ArrowCursor;
    case kIdcIBeam:
        return Qt::IBeamCursor;
    case kIdcWait:
        return Qt::WaitCursor;
    case kIdcCross:
        return Qt::CrossCursor;
    case kIdcUpArrow:
        return Qt::UpArrowCursor;
    case kIdcSizeNwse:
        return Qt::SizeFDiagCursor;
    case kIdcSizeNesw:
        return Qt::SizeBDiagCursor;
    case kIdcSizeWe:
        return Qt::SizeHorCursor;
    case kIdcSizeNs:
        return Qt::SizeVerCursor;
    case kIdcSizeAll:
        return Qt::SizeAllCursor;
    case kIdcNo:
        return Qt::ForbiddenCursor;
    case kIdcHand:
        return Qt::PointingHandCursor;
    case kIdcAppStarting:
        return Qt::BusyCursor;
    case kIdcHelp:
        return Qt::WhatsThisCursor;
    default:
        return std::nullopt;
    }
}

std::optional<QCursor> cursorFor(CursorHandle cursor) {
    if (const auto shape = standardShape(cursor))
        return QCursor(*shape);
    const auto it = customCursors().find(cursor);
    if (it == customCursors().end())
        return std::nullopt;
    return it->second;
}

} // namespace

CursorHandle loadStandardCursor(std::uint32_t cursorId) {
    return standardShape(cursorId) ? cursorId : 0;
}

CursorHandle createCursorFromFile(std::span<const std::uint8_t> bytes) {
    if (!windowingStarted())
        return 0;
    // Directory: reserved 0, type (1 icon, 2 cursor), count; then 16-byte entries whose
    // planes / bit-count words hold the hot spot in a cursor file.
    if (bytes.size() < 6 + 16 || loadLe16(bytes.data()) != 0)
        return 0;
    const std::uint16_t type = loadLe16(bytes.data() + 2);
    const std::uint16_t count = loadLe16(bytes.data() + 4);
    if ((type != 1 && type != 2) || count == 0 || bytes.size() < 6 + 16u * count)
        return 0;
    const std::uint8_t* entry = bytes.data() + 6;
    const std::uint32_t size = loadLe32(entry + 8);
    const std::uint32_t offset = loadLe32(entry + 12);
    if (offset > bytes.size() || size > bytes.size() - offset)
        return 0;
    // Qt's icon reader takes the data as an icon file; a cursor differs only in its type word.
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    data[2] = 1;
    const QImage image = QImage::fromData(data, "ICO");
    if (image.isNull())
        return 0;
    const int hotX = type == 2 ? loadLe16(entry + 4) : image.width() / 2;
    const int hotY = type == 2 ? loadLe16(entry + 6) : image.height() / 2;
    const CursorHandle h = g_nextCursor++;
    customCursors().emplace(h, QCursor(QPixmap::fromImage(image), hotX, hotY));
    return h;
}

bool destroyCursor(CursorHandle cursor) {
    return customCursors().erase(cursor) > 0;
}

bool setWindowCursor(WindowHandle window, CursorHandle cursor) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget)
        return false;
    w->m_cursor = cursor;
    const CursorHandle effective = cursor ? cursor : w->m_class->def.cursor;
    if (const auto c = cursorFor(effective))
        w->m_widget->setCursor(*c);
    else
        w->m_widget->unsetCursor();
    return true;
}

CursorHandle windowCursor(WindowHandle window) {
    detail::WindowObject* w = detail::findWindow(window);
    return w ? w->m_cursor : 0;
}

} // namespace kelvarn::platform
