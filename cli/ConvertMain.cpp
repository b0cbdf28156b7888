// kelvarn-convert [-v] bmp SOURCE TARGET
// kelvarn-convert [-v] png SOURCE TARGET [DEPTH]
//
// Runs one conversion command through the command-call convention and prints its result code
// (1, -4, -7, 253, 255) on the first line of standard output; with -v, why the source was not
// loaded goes to standard error. Exit status: 0 when the code is 1, 1 for any other code, 2 for
// a usage error.

#include "commands/image/ConversionCommands.h"
#include "platform/files/Codepage.h"
#include "platform/files/PendingFiles.h"
#include "platform/files/Process.h"
#include "runtime/core/ArgRecord.h"
#include "runtime/core/CommandCall.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitConverted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int32_t kDefaultDepth = 24;

int usage() {
    std::fputs("usage: kelvarn-convert [-v] bmp SOURCE TARGET\n"
               "       kelvarn-convert [-v] png SOURCE TARGET [DEPTH]   (DEPTH defaults to 24)\n"
               "  -v  say on standard error why the source was not loaded\n",
               stderr);
    return kExitUsage;
}

bool parseDepth(const char* text, int32_t& depth) {
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, depth);
    return error == std::errc() && rest == end && rest != text;
}

} // namespace

int main(int argc, char** argv) {
    using namespace kelvarn;
    platform::prepareProcess();
    // Pixel files and unnamed targets vanish with the process anyway; a hidden sibling written
    // where the target's file system has no unnamed files is removed on the way out.
    platform::removePendingFilesOnTermination();
    const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    if (verbose) {
        --argc;
        ++argv;
    }
    if (argc < 4)
        return usage();
    const std::string mode = argv[1];
    const bool toBmp = mode == "bmp";
    const bool toPng = mode == "png";
    if ((!toBmp && !toPng) || (toBmp && argc != 4) || (toPng && argc > 5))
        return usage();
    int32_t depth = kDefaultDepth;
    if (toPng && argc == 5 && !parseDepth(argv[4], depth))
        return usage();

    // Paths arrive as native (UTF-8) names and become runtime texts like every other text that
    // crosses the platform boundary; a name that is not valid UTF-8 keeps its bytes.
    const std::string source = platform::utf8ToGb(argv[2]);
    const std::string target = platform::utf8ToGb(argv[3]);
    runtime::ArgRecord args[3] = {runtime::makeText(source.c_str()),
                                  runtime::makeText(target.c_str()), runtime::makeInteger(depth)};
    const runtime::ArgRecord result =
        toBmp ? runtime::CallLibraryCommand(commands::kImageLibraryPosition, commands::ConvertToBmp,
                                            2, args)
              : runtime::CallLibraryCommand(commands::kImageLibraryPosition, commands::ConvertToPng,
                                            3, args);
    const int32_t code = result.integer();
    std::printf("%d\n", code);
    const char* reason = commands::lastConversionRefusal();
    if (verbose && *reason)
        std::fprintf(stderr, "%s\n", reason);
    return code == commands::kConvertOk ? kExitConverted : kExitFailed;
}
