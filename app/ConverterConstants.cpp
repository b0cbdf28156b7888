#include "app/ConverterConstants.h"

namespace kelvarn::app {
namespace {

const ConverterConstants kConstants = {converterTexts(), 1.0, 3.0};

} // namespace

const ConverterConstants& converterConstants() {
    return kConstants;
}

const char* constantsAreaStart() {
    return reinterpret_cast<const char*>(&kConstants);
}

int32_t constantsAreaLength() {
    return static_cast<int32_t>(sizeof kConstants);
}

} // namespace kelvarn::app
