#pragma once
// The runtime error report: one modal box headed "运行时出错!", then the process ends with exit
// code -1. Until the windowing runtime installs the box, the report goes to standard error.

#include <cstdint>

namespace kelvarn::runtime {

// Shows the report for `message` (GB text, may be null or empty) and `code`, and ends the
// process. Does not return.
[[noreturn]] void reportRuntimeError(const char* message, int32_t code);

// `ReportRuntimeError` (runtime entry 0): the numbered message of `code` (1 to 11; others have
// none). Does not return.
[[noreturn]] void ReportRuntimeError(int32_t code);

// The step that shows the box text and waits for it to be closed. The default writes the text
// to standard error. Replaced once by the windowing runtime at start-up.
using RuntimeErrorPresenter = void (*)(const char* boxText);
void setRuntimeErrorPresenter(RuntimeErrorPresenter presenter);

} // namespace kelvarn::runtime
