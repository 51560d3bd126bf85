#include "TempDir.h"

#include "whole_file.h"

#include <windows.h>

#include <stdio.h>

TempDir::TempDir() {
    static int counter;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%ssetup-unit-%lu-%d", base, GetCurrentProcessId(), ++counter);
    path_ = name;
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
    std::string path = Path(name);
    support::WriteWholeFile(path, content);
    return path;
}
