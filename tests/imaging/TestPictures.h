#pragma once
// Picture records the imaging tests fill themselves, and their comparison.

#include "imaging/ImageRecord.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kelvarn::testing {

// Deterministic pixels that differ in every channel, row and column.
void fillPattern(imaging::ImageRecord& image, uint32_t seed = 0);
// Byte-wise equality of size, depth, palette count, pixels and palette colours.
::testing::AssertionResult sameImage(const imaging::ImageRecord& a, const imaging::ImageRecord& b);

} // namespace kelvarn::testing
