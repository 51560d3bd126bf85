#pragma once

#include <windows.h>

#include "file_tree.h"
#include "held_file.h"
#include "whole_file.h"

#include <string>
#include <vector>

// Helpers of the file-installation tests: they watch the Installing dialog from inside the
// test's thread and switch the current directory (the copy job's source).

// Sees the Installing dialog as a person would, through a hook on the messages sent to the
// thread's windows, after they were handled: the dialog when it starts, each text of its two
// lines, each draw of its bar and what it drew. One watch at a time.
class InstallingWatch {
public:
    InstallingWatch();
    ~InstallingWatch();
    InstallingWatch(const InstallingWatch&) = delete;
    InstallingWatch& operator=(const InstallingWatch&) = delete;

    // How a draw left the bar, read from its top corners.
    enum BarState { barEmpty, barPartial, barFull };
    struct BarDraw {
        size_t file; // how many "Copying:" texts had been set by then
        BarState state;
    };

    HWND dialog = nullptr;
    std::vector<std::string> copying; // every text of control 1006, in order
    std::vector<std::string> to;      // every text of control 1007, in order
    std::vector<BarDraw> barDraws;    // every draw of the bar, control 1003

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    void Seen(const CWPRETSTRUCT& cwp);

    HHOOK hook_ = nullptr;
};

// Makes a directory the current one for the life of the object.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& path);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

private:
    char saved_[MAX_PATH];
};

using support::BytePattern;
using support::HeldFile;
using support::PathExists;
using support::ReadWholeFile;
