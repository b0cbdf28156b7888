#include "ui/template/WindowTable.h"

namespace kelvarn::ui {

WindowRecord* WindowTable::find(uint32_t id) {
    for (auto& record : m_records)
        if (record->id == id)
            return record.get();
    return nullptr;
}

const WindowRecord* WindowTable::find(uint32_t id) const {
    return const_cast<WindowTable*>(this)->find(id);
}

void WindowTable::append(std::unique_ptr<WindowRecord> record) {
    m_records.push_back(std::move(record));
}

} // namespace kelvarn::ui
