#include "commands/core/TextCommands.h"

#include "runtime/core/Text.h"

#include <algorithm>

namespace kelvarn::commands {

using namespace runtime;

void TextLength(ArgRecord* result, int32_t, ArgRecord* args) {
    result->low = static_cast<uint32_t>(TextLen(args[0].text()));
}

void LeftText(ArgRecord* result, int32_t, ArgRecord* args) {
    int32_t count = args[1].integer();
    if (count <= 0)
        return;
    const char* text = args[0].text();
    result->setAddress(CopyTextPrefix(text, std::min(count, TextLen(text))));
}

void RightText(ArgRecord* result, int32_t, ArgRecord* args) {
    int32_t count = args[1].integer();
    if (count <= 0)
        return;
    const char* text = args[0].text();
    int32_t length = TextLen(text);
    result->setAddress(CopyText(text + (length - std::min(count, length))));
}

} // namespace kelvarn::commands
