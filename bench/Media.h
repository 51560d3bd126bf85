// The two distribution media the benchmark installs from, each a directory holding SETUP.EXE
// and the ten product files under the names SETUP copies: the sample medium as built, and a
// large medium whose product files are pseudo-random bytes.
#pragma once

#include "robot.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct Medium {
    std::string dir;                // Windows path, no trailing backslash
    std::vector<std::string> files; // the product files, in SETUP's copy order
    uint64_t bytes = 0;             // total size of the product files
    robot::TreeSums sums;           // of the product files, by upper-case name
};

// The product files in SETUP's copy order, taken from the program's own manifest.
std::vector<std::string> ProductFiles();

// Replaces `dir` with SETUP.EXE and the product files copied from the built medium `built`.
bool StageSample(const std::string& built, const std::string& dir, std::string* error);
// Replaces `dir` with SETUP.EXE from `built` and product files of `totalBytes` bytes in all,
// of unequal sizes that are not multiples of the copy block, filled with pseudo-random bytes.
bool StageLarge(const std::string& built, const std::string& dir, uint64_t totalBytes,
                std::string* error);

// Reads what a staged medium holds; fails unless it is exactly SETUP.EXE and the product files.
bool LoadMedium(const std::string& dir, Medium* medium, std::string* error);

// Removes `dir` if it exists; with `create`, makes it again, empty.
bool ResetDirectory(const std::string& dir, bool create, std::string* error);

// Checks that `dest` holds exactly the medium's product files: byte for byte when `contents`,
// by size otherwise.
bool CheckInstalled(const Medium& medium, const std::string& dest, bool contents,
                    std::string* error);

} // namespace bench
