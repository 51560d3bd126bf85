// The two reference copies that SETUP.EXE is measured against, run inside the benchmark process
// on the same files and into the same destination.
#pragma once

#include "Media.h"

#include <string>

namespace bench {

// The floor the copy design allows: each file read and written in 4096-byte blocks through one
// buffer, with the thread's message queue drained once per file and twice per block (before
// and after each write), and nothing painted. `dest` must exist.
bool CopyFloor(const Medium& medium, const std::string& dest, std::string* error);
// The same blocks with no drain at all: the floor of a silent copy, which has no window to keep
// responsive. What it costs beyond CopyFileA is the price of 4096-byte blocks.
bool CopyFloorNoDrain(const Medium& medium, const std::string& dest, std::string* error);

// A visible top-level window of the calling thread, painted once when made and never again.
// SETUP drains from a thread that owns windows, so its floor does too; the same loop from a
// thread without windows is measured beside it.
class IdleWindow {
public:
    IdleWindow();
    ~IdleWindow();
    IdleWindow(const IdleWindow&) = delete;
    IdleWindow& operator=(const IdleWindow&) = delete;

private:
    HWND hwnd_;
};

// Microseconds per empty drain of the calling thread's queue, the mean over `count` drains.
double EmptyDrainMicroseconds(int count);

// The raw limit: CopyFileA for each file. `dest` must exist.
bool CopyWithCopyFile(const Medium& medium, const std::string& dest, std::string* error);

} // namespace bench
