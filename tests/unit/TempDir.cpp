#include "TempDir.h"

#include <stdio.h>

TempDir::TempDir() {
    static int counter;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%ssetup-unit-%lu-%d", base, GetCurrentProcessId(), ++counter);
    m_path = name;
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), NULL);
}

TempDir::~TempDir() {
    RemoveTree(m_path);
}

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
    std::string path = Path(name);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, NULL);
    CloseHandle(h);
    return path;
}

std::string TempDir::ReadFile(const std::string& name) const {
    HANDLE h = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           0, NULL);
    std::string content;
    char buf[4096];
    DWORD n;
    while (::ReadFile(h, buf, sizeof buf, &n, NULL) && n > 0)
        content.append(buf, n);
    CloseHandle(h);
    return content;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}
