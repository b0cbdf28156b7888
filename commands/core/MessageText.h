#pragma once
// The text a message box shows for a value of any basic type.

#include "runtime/core/ArgRecord.h"

#include <string>

namespace kelvarn::commands {

// Integers in decimal, single floats rounded to 6 significant digits then "%.6g", doubles
// "%.13g", logicals "真"/"假", date-times as "Y年M月D日" with the time parts that are not zero,
// texts as they are; any other type gives the empty text.
std::string messageText(const runtime::ArgRecord& value);

// A date-time (days since 30 December 1899, the fraction the time of day) in the message form.
std::string dateTimeText(double days);

} // namespace kelvarn::commands
