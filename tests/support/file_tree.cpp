#include "file_tree.h"

#include <windows.h>

#include <vector>

namespace support {

namespace {

bool Failed(std::string* error, const std::string& what) {
    if (error != nullptr)
        *error = what + ", err = " + std::to_string(GetLastError());
    return false;
}

} // namespace

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveTree(const std::string& path, std::string* error) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    // A read-only file or directory cannot be deleted until the attribute is cleared.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileA(path.c_str()) || Failed(error, "cannot delete " + path);

    // The names are read first: deleting while the search is open may skip entries.
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    bool ok = true;
    for (const std::string& name : names)
        ok = RemoveTree(path + "\\" + name, error) && ok;
    return (RemoveDirectoryA(path.c_str()) || Failed(error, "cannot remove directory " + path)) &&
           ok;
}

} // namespace support
