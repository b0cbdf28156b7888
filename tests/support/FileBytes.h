#pragma once
// Whole files as bytes: the one reader and writer of the test suites.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvarn::testing {

using Bytes = std::vector<uint8_t>;

// Empty when the file cannot be read.
Bytes readFile(const std::string& path);
// Creates or truncates the file; true when every byte was written.
bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace kelvarn::testing
