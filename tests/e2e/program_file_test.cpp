// SETUP.EXE as a file on the medium: a 32-bit Windows GUI program that needs nothing but the
// system's own libraries, with the version record that Explorer's properties show.
#include "setup_fixture.h"

#include <winver.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
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
    std::map<std::string, std::set<std::string>> imported; // library to functions, by name
    for (size_t offset = OffsetOf(image, nt, imports.VirtualAddress);
         offset + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + offset);
        if (entry->Name == 0)
            break;
        std::string name = image.c_str() + OffsetOf(image, nt, entry->Name);
        std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        std::set<std::string>& functions = imported[name];
        // A 32-bit image's thunks are 32-bit, whatever this program's own size.
        for (size_t thunk = OffsetOf(image, nt, entry->OriginalFirstThunk);
             thunk + sizeof(DWORD) <= image.size(); thunk += sizeof(DWORD)) {
            DWORD value = *reinterpret_cast<const DWORD*>(image.data() + thunk);
            if (value == 0)
                break;
            functions.insert(value & IMAGE_ORDINAL_FLAG32
                                 ? "#" + std::to_string(value & 0xFFFF)
                                 : image.c_str() + OffsetOf(image, nt, value) + 2);
        }
    }
    // Only the system's core libraries, which every Windows system has: no C run-time library
    // (Windows 95 came without one) and nothing from the medium; the common dialogs are loaded
    // when they are first needed. And of those, only functions that Windows 95 and NT 4.0 have:
    // a program that imports one they lack does not start there at all. A newer one is looked up
    // at run time. Each library's functions, separated by spaces:
    const std::map<std::string, std::string> windows40 = {
        {"GDI32.DLL", "CreateFontA CreateSolidBrush DeleteObject GetTextExtentPointA "
                      "RemoveFontResourceA SelectObject SetBkMode SetTextColor TextOutA"},
        {"KERNEL32.DLL",
         "CloseHandle CreateDirectoryA CreateFileA ExitProcess FindResourceA GetCommandLineA "
         "GetCurrentDirectoryA GetFileAttributesA GetFileSize GetFullPathNameA GetLastError "
         "GetModuleFileNameA GetModuleHandleA GetProcAddress GetProcessHeap GetStartupInfoA "
         "GetSystemDirectoryA GetWindowsDirectoryA HeapAlloc HeapFree HeapReAlloc "
         "IsDBCSLeadByte LoadLibraryA LoadLibraryExA LoadResource LockResource ReadFile "
         "SetCurrentDirectoryA "
         "SetLastError WideCharToMultiByte WriteFile lstrcpyA lstrcpynA lstrlenA lstrlenW"},
        {"USER32.DLL",
         "BeginPaint CreateDialogParamA DdeClientTransaction DdeConnect "
         "DdeCreateDataHandle DdeCreateStringHandleA DdeDisconnect DdeFreeStringHandle "
         "DdeInitializeA DdeUninitialize DestroyWindow DialogBoxParamA DispatchMessageA "
         "DrawIcon EnableWindow EndDialog EndPaint FillRect GetClientRect GetDlgItem "
         "GetLastActivePopup GetParent GetPropA GetSystemMetrics GetWindow "
         "GetWindowLongA GetWindowRect GetWindowTextA GetWindowTextLengthA "
         "InvalidateRect IsChild IsDialogMessageA IsIconic IsWindow IsWindowVisible "
         "LoadIconA MessageBoxA MoveWindow PeekMessageA RemovePropA SendMessageA "
         "SetDlgItemTextA SetFocus SetPropA SetWindowLongA SetWindowPos SetWindowTextA "
         "ShowWindow SystemParametersInfoA TranslateMessage WinHelpA"},
    };
    std::set<std::string> libraries;
    for (const auto& entry : imported)
        libraries.insert(entry.first);
    EXPECT_EQ((std::set<std::string>{"GDI32.DLL", "KERNEL32.DLL", "USER32.DLL"}), libraries)
        << "the libraries that SETUP.EXE imports";
    for (const auto& [library, functions] : imported) {
        auto known = windows40.find(library);
        if (known == windows40.end()) {
            ADD_FAILURE() << library << " is not a system library";
            continue;
        }
        for (const std::string& function : functions)
            EXPECT_NE(std::string::npos, (" " + known->second + " ").find(" " + function + " "))
                << library << "!" << function
                << " is not known to exist on Windows 95 and NT 4.0: look it up at run time, or "
                   "add it here once it is checked";
    }
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
