// The group step against Wine's own Program Manager (explorer.exe), no fake. Wine keeps a group
// as a Start Menu folder and an item as a .lnk in it, and makes an item only when it can find
// the command line's program on its own search path: the program item's bare "ZEL" (the
// destination is not on that path) is refused, and so are the README and help items, whose
// command lines carry arguments. Measured on Wine 8: a full path, or a name such as NOTEPAD on
// the system path, is accepted.
#include "progman_fake.h"
#include "setup_fixture.h"

#include <shlobj.h>

namespace {

class WineProgramManager : public SetupTest {};

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

TEST_F(WineProgramManager, DefaultInstallMakesTheGroupAndReportsTheRefusedProgramItem) {
    // Explorer registers PROGMAN shortly after it starts.
    DWORD start = GetTickCount();
    while (!ProgmanAnswers() && GetTickCount() - start < 15000)
        Sleep(100);
    ASSERT_TRUE(ProgmanAnswers()) << "Wine's Program Manager does not answer";
    char programs[MAX_PATH] = "";
    ASSERT_TRUE(SUCCEEDED(
        SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)));
    std::string group = std::string(programs) + "\\ZEL";
    ASSERT_FALSE(robot::PathExists(group));

    ASSERT_TRUE(Launch());
    HWND welcome = WaitDialog("Welcome");
    ASSERT_NE(welcome, nullptr);
    ASSERT_TRUE(Click(welcome, IDOK));
    HWND directory = WaitDialog("Install Directory");
    ASSERT_NE(directory, nullptr);
    ASSERT_TRUE(Click(directory, IDOK));
    HWND createGroup = WaitDialog("Create Application Group");
    ASSERT_NE(createGroup, nullptr);
    ASSERT_TRUE(Click(createGroup, IDOK));

    std::string error;
    HWND box = robot::WaitForMessageBox("SETUP", &setup_, 30000, &error);
    ASSERT_NE(box, nullptr) << error;
    EXPECT_EQ(robot::ReadMessageBox(box).text, "Failed to complete installation of program group");
    ASSERT_TRUE(robot::DismissMessageBox(box, &error)) << error;

    HWND success = robot::WaitForDialog("Success", &setup_, 15000, &error);
    ASSERT_NE(success, nullptr) << error;
    for (const robot::WindowInfo& dialog : robot::DialogsOf(setup_.Id()))
        EXPECT_FALSE(robot::IsMessageBox(dialog.hwnd)) << "a second message box";
    ASSERT_TRUE(Click(success, IDOK));
    DWORD code = 0;
    std::vector<robot::WindowInfo> shown;
    ASSERT_TRUE(WaitExit(&code, &shown));
    EXPECT_EQ(code, 0u);

    // CreateGroup and ShowGroup were carried out; no item was made.
    EXPECT_TRUE(robot::IsDirectory(group)) << group;
    EXPECT_EQ(FilesIn(group), std::vector<std::string>());
    EXPECT_TRUE(robot::PathExists("C:\\ZEL\\ZEL.EXE"));
}

} // namespace
