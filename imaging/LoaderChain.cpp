#include "imaging/LoaderChain.h"

#include "imaging/BmpCodec.h"
#include "imaging/FileUtilities.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PcxDecoder.h"
#include "imaging/PhotoCdDecoder.h"
#include "imaging/PngCodec.h"
#include "imaging/TiffDecoder.h"
#include "platform/files/FileSystem.h"

namespace kelvarn::imaging {

namespace {

constexpr int32_t kPhotoCdResolution = 2; // 768 x 512

// The decoder is a local: whatever a refusal left open, its destructor closes.
template <typename Decoder, auto... extra>
int loadWith(const char* path, ImageRecord& target, Refusal& why) {
    Decoder decoder;
    if (decoder.open(path, target, extra..., nullptr) == 1 && decoder.decode() == 1)
        return kLoadOk;
    why = decoder.refusal();
    return 0;
}

// A file is offered in this order; where two decoders would both take it, the earlier wins.
constexpr ChainDecoder kChain[] = {
    {"JPEG", JpegDecoder::recognises, loadWith<JpegDecoder>},
    {"BMP", BmpCodec::recognises, loadWith<BmpCodec>},
    {"TIFF", TiffDecoder::recognises, loadWith<TiffDecoder>},
    {"PNG", PngCodec::recognises, loadWith<PngCodec>},
    {"PCX", PcxDecoder::recognises, loadWith<PcxDecoder>},
    {"Photo CD", PhotoCdDecoder::recognises, loadWith<PhotoCdDecoder, kPhotoCdResolution>},
};

} // namespace

std::span<const ChainDecoder> loaderChain() {
    return kChain;
}

int LoadImageFile(const char* path, ImageRecord& target) {
    Refusal ignored;
    return LoadImageFile(path, target, ignored);
}

int LoadImageFile(const char* path, ImageRecord& target, Refusal& why) {
    why.clear();
    if (!fileExists(path)) {
        why.set("the file does not exist");
        return kLoadNotFound;
    }
    // A pipe or a device that merely carries a picture's name would block the first read
    // without end; it is refused like any file that no decoder accepts.
    if (!platform::isRegularFile(path)) {
        why.set("not a regular file");
        return kLoadUnrecognised;
    }
    ContentHead head;
    if (!readContentHead(path, head)) {
        why.set("the file cannot be read");
        return kLoadUnrecognised;
    }
    bool recognised = false;
    for (const ChainDecoder& decoder : kChain) {
        if (!decoder.recognises(head))
            continue;
        Refusal refusal;
        if (decoder.load(path, target, refusal) == kLoadOk) {
            why.clear();
            return kLoadOk;
        }
        // The first decoder to recognise the file has the most telling signature of them.
        if (!recognised && refusal.empty())
            why.set("%s: refused", decoder.name);
        else if (!recognised)
            why = refusal;
        recognised = true;
    }
    if (!recognised)
        why.set("no decoder recognises the content");
    return kLoadUnrecognised;
}

} // namespace kelvarn::imaging
