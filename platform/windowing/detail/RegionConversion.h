#pragma once
// Inside the windowing layer: a region as Qt's region, for masks.

#include "platform/windowing/Region.h"

#include <QRegion>

namespace kelvarn::platform::detail {

QRegion toQRegion(const Region& region);

} // namespace kelvarn::platform::detail
