#include "commands/image/ConversionCommands.h"

#include "imaging/BmpCodec.h"
#include "imaging/ImageRecord.h"
#include "imaging/LoaderChain.h"
#include "imaging/PngCodec.h"
#include "imaging/TargetFile.h"

namespace kelvarn::commands {

using imaging::BmpCodec;
using imaging::ImageRecord;
using imaging::PngCodec;
using imaging::TargetFile;

namespace {

constexpr int32_t kWrittenDepth = 24;

// Each batch worker converts on its own thread, so each keeps its own explanation.
thread_local imaging::Refusal t_lastRefusal;

// The commands read their arguments by position; a call that passes fewer records than a
// command reads is treated as one whose missing arguments are absent.
const char* textArgument(int32_t argCount, const runtime::ArgRecord* args, int32_t index) {
    return args && index < argCount ? args[index].text() : nullptr;
}

// Loads the source, then writes `toWrite(loaded)` through the encoder into a sibling of the
// target that replaces the target only once the encoder has succeeded.
template <typename Codec, typename Prepare, typename OpenWrite>
int32_t convert(const char* source, const char* target, Codec& codec, ImageRecord& loaded,
                TargetFile& file, Prepare prepare, OpenWrite openWrite) {
    const int loadResult = imaging::LoadImageFile(source, loaded, t_lastRefusal);
    if (loadResult != imaging::kLoadOk)
        return loadResult;
    const ImageRecord* image = prepare(loaded);
    if (!image)
        return kConvertWriteFailed;
    if (!file.create(target))
        return kConvertWriteFailed;
    if (openWrite(codec, file.path(), *image) != 1 || codec.encode() != 1)
        return kConvertWriteFailed;
    codec.close();
    return file.commit() ? kConvertOk : kConvertWriteFailed;
}

int32_t convertToBmp(const char* source, const char* target) {
    BmpCodec codec;
    ImageRecord loaded;
    ImageRecord converted;
    TargetFile file;
    const int32_t code = convert(
        source, target, codec, loaded, file,
        [&converted](const ImageRecord& image) -> const ImageRecord* {
            // The BMP writer takes three bytes a pixel: every other depth is converted first
            // (alpha dropped, palette or grey expanded, 5-bit channels widened).
            if (image.bitsPerPixel() == kWrittenDepth)
                return &image;
            return image.convertTo(converted, kWrittenDepth, 0) ? &converted : nullptr;
        },
        [](BmpCodec& bmp, const char* path, const ImageRecord& image) {
            return bmp.openWrite(path, image, kWrittenDepth, nullptr);
        });
    codec.close();
    loaded.release();
    return code;
}

int32_t convertToPng(const char* source, const char* target) {
    PngCodec codec;
    ImageRecord loaded;
    TargetFile file;
    // The PNG encoder brings the picture to the requested depth itself.
    const int32_t code = convert(
        source, target, codec, loaded, file,
        [](const ImageRecord& image) -> const ImageRecord* { return &image; },
        [](PngCodec& png, const char* path, const ImageRecord& image) {
            return png.openWrite(path, image, kWrittenDepth, 0, nullptr);
        });
    codec.close();
    loaded.release();
    return code;
}

void storeResult(runtime::ArgRecord* result, int32_t code) {
    if (!result)
        return;
    result->low = static_cast<uint32_t>(code);
    result->high = 0;
}

} // namespace

void ConvertToBmp(runtime::ArgRecord* result, int32_t argCount, runtime::ArgRecord* args) {
    t_lastRefusal.clear();
    int32_t code = kConvertBadArguments;
    const char* source = textArgument(argCount, args, 0);
    const char* target = textArgument(argCount, args, 1);
    if (source && target) {
        try {
            code = convertToBmp(source, target);
        } catch (...) { // out of memory for a path: nothing escapes a command
            code = kConvertWriteFailed;
        }
    }
    storeResult(result, code);
}

void ConvertToPng(runtime::ArgRecord* result, int32_t argCount, runtime::ArgRecord* args) {
    t_lastRefusal.clear();
    int32_t code = kConvertBadArguments;
    const char* source = textArgument(argCount, args, 0);
    const char* target = textArgument(argCount, args, 1);
    const bool depthOk = args && argCount > 2 && args[2].integer() == kWrittenDepth;
    if (source && target && depthOk) {
        try {
            code = convertToPng(source, target);
        } catch (...) {
            code = kConvertWriteFailed;
        }
    }
    storeResult(result, code);
}

const char* lastConversionRefusal() {
    return t_lastRefusal.text();
}

intptr_t ImageLibraryNotify(int32_t code, intptr_t, intptr_t) {
    return code == runtime::kNotifyStartup ? 0 : -1;
}

const runtime::LibraryRecord& imageLibraryRecord() {
    static const runtime::CommandFunction commands[] = {ConvertToBmp, ConvertToPng};
    static const runtime::LibraryRecord record = [] {
        runtime::LibraryRecord r;
        r.identity = "6B656C7661726E2D696D6167696E6701";
        r.majorVersion = 1;
        r.displayName = "\xCD\xBC\xC6\xAC\xB8\xF1\xCA\xBD\xD7\xAA\xBB\xBB"; // 图片格式转换
        r.commandCount = 2;
        r.commands = commands;
        r.notify = ImageLibraryNotify;
        return r;
    }();
    return record;
}

} // namespace kelvarn::commands
