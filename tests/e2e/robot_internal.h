// Helpers shared by the robot's source files; not part of its interface.
#pragma once

#include "robot.h"

#include <string>

namespace robot {

constexpr DWORD kPollMs = 20;
// A window that does not answer a sent message within this time is treated as hung.
constexpr UINT kSendTimeoutMs = 3000;

std::string Lower(std::string s);
// File name of a process's program, lower case ("setup.exe"); empty if it cannot be read.
std::string ImageNameOf(DWORD pid);

} // namespace robot
