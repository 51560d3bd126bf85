#pragma once

#include <windows.h>

#include <string>

// A fresh directory under the system's temporary directory, removed with its contents (one
// level of subdirectories deep is enough for these tests) when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();

    const std::string& path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    std::string WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;

private:
    std::string m_path;
};

// Removes a directory tree; used by the tests that make directories.
void RemoveTree(const std::string& path);
