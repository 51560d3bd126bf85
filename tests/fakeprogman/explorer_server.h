// Wine's desktop process (explorer.exe) registers its own DDE server for PROGMAN. A fake Program
// Manager has to silence it first, or a client may reach explorer instead of the fake.
#pragma once

#include <windows.h>

// Posts WM_CLOSE to every window of class WineDdeServerName that belongs to explorer.exe (the
// window through which Wine's DDE library answers WM_DDE_INITIATE for one service name) and
// returns how many it posted to.
int CloseExplorerDdeServers();

// Closes explorer's servers until PROGMAN no longer answers. Explorer registers its names right
// after it makes its DDE instance; as long as neither a name nor the instance has been seen, it
// waits up to settleMs for them. Returns false when PROGMAN still answers after timeoutMs.
// Windows are found again until they are gone, so windowsClosed, the number of WM_CLOSE posted,
// may exceed the number of explorer's servers.
bool SilenceExplorerProgman(DWORD settleMs, DWORD timeoutMs, int* windowsClosed);
