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

template <typename Decoder, typename... Extra>
bool offer(Decoder& decoder, const char* path, ImageRecord& target, Extra... extra) {
    if (decoder.open(path, target, extra..., nullptr) == 1 && decoder.decode() == 1)
        return true;
    decoder.close();
    return false;
}

} // namespace

int LoadImageFile(const char* path, ImageRecord& target) {
    JpegDecoder jpeg;
    BmpCodec bmp;
    TiffDecoder tiff;
    PngCodec png;
    PcxDecoder pcx;
    PhotoCdDecoder photoCd;

    int result = kLoadUnrecognised;
    if (!fileExists(path))
        result = kLoadNotFound;
    // A pipe or a device that merely carries a picture's name would block the first open or
    // read without end; it is refused like any file that no decoder accepts.
    else if (!platform::isRegularFile(path))
        result = kLoadUnrecognised;
    else if (offer(jpeg, path, target) || offer(bmp, path, target) || offer(tiff, path, target) ||
             offer(png, path, target) || offer(pcx, path, target) ||
             offer(photoCd, path, target, kPhotoCdResolution))
        result = kLoadOk;

    photoCd.close();
    pcx.close();
    png.close();
    tiff.close();
    bmp.close();
    jpeg.close();
    return result;
}

} // namespace kelvarn::imaging
