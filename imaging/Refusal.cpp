#include "imaging/Refusal.h"

#include <cstdarg>
#include <cstdio>

namespace kelvarn::imaging {

void Refusal::set(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    setList(format, args);
    va_end(args);
}

void Refusal::setList(const char* format, std::va_list args) {
    if (std::vsnprintf(m_text, sizeof m_text, format, args) < 0)
        m_text[0] = '\0';
}

} // namespace kelvarn::imaging
