#include "setup_log.h"

#include <cctype>

namespace support {

std::vector<std::string> LogLines(const std::string& text) {
    const std::string stamp = "dddd-dd-dd dd:dd:dd.ddd ";
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back("<unended line: " + text.substr(at) + ">");
            break;
        }
        const std::string line = text.substr(at, end - at);
        at = end + 2;
        bool stamped = line.size() > stamp.size();
        for (size_t i = 0; stamped && i < stamp.size(); i++)
            stamped = stamp[i] == 'd' ? isdigit(static_cast<unsigned char>(line[i])) != 0
                                      : line[i] == stamp[i];
        lines.push_back(stamped ? line.substr(stamp.size()) : "<unstamped: " + line + ">");
    }
    return lines;
}

} // namespace support
