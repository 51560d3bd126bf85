#pragma once

#include "file_tree.h"

#include <string>

// A fresh directory under the system's temporary directory, removed with its contents when the
// object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();

    const std::string& path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "\\" + name; }
    std::string WriteFile(const std::string& name, const std::string& content) const;

private:
    std::string path_;
};

using support::RemoveTree;
