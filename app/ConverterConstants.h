#pragma once
// The converter's constants area: every literal its procedures use, laid end to end in one
// block that the program header names. The runtime never releases an address inside it, so a
// global may hold one of these texts without a copy. The texts are written in
// app/template/ConverterTexts.cpp and turned into GBK bytes by the build.

#include "app/ConverterTextBytes.h"

#include <cstddef>
#include <cstdint>

namespace kelvarn::app {

struct ConverterConstants : ConverterTexts {
    // The numbers of the index and name arithmetic.
    double one;   // list positions count from 1, list indexes from 0
    double three; // the bytes of an extension replaced by the target type
};

const ConverterConstants& converterConstants();

// The area as the program header gives it: start and length in bytes.
const char* constantsAreaStart();
int32_t constantsAreaLength();

} // namespace kelvarn::app
