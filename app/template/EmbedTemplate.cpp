// Writes the converter's form template, as buildConverterTemplate() produces it, into a C++
// source file that defines embeddedConverterTemplate(). Run by the build.

#include "app/template/ConverterTemplate.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    const std::vector<uint8_t> bytes = kelvarn::app::buildConverterTemplate();
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "// Generated from app/ConverterTemplate.cpp by the build; do not edit.\n"
                 "#include \"app/EmbeddedTemplate.h\"\n\n"
                 "namespace kelvarn::app {\nnamespace {\n\n"
                 "const uint8_t kTemplate[%zu] = {",
                 bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(out, "%s0x%02X,", i % 16 == 0 ? "\n    " : " ", bytes[i]);
    std::fprintf(out, "\n};\n\n} // namespace\n\n"
                      "std::span<const uint8_t> embeddedConverterTemplate() {\n"
                      "    return kTemplate;\n}\n\n} // namespace kelvarn::app\n");
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
