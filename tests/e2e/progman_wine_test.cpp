// The group step against Wine's own Program Manager (explorer.exe), no fake. Wine keeps a group
// as a Start Menu folder and an item as a .lnk in it, and makes an item only when it can find
// the command line's program on its own search path: the program item's bare "ZEL" (the
// destination is not on that path) is refused, and so are the README and help items, whose
// command lines carry arguments. Measured on Wine 8: a full path, or a name such as NOTEPAD on
// the system path, is accepted.
#include "setup_fixture.h"

#include <shlobj.h>

namespace {

class WineProgramManager : public SetupTest {};

Texts FilesIn(const std::string& dir) {
    Texts names;
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
    while (!support::ProgmanIsServed() && GetTickCount() - start < 15000)
        Sleep(100);
    ASSERT_TRUE(support::ProgmanIsServed()) << "Wine's Program Manager does not answer";
    char programs[MAX_PATH] = "";
    ASSERT_TRUE(SUCCEEDED(
        SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)));
    std::string group = std::string(programs) + "\\ZEL";
    ASSERT_FALSE(robot::PathExists(group));

    HWND createGroup = Reach(Step::kGroup);
    ASSERT_NE(createGroup, nullptr);
    HWND success = PastGroup(createGroup);
    ASSERT_NE(success, nullptr);
    EXPECT_EQ(Texts{"Failed to complete installation of program group"}, messages_);
    ASSERT_TRUE(CloseSuccess(success));

    // CreateGroup and ShowGroup were carried out; no item was made.
    EXPECT_TRUE(robot::IsDirectory(group)) << group;
    EXPECT_EQ(FilesIn(group), Texts());
    EXPECT_TRUE(robot::PathExists("C:\\ZEL\\ZEL.EXE"));
}

} // namespace
