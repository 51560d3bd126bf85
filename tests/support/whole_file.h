// A file's whole content at once, and the content of test files.
#pragma once

#include <cstddef>
#include <string>

namespace support {

// The whole content of a file, or empty when it cannot be read. Writers and deleters may hold
// the file meanwhile (a log that is still being written).
std::string ReadWholeFile(const std::string& path);
// Creates or truncates the file and writes `content`; false unless every byte was written.
bool WriteWholeFile(const std::string& path, const std::string& content);

// n bytes of a pattern that differs between blocks and between seeds, so that a misplaced,
// repeated or foreign block shows.
std::string BytePattern(size_t n, unsigned seed);

} // namespace support
