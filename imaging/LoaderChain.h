#pragma once
// Loads any picture file that one of the library's decoders understands, recognised by content
// and never by name. The decoders are offered the file in a fixed order: JPEG, BMP, TIFF, PNG
// (the own reader, then libpng), PCX, Photo CD (768 x 512); the first that accepts and
// completely decodes it wins.
//
// Threads: LoadImageFile is safe from any thread, several at once on distinct targets. Every
// decoder lives in the call's own frame; libjpeg, libtiff and libpng keep their state per
// object, and their error handlers jump back to the decoder, never ending the process. libtiff's
// silent global handlers are installed once, on the first TIFF file opened, whichever thread
// opens it; each file's own errors go to its decoder.

#include "imaging/ContentHead.h"
#include "imaging/ImageRecord.h"
#include "imaging/Refusal.h"

#include <span>

namespace kelvarn::imaging {

constexpr int kLoadOk = 1;
constexpr int kLoadUnrecognised = 253; // the file exists but no decoder took it
constexpr int kLoadNotFound = 255;     // the file does not exist; no decoder was asked

// `path` is a runtime text. A folder, or a wildcard that matches something, counts as existing.
// The target is handed from decoder to decoder without being released in between, so after 253
// it may still hold pixel memory; the caller releases it.
int LoadImageFile(const char* path, ImageRecord& target);
// The same, with why the file was not loaded: after 253 the refusal of the first decoder that
// recognised the content, or "no decoder recognises the content"; after 255 that the file does
// not exist; empty after 1.
int LoadImageFile(const char* path, ImageRecord& target, Refusal& why);

// One decoder of the chain. `recognises` looks at the first bytes only and must hold for every
// file the decoder could accept: a decoder is offered only the files it recognises. `load` is a
// whole attempt of a fresh decoder (open, decode, close): 1 when the target holds the picture,
// else 0 with the decoder's refusal in `why`.
struct ChainDecoder {
    const char* name;
    bool (*recognises)(const ContentHead& head);
    int (*load)(const char* path, ImageRecord& target, Refusal& why);
};

// The decoders in the order they are offered a file.
std::span<const ChainDecoder> loaderChain();

} // namespace kelvarn::imaging
