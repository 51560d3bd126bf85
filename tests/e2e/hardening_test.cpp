// SETUP.EXE's defences: the manifest that keeps a program named SETUP from being taken for an
// installer that needs elevation, and a library search that never reaches the program's own
// directory (the medium, maybe a download folder) or its current directory.
#include "fault_steps.h"
#include "resource.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>

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

class Hardening : public FaultTest {
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
        FaultTest::TearDown();
    }

    // Plants the marker library under every name beside SETUP.EXE and in C:\LAUNCH, and has the
    // programs started from here on prefer the plants where the system lets a program choose.
    void Plant() {
        CleanLater(kLaunchDir);
        ASSERT_TRUE(CreateDirectoryA(kLaunchDir, nullptr)) << robot::LastErrorText();
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
};

TEST_F(Hardening, TheManifestAsksToRunAsTheInvokerOnTheSupportedSystems) {
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

TEST_F(Hardening, PlantedLibrariesAreNotLoaded) {
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
    ASSERT_TRUE(Launch(kLaunchDir));
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(nullptr, welcome);
    ASSERT_TRUE(Click(welcome, IDOK));
    HWND directory = WaitDialog("Install Directory");
    ASSERT_NE(nullptr, directory);
    ASSERT_TRUE(Click(directory, IDC_DIRECTORY_BROWSE));
    HWND browse = WaitDialog("Select Directory");
    ASSERT_NE(nullptr, browse);
    ASSERT_TRUE(Click(browse, IDCANCEL));
    ASSERT_TRUE(Gone(browse));
    ASSERT_TRUE(Click(directory, IDOK));
    ASSERT_TRUE(Gone(directory));
    std::vector<std::string> messages;
    HWND group = MessagesUntilDialog("Create Application Group", &messages);
    ASSERT_NE(nullptr, group);
    ASSERT_TRUE(Click(group, IDOK));
    ASSERT_TRUE(Gone(group));
    HWND success = MessagesUntilDialog("Success", &messages);
    ASSERT_NE(nullptr, success);
    EXPECT_EQ(std::vector<std::string>{}, messages);
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
    DWORD code = 1234;
    ASSERT_TRUE(CloseSuccess(success, &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    markers = Markers();
    for (const auto& [name, text] : markers)
        ADD_FAILURE() << name << " was loaded: " << text;
}

} // namespace
