#pragma once
// Reading the form template: the window table, then one window record per window, then the
// relocation of every event procedure word. The reader returns failures as values;
// LoadFormTemplate turns them into the runtime error the program ends with.

#include "ui/template/WindowRecord.h"
#include "ui/template/WindowTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace kelvarn::ui {

enum class TemplateError {
    None,
    EarlyEnd,            // the stream ended inside a fixed-size field
    CountedFieldPastEnd, // a counted field's length runs past the end of the stream
    MalformedUnitBuffer, // the id and offset arrays do not describe records inside the buffer
    MalformedRecord,     // a record ends before its bindings (or a menu item's procedure word)
    OutOfMemory,
};

struct TemplateReadResult {
    TemplateError error = TemplateError::None;
    std::vector<std::unique_ptr<WindowRecord>> windows; // empty unless error is None
    size_t bytesRead = 0;                               // where the reader stopped

    bool ok() const { return error == TemplateError::None; }
};

TemplateReadResult readFormTemplate(std::span<const uint8_t> bytes, uint32_t codeBase);

// Turns every stored procedure word of the buffer into its loaded form: -1 becomes 0 (not
// bound), any other value v becomes codeBase + v. False when a record cannot be walked.
bool relocateBindings(UnitBuffer& units, uint32_t codeBase);

// Reads the template and appends its windows to `table` behind any windows already there. A
// template that cannot be read ends the program with the runtime error
// "载入窗口模板数据段出错!".
void LoadFormTemplate(const uint8_t* bytes, uint32_t length, uint32_t codeBase, WindowTable& table);

} // namespace kelvarn::ui
