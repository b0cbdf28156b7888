#include "tests/imaging/HostileInputTest.h"

#include "commands/image/ConversionCommands.h"
#include "runtime/core/CommandCall.h"

#include <sys/wait.h>
#include <unistd.h>

namespace kelvarn::testing {

int32_t commandToBmp(const std::string& source, const std::string& target) {
    runtime::ArgRecord args[2] = {runtime::makeText(source.c_str()),
                                  runtime::makeText(target.c_str())};
    return runtime::CallLibraryCommand(commands::kImageLibraryPosition, commands::ConvertToBmp, 2,
                                       args)
        .integer();
}

int32_t commandToPng(const std::string& source, const std::string& target) {
    runtime::ArgRecord args[3] = {runtime::makeText(source.c_str()),
                                  runtime::makeText(target.c_str()), runtime::makeInteger(24)};
    return runtime::CallLibraryCommand(commands::kImageLibraryPosition, commands::ConvertToPng, 3,
                                       args)
        .integer();
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
