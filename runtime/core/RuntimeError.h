#pragma once
// The runtime error report: one modal box headed "运行时出错!", then the process ends with exit
// code -1. Until the windowing runtime installs the box, the report goes to standard error.

#include <cstdint>
#include <string>

namespace kelvarn::runtime {

// Shows the report for the caller's own `message` (GB text, may be null or empty) and `code`,
// and ends the process through `EndProgram`(-1) without running the exit procedures. Does not
// return.
[[noreturn]] void endWithRuntimeError(const char* message, int32_t code);

// `ReportRuntimeError` (runtime entry 0): the numbered message of `code` (1 to 11; others have
// none). Does not return.
[[noreturn]] void ReportRuntimeError(int32_t code);

// The step that shows the box text and waits for it to be closed. The default writes the text
// (as UTF-8) to standard error. Replaced once by the windowing runtime at start-up; null
// restores the default.
using RuntimeErrorPresenter = void (*)(const char* boxText);
void setRuntimeErrorPresenter(RuntimeErrorPresenter presenter);

// The message of numbered error `code`, null for codes without one.
const char* numberedErrorMessage(int32_t code);
// The box text: the heading, the code line when `code` is not 0, the message line when
// `message` is not empty.
std::string runtimeErrorText(const char* message, int32_t code);

} // namespace kelvarn::runtime
