// File operations of the robot: preparing a test's directories and proving what a run changed.
#include "robot.h"

#include <algorithm>
#include <cctype>

namespace robot {
namespace {

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// A double-byte character of the ANSI code page may end in 0x5C, the byte of '\\': only a last
// character that is a backslash ends the directory with a separator.
std::string Join(const std::string& dir, const std::string& name) {
    if (!dir.empty() && *CharPrevA(dir.c_str(), dir.c_str() + dir.size()) == '\\')
        return dir + name;
    return dir + "\\" + name;
}

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Calls visit(name, findData) for each entry of dir except "." and "..".
template <typename Visit> bool ForEachEntry(const std::string& dir, Visit visit) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(Join(dir, "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        if (!IsDots(fd.cFileName) && !visit(std::string(fd.cFileName), fd)) {
            ok = false;
            break;
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return ok;
}

bool SumInto(const std::string& dir, const std::string& rel, TreeSums* sums, std::string* error) {
    return ForEachEntry(dir, [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        std::string path = Join(dir, name);
        std::string relName = rel.empty() ? name : rel + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return SumInto(path, relName, sums, error);
        FileSum sum;
        if (!SumFile(path, &sum)) {
            *error = "cannot read " + path + ": " + LastErrorText();
            return false;
        }
        (*sums)[Upper(relName)] = sum;
        return true;
    });
}

void ListInto(const std::string& dir, const std::string& rel, std::vector<std::string>* out) {
    ForEachEntry(dir, [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        std::string relName = rel.empty() ? name : rel + "\\" + name;
        out->push_back(relName);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListInto(Join(dir, name), relName, out);
        return true;
    });
}

} // namespace

bool SumFile(const std::string& path, FileSum* sum) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    uint64_t hash = 0xcbf29ce484222325ull;
    uint64_t size = 0;
    static char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    for (;;) {
        if (!ReadFile(h, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        for (DWORD i = 0; i < got; ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 0x100000001b3ull;
        }
        size += got;
    }
    CloseHandle(h);
    sum->size = size;
    sum->hash = hash;
    return ok;
}

bool SumTree(const std::string& root, TreeSums* sums, std::string* error) {
    sums->clear();
    if (!IsDirectory(root)) {
        *error = "no directory " + root;
        return false;
    }
    return SumInto(root, "", sums, error);
}

std::string DiffSums(const TreeSums& before, const TreeSums& after) {
    std::string out;
    for (const auto& [name, sum] : before) {
        auto it = after.find(name);
        if (it == after.end())
            out += "removed: " + name + "\n";
        else if (it->second != sum)
            out += "changed: " + name + " (" + std::to_string(sum.size) + " -> " +
                   std::to_string(it->second.size) + " bytes)\n";
    }
    for (const auto& entry : after)
        if (before.find(entry.first) == before.end())
            out += "added: " + entry.first + "\n";
    return out;
}

std::vector<std::string> ListTree(const std::string& root, const std::vector<std::string>& skip) {
    std::vector<std::string> out;
    ForEachEntry(root, [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        for (const std::string& s : skip)
            if (Upper(s) == Upper(name))
                return true;
        out.push_back(name);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListInto(Join(root, name), name, &out);
        return true;
    });
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace robot
