#pragma once
// Loads any picture file that one of the library's decoders understands, recognised by content
// and never by name. The decoders are offered the file in a fixed order: JPEG, BMP, TIFF, PNG,
// PCX, Photo CD (768 x 512); the first that accepts and completely decodes it wins.

#include "imaging/ImageRecord.h"

namespace kelvarn::imaging {

constexpr int kLoadOk = 1;
constexpr int kLoadUnrecognised = 253; // the file exists but no decoder took it
constexpr int kLoadNotFound = 255;     // the file does not exist; no decoder was asked

// `path` is a runtime text. A folder, or a wildcard that matches something, counts as existing.
// The target is handed from decoder to decoder without being released in between, so after 253
// it may still hold pixel memory; the caller releases it.
int LoadImageFile(const char* path, ImageRecord& target);

} // namespace kelvarn::imaging
