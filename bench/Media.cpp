#include "Media.h"

#include "app/Manifest.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace bench {
namespace {

constexpr const char* kSetupName = "SETUP.EXE";

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool Copy(const std::string& from, const std::string& to, std::string* error) {
    if (CopyFileA(from.c_str(), to.c_str(), FALSE))
        return true;
    *error = "CopyFile " + from + " -> " + to + ": " + robot::LastErrorText();
    return false;
}

// xorshift64*: fast, and its output does not compress, so no layer can shortcut the copy.
class RandomBytes {
public:
    explicit RandomBytes(uint64_t seed) : state_(seed | 1) {}
    void Fill(uint64_t* words, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            state_ ^= state_ >> 12;
            state_ ^= state_ << 25;
            state_ ^= state_ >> 27;
            words[i] = state_ * 0x2545F4914F6CDD1Dull;
        }
    }

private:
    uint64_t state_;
};

bool WriteRandomFile(const std::string& path, uint64_t size, uint64_t seed, std::string* error) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *error = "cannot create " + path + ": " + robot::LastErrorText();
        return false;
    }
    constexpr size_t kWords = 1 << 17; // 1 MiB per write
    std::unique_ptr<uint64_t[]> buffer(new uint64_t[kWords]);
    RandomBytes random(seed);
    bool ok = true;
    for (uint64_t left = size; left > 0 && ok;) {
        random.Fill(buffer.get(), kWords);
        DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(left, kWords * sizeof(uint64_t)));
        DWORD written = 0;
        ok = WriteFile(h, buffer.get(), chunk, &written, nullptr) && written == chunk;
        left -= chunk;
    }
    if (!ok)
        *error = "cannot write " + path + ": " + robot::LastErrorText();
    CloseHandle(h);
    return ok;
}

} // namespace

std::vector<std::string> ProductFiles() {
    return std::vector<std::string>(kManifestFiles, kManifestFiles + kManifestFileCount);
}

bool ResetDirectory(const std::string& dir, bool create, std::string* error) {
    if (!robot::RemoveTree(dir, error))
        return false;
    if (create && !CreateDirectoryA(dir.c_str(), nullptr)) {
        *error = "cannot create " + dir + ": " + robot::LastErrorText();
        return false;
    }
    return true;
}

bool StageSample(const std::string& built, const std::string& dir, std::string* error) {
    if (!ResetDirectory(dir, true, error) ||
        !Copy(built + "\\" + kSetupName, dir + "\\" + kSetupName, error))
        return false;
    for (const std::string& name : ProductFiles())
        if (!Copy(built + "\\" + name, dir + "\\" + name, error))
            return false;
    return true;
}

bool StageLarge(const std::string& built, const std::string& dir, uint64_t totalBytes,
                std::string* error) {
    if (!ResetDirectory(dir, true, error) ||
        !Copy(built + "\\" + kSetupName, dir + "\\" + kSetupName, error))
        return false;
    std::vector<std::string> files = ProductFiles();
    // File i gets a share proportional to i + 1, so sizes range over a factor of ten; an odd
    // number of bytes is moved between neighbours so that no size is a multiple of 4096.
    uint64_t weights = files.size() * (files.size() + 1) / 2;
    uint64_t assigned = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        uint64_t size = totalBytes * (i + 1) / weights;
        if (i % 2 == 0)
            size += 1237;
        else
            size -= 1237;
        if (i + 1 == files.size())
            size = totalBytes - assigned;
        assigned += size;
        if (!WriteRandomFile(dir + "\\" + files[i], size, 0x5EED0000u + i, error))
            return false;
    }
    return true;
}

bool LoadMedium(const std::string& dir, Medium* medium, std::string* error) {
    robot::TreeSums all;
    if (!robot::SumTree(dir, &all, error))
        return false;
    medium->dir = dir;
    medium->files = ProductFiles();
    medium->bytes = 0;
    medium->sums.clear();
    if (!all.count(kSetupName)) {
        *error = "no " + std::string(kSetupName) + " in " + dir;
        return false;
    }
    for (const std::string& name : medium->files) {
        auto it = all.find(Upper(name));
        if (it == all.end()) {
            *error = "no " + name + " in " + dir;
            return false;
        }
        medium->sums.insert(*it);
        medium->bytes += it->second.size;
    }
    if (all.size() != medium->files.size() + 1) {
        *error = dir + " holds files other than SETUP.EXE and the product files";
        return false;
    }
    return true;
}

bool CheckInstalled(const Medium& medium, const std::string& dest, bool contents,
                    std::string* error) {
    robot::TreeSums found;
    if (contents) {
        if (!robot::SumTree(dest, &found, error))
            return false;
    } else {
        for (const std::string& name : medium.files) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (!GetFileAttributesExA((dest + "\\" + name).c_str(), GetFileExInfoStandard, &data))
                continue;
            robot::FileSum sum;
            sum.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            sum.hash = medium.sums.at(Upper(name)).hash;
            found[Upper(name)] = sum;
        }
    }
    std::string diff = robot::DiffSums(medium.sums, found);
    if (!diff.empty()) {
        *error = dest + " does not hold the files of " + medium.dir + ":\n" + diff;
        return false;
    }
    return true;
}

} // namespace bench
