#pragma once
// The runtime error box: the report's text in a modal message box with no owner, caption "错误"
// and the error icon with a single OK button (kMbOk | kMbIconHand).

namespace kelvarn::runtime {

// Makes the box the runtime error report's presenter. Before the windowing system runs, the
// report still goes to standard error.
void installErrorBox();

} // namespace kelvarn::runtime
