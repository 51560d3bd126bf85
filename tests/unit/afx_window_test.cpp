#include <gtest/gtest.h>

#include "MessageBoxRecorder.h"
#include "afxwin.h"
#include "message_pump.h"
#include "resource.h"

namespace {

// The Install Directory template has an edit (1001) and three buttons: enough to exercise data
// exchange and command dispatch on a real dialog window.
class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(IDD_INSTALL_DIRECTORY) {}

    CString strText_;
    int nBrowse_ = 0;
    int nCancel_ = 0;
    int nErase_ = 0;
    HDC hEraseDC_ = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_DIRECTORY_EDIT, strText_);
    }
    void OnCancel() override {
        nCancel_++;
        CDialog::OnCancel();
    }
    void OnBrowse() { nBrowse_++; }
    BOOL OnEraseBkgnd(CDC* pDC) {
        nErase_++;
        hEraseDC_ = pDC->m_hDC;
        return TRUE;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
ON_BN_CLICKED(IDC_DIRECTORY_BROWSE, OnBrowse)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// A derived map entry hides the base class's entry for the same command.
class COwnOkDlg : public CTestDlg {
public:
    int nOwnOk_ = 0;

protected:
    void OnOwnOk() { nOwnOk_++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnOkDlg, CTestDlg)
ON_COMMAND(IDOK, ThisClass::OnOwnOk)
END_MESSAGE_MAP()

// Ends itself as soon as it starts, so that DoModal can be tested without a person.
class CSelfEndingDlg : public CDialog {
public:
    explicit CSelfEndingDlg(UINT nID, WPARAM command) : CDialog(nID), command_(command) {}

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_COMMAND, command_, 0);
        return TRUE;
    }
    WPARAM command_;
};

std::string ItemText(HWND hDlg, int id) {
    char buf[256] = "";
    GetDlgItemTextA(hDlg, id, buf, sizeof buf);
    return buf;
}

} // namespace

TEST(CDialog, InitialisationCopiesMembersIntoControls) {
    CTestDlg dlg;
    dlg.strText_ = "C:\\ZEL\\";
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(dlg.m_hWnd));
    EXPECT_EQ("C:\\ZEL\\", ItemText(dlg.m_hWnd, IDC_DIRECTORY_EDIT));
}

TEST(CDialog, OkCopiesControlsBackAndHidesAModelessDialog) {
    CTestDlg dlg;
    dlg.strText_ = "C:\\ZEL\\";
    ASSERT_TRUE(dlg.Create());
    SetDlgItemTextA(dlg.m_hWnd, IDC_DIRECTORY_EDIT, "D:\\APPS");
    EXPECT_STREQ("C:\\ZEL\\", dlg.strText_) << "no exchange before OK";
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_STREQ("D:\\APPS", dlg.strText_);
    EXPECT_FALSE(IsWindowVisible(dlg.m_hWnd));
    EXPECT_TRUE(IsWindow(dlg.m_hWnd)) << "a modeless dialog is hidden, not destroyed";
}

TEST(CDialog, CommandsReachTheDerivedHandlerAndTheVirtualOverride) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DIRECTORY_BROWSE, BN_CLICKED), 0);
    EXPECT_EQ(1, dlg.nBrowse_);
    // Another notification code from the same control is not a click.
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DIRECTORY_BROWSE, BN_SETFOCUS), 0);
    EXPECT_EQ(1, dlg.nBrowse_);
    // IDCANCEL is bound in the base class's map to a virtual function: the override runs.
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(1, dlg.nCancel_);
    EXPECT_FALSE(IsWindowVisible(dlg.m_hWnd));
}

TEST(CDialog, ADerivedEntryHidesTheBaseEntry) {
    COwnOkDlg dlg;
    dlg.strText_ = "kept";
    ASSERT_TRUE(dlg.Create());
    SetDlgItemTextA(dlg.m_hWnd, IDC_DIRECTORY_EDIT, "typed");
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(1, dlg.nOwnOk_);
    EXPECT_STREQ("kept", dlg.strText_);
    EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
    // Entries of the base classes still work.
    SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DIRECTORY_BROWSE, BN_CLICKED), 0);
    EXPECT_EQ(1, dlg.nBrowse_);
}

TEST(CDialog, MessageHandlersGetTheirArgumentsAndReturnTheirResult) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HDC hdc = GetDC(dlg.m_hWnd);
    EXPECT_EQ(TRUE, SendMessageA(dlg.m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0));
    EXPECT_GE(dlg.nErase_, 1);
    EXPECT_EQ(hdc, dlg.hEraseDC_);
    ReleaseDC(dlg.m_hWnd, hdc);
}

TEST(CDialog, EscapeReachesAModelessDialogThroughTheApplication) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HWND hEdit = GetDlgItem(dlg.m_hWnd, IDC_DIRECTORY_EDIT);
    PostMessageA(hEdit, WM_KEYDOWN, VK_ESCAPE, 0);
    support::PumpMessages([](MSG* msg) { return AfxGetApp()->PreTranslateMessage(msg) != FALSE; });
    EXPECT_EQ(1, dlg.nCancel_);
}

TEST(CDialog, DestroyingTheObjectDestroysItsWindow) {
    HWND hWnd;
    {
        CTestDlg dlg;
        ASSERT_TRUE(dlg.Create());
        hWnd = dlg.m_hWnd;
        EXPECT_TRUE(IsWindow(hWnd));
    }
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST(CDialog, DestroyWindowDetachesTheObject) {
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HWND hWnd = dlg.m_hWnd;
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(CDialog, DoModalReturnsTheIdThatEndedIt) {
    CSelfEndingDlg ok(IDD_WELCOME, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_EQ(IDOK, ok.DoModal());
    EXPECT_EQ(nullptr, ok.m_hWnd);
    CSelfEndingDlg cancel(IDD_WELCOME, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(IDCANCEL, cancel.DoModal());
}

TEST(CDialog, DoModalGivesMinusOneWhenTheTemplateIsMissing) {
    CDialog dlg(9999);
    EXPECT_EQ(-1, dlg.DoModal());
}

TEST(CDialog, ANullParentMakesTheMainWindowTheOwner) {
    CTestDlg mainWnd;
    ASSERT_TRUE(mainWnd.Create());
    AfxGetApp()->m_pMainWnd = &mainWnd;
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(mainWnd.m_hWnd, GetWindow(dlg.m_hWnd, GW_OWNER));
    // The main window itself has no owner, and the application forgets it when it goes.
    EXPECT_EQ(nullptr, GetWindow(mainWnd.m_hWnd, GW_OWNER));
    mainWnd.DestroyWindow();
    EXPECT_EQ(nullptr, AfxGetApp()->m_pMainWnd);
}

TEST(AfxMessageBox, ShowsTheTextUnderTheApplicationsName) {
    MessageBoxRecorder boxes;
    ASSERT_TRUE(AfxGetMainWnd() == nullptr);
    EXPECT_EQ(IDOK, AfxMessageBox("Failed to install ZEL", MB_OK, 0));
    ASSERT_EQ(1u, MessageBoxRecorder::boxes.size());
    EXPECT_EQ("Failed to install ZEL", MessageBoxRecorder::boxes[0].text);
    EXPECT_EQ("SETUP", MessageBoxRecorder::boxes[0].caption);
    EXPECT_EQ(static_cast<unsigned>(MB_OK), MessageBoxRecorder::boxes[0].type);
    // With no window to own it, the box disables every window of the program instead.
    EXPECT_EQ(static_cast<unsigned>(MB_TASKMODAL), MessageBoxRecorder::boxes[0].modality);
}

TEST(CWinApp, TheApplicationNameIsTheOneGiven) {
    EXPECT_STREQ("SETUP", AfxGetApp()->m_pszAppName);
}
