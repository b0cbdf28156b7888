#pragma once
// The program's procedures and the code area that holds them. The code area is a table of
// procedures keyed by their offset; its base number is the program header's code-start word. A
// relocated procedure word (an event binding of the form template) holds base + offset, and the
// runtime calls the procedure found under that offset.

#include <cstdint>
#include <span>

namespace kelvarn::runtime {

// What a procedure hands back: whether it returned a value, and the value's two words (an
// integer or logical in `low`).
struct ProcedureResult {
    bool hasValue = false;
    uint32_t low = 0;
    uint32_t high = 0;

    static constexpr ProcedureResult nothing() { return {}; }
    static constexpr ProcedureResult integer(int32_t v) {
        return {true, static_cast<uint32_t>(v), 0};
    }
    static constexpr ProcedureResult logical(bool v) { return {true, v ? 1u : 0u, 0}; }
    static constexpr ProcedureResult words(uint32_t low, uint32_t high) {
        return {true, low, high};
    }
};

// A procedure takes its arguments as 32-bit words, the first argument first.
using Procedure = ProcedureResult (*)(std::span<const uint32_t> args);

struct CodeEntry {
    uint32_t offset = 0;
    Procedure procedure = nullptr;
};

// Replaces the code area: a copy of `entries` under `base`.
void installCodeArea(uint32_t base, std::span<const CodeEntry> entries);
void clearCodeArea();
uint32_t codeAreaBase();

// The relocated word of the procedure at `offset`.
uint32_t procedureWord(uint32_t offset);
// The procedure a relocated word names; null for 0 (not bound) and for an offset that holds no
// procedure.
Procedure procedureAt(uint32_t word);

} // namespace kelvarn::runtime
