// SETUP's log (/LOG=) as the tests read it.
#pragma once

#include <string>
#include <vector>

namespace support {

// The lines of a log's text, each without its time stamp ("2026-12-08 18:30:12.345 ") after
// checking that it has one; a line "<...>" says what is wrong with a line: no stamp, or no line
// end after the last.
std::vector<std::string> LogLines(const std::string& text);

} // namespace support
