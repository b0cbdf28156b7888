#pragma once
// Inside the windowing layer: the pixels of a decoded picture.

#include "platform/windowing/Picture.h"

#include <QImage>

namespace kelvarn::platform {

struct Picture::Image {
    QImage pixels;
};

} // namespace kelvarn::platform
