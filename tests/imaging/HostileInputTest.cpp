#include "tests/imaging/HostileInputTest.h"

#include "commands/image/ConversionCommands.h"
#include "runtime/core/CommandCall.h"

#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace kelvarn::testing {

int32_t commandToBmp(const std::string& source, const std::string& target) {
    runtime::ArgRecord args[2] = {runtime::makeText(source.c_str()),
                                  runtime::makeText(target.c_str())};
    return runtime::CallLibraryCommand(imaging::kImageLibraryPosition, imaging::ConvertToBmp, 2,
                                       args)
        .integer();
}

int32_t commandToPng(const std::string& source, const std::string& target) {
    runtime::ArgRecord args[3] = {runtime::makeText(source.c_str()),
                                  runtime::makeText(target.c_str()), runtime::makeInteger(24)};
    return runtime::CallLibraryCommand(imaging::kImageLibraryPosition, imaging::ConvertToPng, 3,
                                       args)
        .integer();
}

namespace {

void put32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(Bytes& out, const char* type, const Bytes& data) {
    put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, out.size() - start)));
}

} // namespace

Bytes deflated(const Bytes& raw) {
    uLongf size = compressBound(raw.size());
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), raw.size(), 9) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

Bytes pngFile(uint32_t width, uint32_t height, uint8_t colourType, const Bytes& idat) {
    Bytes out = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    Bytes header;
    put32(header, width);
    put32(header, height);
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", idat);
    chunk(out, "IEND", {});
    return out;
}

Bytes pngRgb(int width, int height, const Bytes& rgb) {
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.begin() + static_cast<ptrdiff_t>(y) * width * 3;
        raw.insert(raw.end(), row, row + width * 3);
    }
    return pngFile(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 2, deflated(raw));
}

bool patchTiffSize(Bytes& tiff, uint16_t width, uint16_t height) {
    if (tiff.size() < 8 || tiff[0] != 'I')
        return false;
    const uint32_t ifd =
        tiff[4] | tiff[5] << 8 | tiff[6] << 16 | static_cast<uint32_t>(tiff[7]) << 24;
    if (ifd + 2 > tiff.size())
        return false;
    const int count = tiff[ifd] | tiff[ifd + 1] << 8;
    int patched = 0;
    for (int i = 0; i < count && ifd + 14 + 12 * i <= tiff.size(); ++i) {
        uint8_t* e = tiff.data() + ifd + 2 + 12 * i;
        const int tag = e[0] | e[1] << 8;
        if (tag != 256 && tag != 257)
            continue;
        const uint16_t value = tag == 256 ? width : height;
        e[8] = static_cast<uint8_t>(value);
        e[9] = static_cast<uint8_t>(value >> 8);
        if ((e[2] | e[3] << 8) == 4) // LONG
            e[10] = e[11] = 0;
        ++patched;
    }
    return patched == 2;
}

bool patchJpegSize(Bytes& jpeg, uint16_t width, uint16_t height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<uint8_t>(height);
            jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<uint8_t>(width);
            return true;
        }
    }
    return false;
}

int64_t inChild(const std::function<int64_t()>& body, unsigned seconds) {
    int fds[2];
    if (pipe(fds) != 0)
        return kChildDied;
    const pid_t pid = fork();
    if (pid < 0)
        return kChildDied;
    if (pid == 0) {
        close(fds[0]);
        alarm(seconds); // a child that hangs is ended and reported as died
        const int64_t value = body();
        const ssize_t written = write(fds[1], &value, sizeof value);
        _exit(written == sizeof value ? 0 : 1);
    }
    close(fds[1]);
    int64_t value = kChildDied;
    const bool got = read(fds[0], &value, sizeof value) == sizeof value;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? value : kChildDied;
}

} // namespace kelvarn::testing
