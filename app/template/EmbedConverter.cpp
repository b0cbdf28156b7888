// Writes what the converter embeds, from its readable descriptions: the form template, as
// buildConverterTemplate() produces it, into a C++ source file that defines
// embeddedConverterTemplate(); the literals of ConverterTexts.cpp, turned into the program's
// code page, into a header of fixed-size arrays (one structure per text block). Run by the
// build.

#include "app/template/ConverterTemplate.h"
#include "app/template/ConverterTexts.h"
#include "platform/files/Codepage.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using kelvarn::app::NamedText;
using kelvarn::app::TextBlock;

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// `bytes` as a C++ string literal: printable ASCII as itself, every other byte as a hex escape.
// A hex escape swallows the hex digits after it, so the literal is split there.
std::string literal(std::string_view bytes) {
    std::string out = "\"";
    bool afterHexEscape = false;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
            afterHexEscape = true;
            continue;
        }
        if (afterHexEscape && isHexDigit(c))
            out += "\" \"";
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
        afterHexEscape = false;
    }
    return out + "\"";
}

// The UTF-8 text for a comment: line breaks and backslashes shown escaped, so the comment stays
// on its line.
std::string readable(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\' || c == '"')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

void writeBlock(std::FILE* out, const TextBlock& block) {
    const std::string type(block.type);
    std::fprintf(out, "// %.*s Texts are GBK bytes.\nstruct %s {\n",
                 static_cast<int>(block.comment.size()), block.comment.data(), type.c_str());
    for (const NamedText& text : block.texts) {
        const std::string bytes = kelvarn::platform::utf8ToGb(text.text);
        std::fprintf(out, "    char %.*s[%zu]; // %s\n", static_cast<int>(text.member.size()),
                     text.member.data(), bytes.size() + 1, readable(text.text).c_str());
    }
    std::fprintf(out, "};\n\nconstexpr %s %.*s() {\n    return {\n", type.c_str(),
                 static_cast<int>(block.function.size()), block.function.data());
    for (const NamedText& text : block.texts)
        std::fprintf(out, "        %s,\n", literal(kelvarn::platform::utf8ToGb(text.text)).c_str());
    std::fprintf(out, "    };\n}\n\n");
}

bool writeTemplate(const char* path) {
    const std::vector<uint8_t> bytes = kelvarn::app::buildConverterTemplate();
    std::FILE* out = std::fopen(path, "w");
    if (!out)
        return false;
    std::fprintf(out,
                 "// Generated from app/template/ConverterTemplate.cpp by the build; do not edit.\n"
                 "#include \"app/EmbeddedTemplate.h\"\n\n"
                 "namespace kelvarn::app {\nnamespace {\n\n"
                 "const uint8_t kTemplate[%zu] = {",
                 bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(out, "%s0x%02X,", i % 16 == 0 ? "\n    " : " ", bytes[i]);
    std::fprintf(out, "\n};\n\n} // namespace\n\n"
                      "std::span<const uint8_t> embeddedConverterTemplate() {\n"
                      "    return kTemplate;\n}\n\n} // namespace kelvarn::app\n");
    return std::fclose(out) == 0;
}

bool writeTexts(const char* path) {
    std::FILE* out = std::fopen(path, "w");
    if (!out)
        return false;
    std::fprintf(out,
                 "// Generated from app/template/ConverterTexts.cpp by the build; do not edit.\n"
                 "#pragma once\n\n"
                 "namespace kelvarn::app {\n\n");
    for (const TextBlock& block : kelvarn::app::converterTextBlocks())
        writeBlock(out, block);
    std::fprintf(out, "} // namespace kelvarn::app\n");
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TEMPLATE.cpp TEXTS.h\n", argv[0]);
        return 2;
    }
    if (!writeTemplate(argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    if (!writeTexts(argv[2])) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
