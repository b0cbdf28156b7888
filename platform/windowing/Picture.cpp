// Decoding stored picture bytes with Qt's image readers, and pictures on buttons.

#include "platform/windowing/Picture.h"

#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/PictureImage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace kelvarn::platform {
namespace {

// An icon file starts with reserved 0 and type 1 (icon) or 2 (cursor).
bool looksLikeIconFile(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 6 && bytes[0] == 0 && bytes[1] == 0 &&
           (bytes[2] == 1 || bytes[2] == 2) && bytes[3] == 0;
}

} // namespace

std::shared_ptr<const Picture> Picture::decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        return nullptr;
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    const bool icon = looksLikeIconFile(bytes);
    // The content decides, not a name: an icon file has no magic Qt can sniff reliably.
    QImageReader reader(&buffer, icon ? QByteArray("ico") : QByteArray());
    reader.setDecideFormatFromContent(!icon);
    auto image = std::make_shared<Image>();
    if (!reader.read(&image->pixels) || image->pixels.isNull())
        return nullptr;
    image->pixels = image->pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return std::make_shared<const Picture>(std::move(image), icon);
}

Size Picture::size() const {
    return {m_image->pixels.width(), m_image->pixels.height()};
}

bool setButtonPicture(WindowHandle button, std::shared_ptr<const Picture> picture) {
    auto* object = dynamic_cast<detail::ButtonObject*>(detail::findWindow(button));
    if (!object || !object->m_button)
        return false;
    object->m_style &= ~(kBsIcon | kBsBitmap);
    if (!picture) {
        object->m_picture = QPixmap();
        object->m_button->setIcon(QIcon());
        object->applyText(object->m_text);
        return true;
    }
    object->m_style |= picture->isIcon() ? kBsIcon : kBsBitmap;
    // Transparent parts show the button face, as an image attached to a button does.
    const QImage& pixels = picture->image().pixels;
    QImage face(pixels.size(), QImage::Format_RGB32);
    face.fill(QApplication::palette().color(QPalette::Button));
    {
        QPainter painter(&face);
        painter.drawImage(0, 0, pixels);
    }
    object->m_picture = QPixmap::fromImage(face);
    object->m_button->setIcon(QIcon(object->m_picture));
    object->m_button->setIconSize(object->m_picture.size());
    object->applyText(object->m_text);
    return true;
}

} // namespace kelvarn::platform
