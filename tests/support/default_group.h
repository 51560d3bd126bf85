// The program group of a default install, as Program Manager receives it.
#pragma once

#include <string>
#include <vector>

namespace support {

// The six commands of a default install, in order: the destination C:\ZEL\ as proposed.
inline const std::vector<std::string> kDefaultGroupCommands = {
    "[DeleteGroup(ZEL)]",
    "[CreateGroup(ZEL)]",
    "[ShowGroup(ZEL,1)]",
    "[AddItem(ZEL, ZEL, C:\\ZEL\\ZEL.EXE,, -1, -1, C:\\ZEL)]",
    "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, C:\\ZEL)]",
    "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, C:\\ZEL)]",
};

} // namespace support
