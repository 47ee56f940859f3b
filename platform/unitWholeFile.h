#pragma once
// A file read whole into memory, for the readers that decode from bytes.

#include <cstdint>
#include <string>
#include <vector>

// Raises EInOutError when the file cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& Path);
