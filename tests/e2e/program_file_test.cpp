// SETUP.EXE as a file on the medium: a 32-bit Windows GUI program that needs nothing but the
// system's own libraries, with the version record that Explorer's properties show.
#include "setup_fixture.h"

#include <winver.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

class ProgramFile : public SetupTest {
protected:
    // The SETUP.EXE that ships (the 32-bit one also where the tests run a 64-bit build).
    const std::string product_ = robot::Env("E2E_PRODUCT", kSetupExe);
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file offset of a relative virtual address, through the section table.
size_t OffsetOf(const std::string& image, const IMAGE_NT_HEADERS32* nt, DWORD rva) {
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; i++, section++) {
        if (rva >= section->VirtualAddress &&
            rva < section->VirtualAddress + section->SizeOfRawData)
            return rva - section->VirtualAddress + section->PointerToRawData;
    }
    return image.size();
}

std::string VersionString(const std::vector<char>& info, const std::string& name) {
    void* value = nullptr;
    UINT length = 0;
    std::string key = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(info.data(), key.c_str(), &value, &length) || length == 0)
        return "<missing>";
    return static_cast<const char*>(value);
}

TEST_F(ProgramFile, IsA32BitGuiProgramImportingOnlySystemLibraries) {
    const std::string image = ReadAll(product_);
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
    ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32), image.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    ASSERT_EQ(IMAGE_NT_SIGNATURE, nt->Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, nt->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem);

    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t offset = OffsetOf(image, nt, imports.VirtualAddress);
    std::set<std::string> names;
    for (; offset + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + offset);
        if (entry->Name == 0)
            break;
        std::string name = image.c_str() + OffsetOf(image, nt, entry->Name);
        std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        names.insert(name);
    }
    // No MinGW run-time library, nothing from the medium: only what every Windows system has.
    const std::set<std::string> system = {"COMDLG32.DLL", "GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL",
                                          "USER32.DLL"};
    EXPECT_FALSE(names.empty());
    for (const std::string& name : names)
        EXPECT_TRUE(system.count(name)) << name << " is not a system library";
}

TEST_F(ProgramFile, CarriesItsVersionRecord) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(product_.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(product_.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 1), static_cast<LONG>(fixed->dwFileVersionMS)); // 1, 0
    EXPECT_EQ(MAKELONG(1, 0), static_cast<LONG>(fixed->dwFileVersionLS)); // 0, 1
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);

    EXPECT_EQ("SETUP", VersionString(info, "InternalName"));
    EXPECT_EQ("SETUP.EXE", VersionString(info, "OriginalFilename"));
    EXPECT_EQ("SETUP MFC Application", VersionString(info, "FileDescription"));
    EXPECT_EQ("SETUP Application", VersionString(info, "ProductName"));
    EXPECT_EQ("1, 0, 0, 1", VersionString(info, "FileVersion"));
    EXPECT_EQ("1, 0, 0, 1", VersionString(info, "ProductVersion"));
}

} // namespace
