// What a test finds on disk, and removing what it made there.
#pragma once

#include <string>

namespace support {

// A file or directory by that name exists.
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);

// Removes a file, or a directory with everything below it, read-only entries included. A path
// that does not exist counts as removed. On failure `error` (when given) names what was left;
// the rest is removed all the same.
bool RemoveTree(const std::string& path, std::string* error = nullptr);

} // namespace support
