#pragma once
// Loads any picture file that one of the library's decoders understands, recognised by content
// and never by name. The decoders are offered the file in a fixed order: JPEG, BMP, TIFF, PNG,
// PCX, Photo CD (768 x 512); the first that accepts and completely decodes it wins.
//
// Threads: LoadImageFile is safe from any thread, several at once on distinct targets. Every
// decoder lives in the call's own frame; libjpeg, libtiff and libpng keep their state per
// object, and their error handlers jump back to the decoder, never ending the process. libtiff's
// handlers are installed once, on the first probe, whichever thread makes it.

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
