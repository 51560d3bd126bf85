#include <gtest/gtest.h>

#include "ImportPatch.h"
#include "MessageBoxRecorder.h"
#include "resource.h"
#include "TempDir.h"
#include "ui/SelectDirDlg.h"

#include <dlgs.h>

#include <functional>
#include <string>
#include <thread>

namespace {

std::string CurrentDirectory() {
    char buf[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof buf, buf);
    return buf;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ItemText(HWND hDlg, int id) {
    char buf[MAX_PATH] = "";
    GetDlgItemTextA(hDlg, id, buf, sizeof buf);
    return buf;
}

BOOL CALLBACK FindVisibleDialog(HWND hWnd, LPARAM lParam) {
    char cls[16] = "";
    GetClassNameA(hWnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Plays the user of the dialog that the test's main thread is running modally: waits for it to
// show, hands it to `act` and, whatever `act` did, makes sure the dialog ends with Cancel if it
// is still up, so that a failed check cannot leave DoModal waiting.
class DialogUser {
public:
    explicit DialogUser(std::function<void(HWND)> act)
        : thread_([this, act, tid = GetCurrentThreadId()] { Run(tid, act); }) {}
    ~DialogUser() { thread_.join(); }
    bool found = false;

private:
    void Run(DWORD tid, const std::function<void(HWND)>& act) {
        HWND hDlg = nullptr;
        for (int i = 0; i < 300 && hDlg == nullptr; i++) {
            EnumThreadWindows(tid, FindVisibleDialog, reinterpret_cast<LPARAM>(&hDlg));
            if (hDlg == nullptr)
                Sleep(20);
        }
        if (hDlg == nullptr)
            return;
        found = true;
        act(hDlg);
        if (IsWindow(hDlg))
            PostMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    }
    std::thread thread_;
};

// Opens directory `name` (a subdirectory shown in the directory list) as a double click does;
// true once the path above the list shows it.
bool OpenDirectory(HWND hDlg, const std::string& name) {
    HWND hList = GetDlgItem(hDlg, lst2);
    std::string item = "[" + name + "]";
    LRESULT index = SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(item.c_str()));
    if (index == LB_ERR)
        return false;
    SendMessageA(hList, LB_SETCURSEL, index, 0);
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(lst2, LBN_DBLCLK), reinterpret_cast<LPARAM>(hList));
    std::string suffix = "\\" + Lower(name);
    for (int i = 0; i < 250; i++) {
        std::string path = Lower(ItemText(hDlg, stc1));
        if (path.size() >= suffix.size() &&
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0)
            return true;
        Sleep(20);
    }
    return false;
}

// Runs the user's side: opens `into`, then presses `button`; whether `into` opened goes to
// *opened.
std::function<void(HWND)> Browse(bool* opened, const std::string& into, int button) {
    return [opened, into, button](HWND hDlg) {
        *opened = OpenDirectory(hDlg, into);
        if (*opened)
            PostMessageA(GetDlgItem(hDlg, button), BM_CLICK, 0, 0);
    };
}

} // namespace

TEST(CSelectDirDlg, AsksForTheOlderSaveDialogWithItsOwnTemplate) {
    const char* pszDir = "C:\\ZEL\\";
    CSelectDirDlg dlg(pszDir);
    EXPECT_EQ(static_cast<DWORD>(0x56 | OFN_ENABLEHOOK), dlg.m_ofn.Flags);
    EXPECT_EQ(0u, dlg.m_ofn.Flags & OFN_EXPLORER);
    EXPECT_EQ(MAKEINTRESOURCEA(IDD_SELECT_DIRECTORY), dlg.m_ofn.lpTemplateName);
    EXPECT_EQ(AfxGetResourceHandle(), dlg.m_ofn.hInstance);
    EXPECT_EQ(pszDir, dlg.m_ofn.lpstrInitialDir) << "the caller's string, not a copy";
    EXPECT_EQ(nullptr, dlg.m_ofn.lpstrTitle);
    EXPECT_EQ(nullptr, dlg.m_ofn.lpstrFilter);
    EXPECT_EQ(nullptr, dlg.m_ofn.lpstrDefExt);
    EXPECT_NE(nullptr, dlg.m_ofn.lpfnHook);
    EXPECT_STREQ("", dlg.m_ofn.lpstrFile);

    CSelectDirDlg dlgNoDir(nullptr);
    EXPECT_EQ(nullptr, dlgNoDir.m_ofn.lpstrInitialDir);
}

TEST(CSelectDirDlg, GetDirectoryCutsThePathBeforeTheFileName) {
    CSelectDirDlg dlg(nullptr);
    lstrcpyA(dlg.m_ofn.lpstrFile, "C:\\TOOLS\\dummy-filename");
    dlg.m_ofn.nFileOffset = 9;
    EXPECT_STREQ("C:\\TOOLS\\", dlg.GetDirectory());
    EXPECT_STREQ("C:\\TOOLS\\", dlg.m_ofn.lpstrFile) << "the cut is made in the dialog's buffer";

    lstrcpyA(dlg.m_ofn.lpstrFile, "C:\\dummy-filename");
    dlg.m_ofn.nFileOffset = 3;
    EXPECT_STREQ("C:\\", dlg.GetDirectory());
}

// The browser as a person sees it (its caption and controls, the directory it returns, the
// current directory kept, Cancel) is seen end to end (InstallDirectory.Brows*); here, what only
// a replaced system call can bring about.
TEST(CSelectDirDlg, ADirectoryThatCannotBeRestoredDiscardsTheChoice) {
    TempDir start;
    CreateDirectoryA(start.Path("TOOLS").c_str(), nullptr);
    CreateDirectoryA(start.Path("GONE").c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(start.Path("GONE").c_str()));

    MessageBoxRecorder boxes;
    CSelectDirDlg dlg(start.path().c_str());
    bool opened = false;
    INT_PTR nResult;
    {
        // The dialog has made its own start the current directory, so GONE can go.
        DialogUser user([&](HWND hDlg) {
            RemoveDirectoryA(start.Path("GONE").c_str());
            Browse(&opened, "TOOLS", IDOK)(hDlg);
        });
        nResult = dlg.DoModal();
    }
    SetCurrentDirectoryA("C:\\");
    ASSERT_TRUE(opened);
    EXPECT_EQ(IDCANCEL, nResult) << "OK was pressed, but the directory could not be restored";
    ASSERT_EQ(1u, MessageBoxRecorder::boxes.size());
    EXPECT_EQ("Unable to set current directory", MessageBoxRecorder::boxes[0].text);
    EXPECT_EQ(static_cast<unsigned>(MB_OK), MessageBoxRecorder::boxes[0].type);
}

namespace {

// What the system answers for a current directory as long as the buffer: the size it would need
// with its terminating NUL, and not the directory.
DWORD WINAPI CurrentDirectoryAsLongAsTheBuffer(DWORD nBufferLength, LPSTR pszBuffer) {
    lstrcpynA(pszBuffer, "C:\\NOT-THE-CURRENT-DIRECTORY", nBufferLength);
    return nBufferLength;
}

} // namespace

// Runs the dialog with this program's calls of KERNEL32!pszFunction going to pReplacement;
// whether a dialog appeared goes to *pShown. -1 when the call could not be patched.
static INT_PTR DoModalWith(CSelectDirDlg& dlg, const char* pszFunction, void* pReplacement,
                           bool* pShown) {
    ImportPatch patch("kernel32.dll", pszFunction, pReplacement);
    EXPECT_TRUE(patch.Installed()) << pszFunction << " is not imported";
    if (!patch.Installed())
        return -1;
    DialogUser user([](HWND) {});
    INT_PTR nResult = dlg.DoModal();
    *pShown = user.found;
    return nResult;
}

TEST(CSelectDirDlg, ACurrentDirectoryThatDoesNotFitIsNotReadAndTheDialogIsNotShown) {
    const std::string before = CurrentDirectory();
    MessageBoxRecorder boxes;
    CSelectDirDlg dlg(nullptr);
    bool shown = true;
    INT_PTR nResult =
        DoModalWith(dlg, "GetCurrentDirectoryA",
                    reinterpret_cast<void*>(CurrentDirectoryAsLongAsTheBuffer), &shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(IDCANCEL, nResult);
    ASSERT_EQ(1u, MessageBoxRecorder::boxes.size());
    EXPECT_EQ("Unable to get current directory", MessageBoxRecorder::boxes[0].text);
    EXPECT_EQ(before, CurrentDirectory());
}

namespace {

std::string g_libraryAsked;

// A system where the common dialog library cannot be loaded: records what was asked for.
HMODULE WINAPI NoLibrary(LPCSTR pszName, HANDLE, DWORD) {
    g_libraryAsked = pszName;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

} // namespace

TEST(CSelectDirDlg, ALibraryThatCannotBeLoadedEndsTheBrowseAsACancel) {
    MessageBoxRecorder boxes;
    CSelectDirDlg dlg(nullptr);
    bool shown = true;
    INT_PTR nResult =
        DoModalWith(dlg, "LoadLibraryExA", reinterpret_cast<void*>(NoLibrary), &shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
    char szSystem[MAX_PATH] = "";
    GetSystemDirectoryA(szSystem, sizeof szSystem);
    EXPECT_EQ(Lower(std::string(szSystem) + "\\comdlg32.dll"), Lower(g_libraryAsked))
        << "loaded by its full path in the system directory";
}
