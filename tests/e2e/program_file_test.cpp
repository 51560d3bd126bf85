// SETUP.EXE as a file on the medium: a 32-bit Windows GUI program that needs nothing but the
// system's own libraries, with the version record that Explorer's properties show; and its
// defences: the manifest that keeps a program named SETUP from being taken for an installer that
// needs elevation, and a library search that never reaches the program's own directory (the
// medium, maybe a download folder) or its current directory.
#include "setup_fixture.h"

#include <tlhelp32.h>
#include <winver.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace {

const char kLaunchDir[] = "C:\\LAUNCH";
const char kMarkerDir[] = "C:\\MARKERS";

// Libraries planted beside SETUP.EXE and in its current directory.
const std::vector<std::string> kPlanted = {
    "CTL3D32.DLL", "VERSION.DLL", "COMDLG32.DLL", "UXTHEME.DLL", "DWMAPI.DLL",
    "WINMM.DLL",   "MSIMG32.DLL", "OLEAUT32.DLL", "USERENV.DLL", "RICHED20.DLL",
};
// Of those, VERSION is in SETUP by the time Welcome shows although the program asks for nothing
// that needs it: Wine loads it with the program, and takes its built-in one, so it keeps the
// system's order. For SETUP and the probe, every other planted name is made to prefer a library
// found on the search path to the system's own (Wine's per-program DllOverrides), so that any
// search which reached the medium or the current directory would load the plant. That includes
// COMDLG32 (and UXTHEME, which comes with it under Wine), which SETUP loads only when Browse... is
// pressed, by its full path in the system directory.
const std::vector<std::string> kLoadedBeforeTheProgram = {"VERSION.DLL"};
const char kProbeExe[] = "DLLPROBE.EXE";
const char* const kOverridden[] = {"SETUP.EXE", kProbeExe};
const std::string kAppDefaults = "Software\\Wine\\AppDefaults\\";

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The paths of the modules loaded in process `pid`.
std::vector<std::string> ModulesOf(DWORD pid) {
    std::vector<std::string> paths;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE)
        return paths;
    MODULEENTRY32 module;
    module.dwSize = sizeof module;
    for (BOOL ok = Module32First(snapshot, &module); ok; ok = Module32Next(snapshot, &module))
        paths.push_back(module.szExePath);
    CloseHandle(snapshot);
    return paths;
}

class ProgramFile : public SetupTest {
protected:
    void TearDown() override {
        setup_.Terminate();
        std::string error;
        for (const std::string& name : kPlanted)
            EXPECT_TRUE(robot::RemoveTree(std::string(kMediumDir) + "\\" + name, &error)) << error;
        EXPECT_TRUE(robot::RemoveTree(std::string(kMediumDir) + "\\" + kProbeExe, &error)) << error;
        EXPECT_TRUE(robot::RemoveTree(kMarkerDir, &error)) << error;
        for (const char* program : kOverridden)
            RegDeleteTreeA(HKEY_CURRENT_USER, (kAppDefaults + program).c_str());
        SetupTest::TearDown();
    }

    // Plants the marker library under every name beside SETUP.EXE and in C:\LAUNCH, and has the
    // programs started from here on prefer the plants where the system lets a program choose.
    void Plant() {
        ASSERT_TRUE(MakeDirBeforeRun(kLaunchDir));
        const std::string planted = HelperPath("planted.dll");
        for (const std::string& name : kPlanted)
            for (const std::string& dir : {std::string(kMediumDir), std::string(kLaunchDir)})
                ASSERT_TRUE(CopyFileA(planted.c_str(), (dir + "\\" + name).c_str(), FALSE))
                    << planted << " to " << dir << ": " << robot::LastErrorText();
        for (const char* program : kOverridden) {
            HKEY key = nullptr;
            const std::string path = kAppDefaults + program + "\\DllOverrides";
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                                     KEY_SET_VALUE, nullptr, &key, nullptr))
                << path;
            for (const std::string& name : kPlanted) {
                if (Contains(kLoadedBeforeTheProgram, name))
                    continue;
                const std::string module = name.substr(0, name.find('.'));
                static const char kNativeFirst[] = "native,builtin";
                EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, module.c_str(), 0, REG_SZ,
                                                        reinterpret_cast<const BYTE*>(kNativeFirst),
                                                        sizeof kNativeFirst));
            }
            RegCloseKey(key);
        }
    }

    // The markers left so far: library name to the marker's text (the library's path, the
    // program's path).
    static std::map<std::string, std::string> Markers() {
        std::map<std::string, std::string> markers;
        for (const std::string& file : robot::ListTree(kMarkerDir, {}))
            markers[file.substr(0, file.size() - 4)] =
                ReadWholeFile(std::string(kMarkerDir) + "\\" + file);
        return markers;
    }

    // The SETUP.EXE that ships (the 32-bit one also where the tests run a 64-bit build).
    const std::string product_ = robot::Env("E2E_PRODUCT", kSetupExe);
};

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
    const std::string image = ReadWholeFile(product_);
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
         "GetLocalTime GetModuleFileNameA GetModuleHandleA GetProcAddress GetProcessHeap "
         "GetStartupInfoA GetSystemDirectoryA GetVersionExA GetWindowsDirectoryA HeapAlloc "
         "HeapFree HeapReAlloc IsDBCSLeadByte LoadLibraryA LoadLibraryExA LoadResource "
         "LockResource ReadFile SetCurrentDirectoryA SetFilePointer "
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

// Windows 95 runs on a 386DX and NT 4.0 on a 486, and most machines that ran them (a 486, a
// Pentium, a K5 or K6) have no cmov, fcmov, fcomi or fucomi (from the Pentium Pro on) and no SSE;
// bswap, cmpxchg and xadd (from the 486 on) SETUP does not need. One of them stops SETUP there
// with an illegal instruction, which Wine on a modern processor never shows: so the shipped
// file's own disassembly, as the runner made it, is read.
TEST_F(ProgramFile, HoldsNoInstructionNewerThanThe386) {
    const std::string path = robot::Env("E2E_PRODUCT_DISASSEMBLY");
    ASSERT_NE("", path) << "E2E_PRODUCT_DISASSEMBLY names no disassembly";
    const std::string listing = ReadWholeFile(path);
    EXPECT_NE(std::string::npos, listing.find("file format pei-i386"))
        << path << " is not the disassembly of a 32-bit program";
    const char* const newer[] = {"cmov", "fcmov", "fcomi", "fucomi", "bswap", "cmpxchg", "xadd"};
    size_t instructions = 0;
    std::string found;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        // An instruction's line: "  401000:<tab>55<tab>push   %ebp", the address, its bytes, its
        // text; a lock prefix is written before the mnemonic.
        const size_t bytes = line.find('\t');
        const size_t text = bytes == std::string::npos ? bytes : line.find('\t', bytes + 1);
        if (text == std::string::npos)
            continue;
        instructions++;
        std::istringstream words(line.substr(text + 1));
        std::string mnemonic;
        words >> mnemonic;
        if (mnemonic == "lock")
            words >> mnemonic;
        bool isNewer = line.find("%xmm", text) != std::string::npos;
        for (const char* name : newer)
            isNewer = isNewer || mnemonic.rfind(name, 0) == 0;
        if (isNewer)
            found += "\n" + line;
    }
    EXPECT_GT(instructions, 1000u) << "got " << instructions << " instructions in " << path
                                   << ", expected the whole program's";
    EXPECT_EQ("", found) << "got instructions newer than the 386's, expected none";
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

TEST_F(ProgramFile, TheManifestAsksToRunAsTheInvokerOnTheSupportedSystems) {
    HMODULE setup = LoadLibraryExA(kSetupExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup) << robot::LastErrorText();
    HRSRC resource = FindResourceA(setup, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_NE(nullptr, resource) << "no RT_MANIFEST resource 1 in " << kSetupExe;
    HGLOBAL data = LoadResource(setup, resource);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    ASSERT_NE(nullptr, bytes);
    const std::string manifest(bytes, SizeofResource(setup, resource));
    FreeLibrary(setup);

    EXPECT_NE(std::string::npos,
              manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"))
        << manifest;
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0",  // Vista
                           "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  // 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",  // 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",  // 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) // 10 and 11
        EXPECT_NE(std::string::npos,
                  manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"))
            << os;
}

TEST_F(ProgramFile, PlantedLibrariesAreNotLoaded) {
    Plant();

    // The plants work: a program beside SETUP.EXE that loads these libraries the plain way gets
    // the planted ones.
    const std::string probe = std::string(kMediumDir) + "\\" + kProbeExe;
    ASSERT_TRUE(CopyFileA(HelperPath("dll_probe.exe").c_str(), probe.c_str(), FALSE));
    std::vector<std::string> nativeFirst;
    std::string commandLine = "\"" + probe + "\"";
    for (const std::string& name : kPlanted)
        if (!Contains(kLoadedBeforeTheProgram, name)) {
            nativeFirst.push_back(name);
            commandLine += " " + name;
        }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               kLaunchDir, &si, &pi))
        << robot::LastErrorText();
    CloseHandle(pi.hThread);
    DWORD probeCode = 1234;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000));
    GetExitCodeProcess(pi.hProcess, &probeCode);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(0u, probeCode);
    std::map<std::string, std::string> markers = Markers();
    for (const std::string& name : nativeFirst)
        EXPECT_EQ(Upper(std::string(kMediumDir) + "\\" + name + "\r\n" + probe),
                  Upper(markers[name]))
            << name << " was not taken from beside the probe";
    std::string error;
    ASSERT_TRUE(robot::RemoveTree(kMarkerDir, &error)) << error;

    // SETUP, started from the planted current directory, through a whole install: Browse...
    // (the file dialog), the copy, the program group (DDE) and the closing dialogs.
    ASSERT_TRUE(fake_.Start());
    HWND directory = Reach(Step::kInstallDirectory, kProposed, kLaunchDir);
    ASSERT_NE(nullptr, directory);
    ASSERT_TRUE(Click(directory, IDC_DIRECTORY_BROWSE));
    HWND browse = WaitDialog("Select Directory");
    ASSERT_NE(nullptr, browse);
    ASSERT_TRUE(Click(browse, IDCANCEL));
    ASSERT_TRUE(Gone(browse));
    ASSERT_TRUE(Click(directory, IDOK));
    ASSERT_TRUE(Gone(directory));
    HWND group = AnswerUntil(kGroupCaption);
    ASSERT_NE(nullptr, group);
    HWND success = PastGroup(group);
    ASSERT_NE(nullptr, success);
    EXPECT_EQ(Texts{}, messages_);
    EXPECT_EQ(6u, Commands(fake_.Events()).size()) << fake_.Log();

    std::vector<std::string> modules = ModulesOf(setup_.Id());
    EXPECT_GT(modules.size(), 3u) << "the module list of SETUP could not be read";
    for (const std::string& path : modules) {
        const std::string upper = Upper(path);
        EXPECT_NE(0u, upper.find(Upper(kLaunchDir) + "\\"))
            << path << " from the current directory";
        EXPECT_EQ(std::string::npos, upper.find("CTL3D32"))
            << path << ": 3-D controls load nothing";
    }
    ASSERT_TRUE(CloseSuccess(success));
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    markers = Markers();
    for (const auto& [name, text] : markers)
        ADD_FAILURE() << name << " was loaded: " << text;
}

} // namespace
