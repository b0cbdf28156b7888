#pragma once
// The application's window table: (window id, window record) pairs in the order the form
// template listed them. The records live until the program ends and never move.

#include "ui/template/WindowRecord.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kelvarn::ui {

class WindowTable {
public:
    // The first record with this id, or null.
    WindowRecord* find(uint32_t id);
    const WindowRecord* find(uint32_t id) const;

    size_t size() const { return m_records.size(); }
    WindowRecord& at(size_t index) { return *m_records.at(index); }
    const WindowRecord& at(size_t index) const { return *m_records.at(index); }

    // Appends behind any windows already present.
    void append(std::unique_ptr<WindowRecord> record);
    void clear() { m_records.clear(); }

private:
    std::vector<std::unique_ptr<WindowRecord>> m_records;
};

} // namespace kelvarn::ui
