// Dispatching a thread's messages while a test waits, as a program's message loop would.
#pragma once

#include <windows.h>

namespace support {

// Decides whether a message is handled before it is dispatched (a framework's
// PreTranslateMessage, which takes a dialog's keys); true: it is not dispatched.
using PreTranslate = bool (*)(MSG* msg);

// Dispatches every message waiting now.
void PumpMessages(PreTranslate preTranslate = nullptr);
// Dispatches what comes for about `ms` milliseconds: the window system delivers some of a new
// window's paints only after a moment.
void PumpMessagesFor(DWORD ms, PreTranslate preTranslate = nullptr);
// Dispatches until WM_QUIT, as a server thread's loop does.
void RunMessageLoop();

} // namespace support
