// The Install Directory step and the Select Directory dialog behind its Browse... button, driven
// as a person would: the proposed directory, browsing with the directory list, cancelling,
// leaving with Exit or Escape, and an install into a browsed directory.
#include "setup_fixture.h"

#include <dlgs.h>

namespace {

const char kToolsDir[] = "C:\\TOOLS";

std::string Lower(std::string s) {
    CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

// The path that the Select Directory dialog shows above its directory list.
std::string ShownPath(HWND select) {
    return robot::TextOf(GetDlgItem(select, stc1));
}

// Opens an entry of the directory list ("[name]" or "[..]") as a double click does, and waits
// until the path above the list has changed.
::testing::AssertionResult OpenEntry(HWND select, const std::string& entry) {
    HWND list = GetDlgItem(select, lst2);
    std::wstring wide(entry.begin(), entry.end());
    LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(wide.c_str()));
    if (index == LB_ERR) {
        std::string items;
        for (const std::string& item : robot::ListBoxItems(list))
            items += " " + item;
        return ::testing::AssertionFailure() << "no " << entry << " in the directory list of "
                                             << ShownPath(select) << ":" << items;
    }
    std::string before = ShownPath(select);
    SendMessageW(list, LB_SETCURSEL, index, 0);
    PostMessageW(select, WM_COMMAND, MAKEWPARAM(lst2, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    for (int i = 0; i < 250; ++i) {
        if (ShownPath(select) != before)
            return ::testing::AssertionSuccess();
        Sleep(20);
    }
    return ::testing::AssertionFailure() << "opening " << entry << " left the dialog in " << before;
}

// Goes up to the root of drive C, then down through `components` (upper case, as created).
::testing::AssertionResult GoTo(HWND select, const std::vector<std::string>& components) {
    for (int up = 0; up < 20 && Lower(ShownPath(select)) != "c:\\"; ++up)
        if (::testing::AssertionResult r = OpenEntry(select, "[..]"); !r)
            return r;
    if (Lower(ShownPath(select)) != "c:\\")
        return ::testing::AssertionFailure() << "not at C:\\ but in " << ShownPath(select);
    for (const std::string& name : components)
        if (::testing::AssertionResult r = OpenEntry(select, "[" + Lower(name) + "]"); !r)
            return r;
    return ::testing::AssertionSuccess();
}

// The current directory of another process, read from its process parameters the way the
// system keeps them (32-bit layout): PEB + 0x10 points to them, and their CurrentDirectory's
// DOS path is the UNICODE_STRING at offset 0x24, with its trailing backslash.
std::string CurrentDirectoryOf(DWORD pid) {
    struct BasicInformation {
        LONG exitStatus;
        ULONG_PTR pebBaseAddress;
        ULONG_PTR affinityMask;
        LONG basePriority;
        ULONG_PTR uniqueProcessId;
        ULONG_PTR inheritedFromUniqueProcessId;
    };
    // Where the process parameters sit in the PEB, and the current directory in them; SETUP and
    // this program are of one size, 32 or 64 bits.
    constexpr ULONG_PTR kParametersAt = sizeof(void*) == 8 ? 0x20 : 0x10;
    constexpr ULONG_PTR kCurrentDirectoryAt = sizeof(void*) == 8 ? 0x38 : 0x24;
    typedef LONG(WINAPI * QueryProcess)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    std::string result;
    BasicInformation info = {};
    ULONG_PTR parameters = 0;
    struct {
        USHORT length, maximumLength;
        ULONG_PTR buffer;
    } dosPath = {};
    if (process && query && query(process, 0, &info, sizeof info, nullptr) == 0 &&
        ReadProcessMemory(process, reinterpret_cast<void*>(info.pebBaseAddress + kParametersAt),
                          &parameters, sizeof parameters, nullptr) &&
        ReadProcessMemory(process, reinterpret_cast<void*>(parameters + kCurrentDirectoryAt),
                          &dosPath, sizeof dosPath, nullptr)) {
        std::wstring path(dosPath.length / sizeof(wchar_t), L'\0');
        if (ReadProcessMemory(process, reinterpret_cast<void*>(dosPath.buffer), &path[0],
                              dosPath.length, nullptr))
            result.assign(path.begin(), path.end());
    }
    if (process)
        CloseHandle(process);
    return result;
}

class InstallDirectory : public SetupTest {
protected:
    // Starts SETUP and walks to the Install Directory dialog.
    bool Start() {
        dialog_ = Reach(Step::kInstallDirectory);
        edit_ = dialog_ ? GetDlgItem(dialog_, IDC_DIRECTORY_EDIT) : nullptr;
        return edit_ != nullptr;
    }

    // Presses Browse... and waits for the Select Directory dialog.
    HWND Browse() {
        EXPECT_TRUE(Click(dialog_, IDC_DIRECTORY_BROWSE));
        return WaitDialog("Select Directory");
    }

    // Browses from the root of C through `components` and presses OK there.
    void BrowseTo(const std::vector<std::string>& components) {
        HWND select = Browse();
        ASSERT_NE(select, nullptr);
        ASSERT_TRUE(GoTo(select, components));
        ASSERT_TRUE(Click(select, IDOK));
        ASSERT_TRUE(Gone(select));
    }

    // Waits for the edit box to hold `text` after a browse (the dialog updates it as the
    // Select Directory dialog goes).
    std::string EditText(const std::string& awaited) {
        std::string text;
        for (int i = 0; i < 100 && (text = robot::TextOf(edit_)) != awaited; ++i)
            Sleep(20);
        return text;
    }

    void ExpectFocusInEdit() {
        HWND focus = nullptr;
        for (int i = 0; i < 100 && (focus = robot::FocusOf(dialog_)) != edit_; ++i)
            Sleep(20);
        EXPECT_EQ(edit_, focus) << "focus is on \"" << robot::TextOf(focus) << "\" (id "
                                << GetDlgCtrlID(focus) << ")";
        EXPECT_TRUE(IsWindowEnabled(dialog_)) << "Install Directory takes no input";
    }

    HWND dialog_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(InstallDirectory, OpensWithTheDefaultOnTheWindowsDriveAndTheFocusInTheEdit) {
    ASSERT_TRUE(Start());
    Screenshot("install-directory");
    EXPECT_EQ("C:\\ZEL\\", robot::TextOf(edit_));
    ExpectFocusInEdit();
    EXPECT_EQ(robot::TextsOf(dialog_, "button"),
              (std::vector<std::string>{"OK", "Exit", "Browse..."}));
    EXPECT_EQ(
        robot::TextsOf(dialog_, "static"),
        (std::vector<std::string>{"Destination Directory:",
                                  "Specify the destination directory for ZEL and related files."}));
    EXPECT_EQ(0, robot::StyleOf(dialog_) & WS_SYSMENU);
}

// Wine keeps Windows in C:\windows; the hook library makes SETUP see another directory.
TEST_F(InstallDirectory, TheDefaultIsOnTheDriveThatHoldsWindowsWithTheLetterAsReported) {
    const struct {
        const char* windowsDir;
        const char* proposed;
    } rows[] = {{"D:\\WINNT", "D:\\ZEL\\"}, {"e:\\winnt", "e:\\ZEL\\"}};
    for (const auto& row : rows) {
        HookWith("E2E_HOOK_WINDIR", row.windowsDir);
        ASSERT_TRUE(Start()) << "Windows in " << row.windowsDir;
        EXPECT_EQ(row.proposed, robot::TextOf(edit_))
            << "Windows in " << row.windowsDir << ": got \"" << robot::TextOf(edit_)
            << "\", expected \"" << row.proposed << "\"";
        ExpectQuietEnd([&] { return Click(dialog_, IDCANCEL); });
    }
}

TEST_F(InstallDirectory, BrowseShowsADirectoryBrowserCaptionedSelectDirectory) {
    ASSERT_TRUE(Start());
    HWND select = Browse();
    ASSERT_NE(select, nullptr);
    Screenshot("select-directory");
    EXPECT_EQ(robot::FindDialog(kBackdropCaption, setup_.Id()), GetWindow(select, GW_OWNER))
        << "the browser names the backdrop as its parent";
    // Nothing underneath may be pressed meanwhile: not Browse... again, nor OK or Exit.
    EXPECT_FALSE(IsWindowEnabled(dialog_)) << "Install Directory takes input under the browser";
    for (int id : {stc2, stc3, edt1, lst1, cmb1, chx1})
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(select, id))) << "control " << id << " shows";
    for (int id : {lst2, cmb2, IDOK, IDCANCEL, pshHelp, stc1, stc4})
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(select, id))) << "control " << id << " is hidden";
    EXPECT_EQ("dummy-filename", robot::TextOf(GetDlgItem(select, edt1)));
    EXPECT_EQ("[-c-]", robot::TextOf(GetDlgItem(select, cmb2)));
    RECT r;
    GetWindowRect(select, &r);
    EXPECT_LE(abs((r.left + r.right) - GetSystemMetrics(SM_CXSCREEN)), 1)
        << "centred on the backdrop";
    EXPECT_LE(abs((r.top + r.bottom) - GetSystemMetrics(SM_CYSCREEN)), 1)
        << "centred on the backdrop";

    // Help has nothing to show: the dialog stays as it is and nothing else appears.
    std::vector<robot::WindowInfo> before = robot::DialogsOf(setup_.Id());
    ASSERT_TRUE(Click(select, pshHelp));
    Sleep(300);
    EXPECT_EQ(before.size(), robot::DialogsOf(setup_.Id()).size()) << robot::DescribeWindows();
    EXPECT_TRUE(IsWindowVisible(select));
    ASSERT_TRUE(Click(select, IDCANCEL));
    EXPECT_TRUE(Gone(select));
    ExpectFocusInEdit();
}

TEST_F(InstallDirectory, BrowsingPutsTheDirectoryInTheEdit) {
    ASSERT_TRUE(MakeDirBeforeRun(kToolsDir));
    const struct {
        Texts components;
        const char* edit;
    } rows[] = {{{"TOOLS"}, "C:\\TOOLS\\"}, {{}, "C:\\"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.edit);
        ASSERT_TRUE(Start());
        BrowseTo(row.components);
        EXPECT_EQ(row.edit, EditText(row.edit));
        ExpectFocusInEdit();
        EXPECT_EQ("C:\\", CurrentDirectoryOf(setup_.Id()))
            << "SETUP was started in C:\\ and browsing must not change its current directory";
        setup_.Terminate();
    }
}

// Browse starts from the directory last taken over, not from text typed since; leaving it by
// Cancel or Escape keeps the typed text. Exit or Escape then ends the run with nothing made.
TEST_F(InstallDirectory, BrowseStartsFromTheLastDirectoryAndCancelOrEscapeKeepsTheTypedText) {
    ASSERT_TRUE(MakeDirBeforeRun(kToolsDir));
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel, then Exit");
        auto leave = [&](HWND dialog) {
            return escape ? Key(dialog, VK_ESCAPE) : Click(dialog, IDCANCEL);
        };
        ASSERT_TRUE(Start());
        BrowseTo({"TOOLS"});
        ASSERT_EQ("C:\\TOOLS\\", EditText("C:\\TOOLS\\"));
        std::string error;
        ASSERT_TRUE(robot::SetText(edit_, "C:\\MEDIUM", &error)) << error;

        HWND select = Browse();
        ASSERT_NE(select, nullptr);
        EXPECT_EQ("c:\\tools", Lower(ShownPath(select)));
        // Somewhere other than where SETUP started, so that a current directory left behind
        // shows.
        ASSERT_TRUE(GoTo(select, {"MEDIUM"}));
        ASSERT_TRUE(leave(select));
        ASSERT_TRUE(Gone(select));
        EXPECT_EQ("C:\\MEDIUM", robot::TextOf(edit_));
        EXPECT_TRUE(IsWindowVisible(dialog_));
        ExpectFocusInEdit();
        EXPECT_EQ("C:\\", CurrentDirectoryOf(setup_.Id()));
        ExpectQuietEnd([&] { return leave(dialog_); });
        EXPECT_EQ(Texts{}, robot::ListTree(kToolsDir, {})) << "something was made in C:\\TOOLS";
    }
}

// After browsing (which moves the platform dialog's current directory about), the install still
// reads the product's files from SETUP's own directory and puts them into the browsed one.
TEST_F(InstallDirectory, TheInstallAfterBrowsingCopiesTheMediumIntoTheBrowsedDirectory) {
    ASSERT_TRUE(MakeDirBeforeRun(kToolsDir));
    ASSERT_TRUE(Start());
    BrowseTo({"TOOLS"});
    ASSERT_EQ("C:\\TOOLS\\", EditText("C:\\TOOLS\\"));
    EXPECT_EQ("C:\\", CurrentDirectoryOf(setup_.Id()));
    ASSERT_TRUE(Click(dialog_, IDOK));
    ASSERT_TRUE(Gone(dialog_));
    ASSERT_TRUE(Finish());
    EXPECT_EQ("", CompareWithMedium(kToolsDir));
    EXPECT_FALSE(robot::PathExists(kDefaultDestination));
}

} // namespace
