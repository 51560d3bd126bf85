#include <gtest/gtest.h>

#include "install_test_support.h"
#include "memory_bitmap.h"
#include "message_pump.h"
#include "resource.h"
#include "install/InstallingDialog.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 128, 0);

// Dispatches for a moment as the copy job does: some of a new window's paints come late.
void Settle() {
    support::PumpMessagesFor(
        100, [](MSG* msg) { return AfxGetApp()->PreTranslateMessage(msg) != FALSE; });
}

std::string Text(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// A bitmap to draw the bar into, in place of the screen, green where nothing was drawn.
class Canvas : public support::MemoryBitmap {
public:
    Canvas(int cx, int cy) : MemoryBitmap(cx, cy) { Fill(kGreen); }
    // Sends the dialog the draw request that control nId would send for this canvas.
    void DrawRequest(HWND dialog, int nId) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = nId;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = GetDlgItem(dialog, nId);
        dis.hDC = dc();
        dis.rcItem = {0, 0, cx(), cy()};
        SendMessageA(dialog, WM_DRAWITEM, nId, reinterpret_cast<LPARAM>(&dis));
    }
    // Columns of the first and last black pixel in the canvas, or -1 when there is none.
    void BlackSpan(int* first, int* last) const {
        *first = *last = -1;
        for (int x = 0; x < cx(); x++)
            for (int y = 0; y < cy(); y++)
                if (At(x, y) == kBlack) {
                    if (*first < 0)
                        *first = x;
                    *last = x;
                }
    }
};

class InstallingDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg_.Create();
        Settle();
        ASSERT_NE(nullptr, watch_.dialog) << "the dialog did not start";
        ASSERT_EQ(watch_.dialog, dlg_.m_hWnd);
    }
    HWND Item(int id) const { return GetDlgItem(dlg_.m_hWnd, id); }

    InstallingWatch watch_;
    CInstallingDialog dlg_;
};

} // namespace

TEST_F(InstallingDialogTest, ShowsTemplate131Centred) {
    HWND hwnd = dlg_.m_hWnd;
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ("Installing...", Text(hwnd));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    for (DWORD bit : {DWORD(WS_POPUP), DWORD(WS_CAPTION), DWORD(WS_SYSMENU), DWORD(DS_MODALFRAME)})
        EXPECT_EQ(bit, style & bit) << std::hex << "style " << style << " lacks " << bit;

    struct Expected {
        int id;
        const char* className;
        LONG style;
    };
    // The template's plain push button Cancel is made the default one: it has the focus, and Enter
    // presses it.
    const Expected controls[] = {{IDCANCEL, "Button", 0x50010000 | BS_DEFPUSHBUTTON},
                                 {IDC_INSTALLING_COPYING, "Static", 0x50020000},
                                 {IDC_INSTALLING_TO, "Static", 0x50020000},
                                 {IDC_INSTALLING_BAR, "Button", 0x5800000B}};
    HWND child = GetWindow(hwnd, GW_CHILD);
    for (const Expected& e : controls) {
        ASSERT_NE(nullptr, child);
        char className[64] = "";
        GetClassNameA(child, className, sizeof className);
        EXPECT_EQ(e.id, GetDlgCtrlID(child));
        EXPECT_STRCASEEQ(e.className, className);
        EXPECT_EQ(e.style, GetWindowLongA(child, GWL_STYLE) & 0xFFFF00FF) << "control " << e.id;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child) << "four controls only";
    EXPECT_EQ("Cancel", Text(Item(IDCANCEL)));

    // With no owner the dialog is centred in the work area.
    RECT rcArea, rcWnd;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
    GetWindowRect(hwnd, &rcWnd);
    EXPECT_NEAR((rcArea.left + rcArea.right) / 2, (rcWnd.left + rcWnd.right) / 2, 1);
    EXPECT_NEAR((rcArea.top + rcArea.bottom) / 2, (rcWnd.top + rcWnd.bottom) / 2, 1);
}

TEST_F(InstallingDialogTest, StartsBlankAtZeroWithCancelFocused) {
    EXPECT_EQ("", Text(Item(IDC_INSTALLING_COPYING))) << "the template's text is replaced";
    EXPECT_EQ("", Text(Item(IDC_INSTALLING_TO)));
    EXPECT_FALSE(dlg_.m_bCancel);
    EXPECT_EQ(0.0, dlg_.m_dProgress);
    EXPECT_EQ(Item(IDCANCEL), GetFocus());
    EXPECT_EQ(Item(IDC_INSTALLING_BAR), dlg_.m_hWndBar) << "recorded from the first paint";
}

TEST_F(InstallingDialogTest, PaintsTheBarOnTheScreen) {
    HWND bar = Item(IDC_INSTALLING_BAR);
    RECT rc;
    GetClientRect(bar, &rc);
    HDC dc = GetDC(bar);
    EXPECT_EQ(kWhite, GetPixel(dc, 1, 1)) << "nothing done yet: all white";
    EXPECT_EQ(kWhite, GetPixel(dc, rc.right - 2, rc.bottom - 2));

    dlg_.SetProgress(1, 2);
    Settle();
    int nHalf = (rc.right + 1) / 2;
    EXPECT_EQ(kRed, GetPixel(dc, 1, 1));
    EXPECT_EQ(kRed, GetPixel(dc, nHalf - 1, 1));
    EXPECT_EQ(kWhite, GetPixel(dc, nHalf, 1));
    EXPECT_EQ(kWhite, GetPixel(dc, rc.right - 2, rc.bottom - 2));

    dlg_.SetProgress(2, 2);
    Settle();
    EXPECT_EQ(kRed, GetPixel(dc, rc.right - 1, rc.bottom - 1)) << "complete: all red";
    ReleaseDC(bar, dc);
}

TEST_F(InstallingDialogTest, RepaintsOnlyWhenThePictureChanges) {
    const size_t nBefore = watch_.barDraws.size();
    ASSERT_GT(nBefore, 0u) << "the bar was painted when the dialog appeared";

    dlg_.SetProgress(1, 1000000); // 0.0001 %: the same picture as 0
    Settle();
    EXPECT_EQ(nBefore, watch_.barDraws.size());
    EXPECT_DOUBLE_EQ(0.000001, dlg_.m_dProgress) << "the fraction is kept all the same";

    dlg_.SetProgress(500000, 1000000);
    Settle();
    EXPECT_EQ(nBefore + 1, watch_.barDraws.size());

    dlg_.SetProgress(500001, 1000000);
    Settle();
    EXPECT_EQ(nBefore + 1, watch_.barDraws.size());

    dlg_.SetProgress(1000000, 1000000);
    Settle();
    EXPECT_EQ(nBefore + 2, watch_.barDraws.size());
}

TEST_F(InstallingDialogTest, ProgressFollowsTheCounts) {
    dlg_.SetProgress(250, 1000);
    EXPECT_DOUBLE_EQ(0.25, dlg_.m_dProgress);
    dlg_.SetProgress(7, 0);
    EXPECT_DOUBLE_EQ(0.25, dlg_.m_dProgress) << "a total of 0 changes nothing";
    dlg_.SetProgress(0, 0);
    EXPECT_EQ(1.0, dlg_.m_dProgress);
    dlg_.SetProgress(1500, 1000);
    EXPECT_DOUBLE_EQ(1.5, dlg_.m_dProgress) << "not clamped";
}

TEST_F(InstallingDialogTest, DrawsRedWhiteAndACentredLabel) {
    Canvas canvas(200, 20);
    dlg_.SetProgress(1, 4);
    canvas.DrawRequest(dlg_.m_hWnd, IDC_INSTALLING_BAR);
    EXPECT_EQ(kRed, canvas.At(0, 0));
    EXPECT_EQ(kRed, canvas.At(49, 19));
    EXPECT_EQ(kWhite, canvas.At(50, 0));
    EXPECT_EQ(kWhite, canvas.At(199, 19));
    int first, last;
    canvas.BlackSpan(&first, &last);
    ASSERT_GE(first, 0) << "a black label";
    EXPECT_NEAR(100, (first + last) / 2, 6) << "centred: " << first << ".." << last;
    const int nQuarterWidth = last - first;

    dlg_.SetProgress(1, 1);
    canvas.DrawRequest(dlg_.m_hWnd, IDC_INSTALLING_BAR);
    EXPECT_EQ(kRed, canvas.At(199, 19));
    canvas.BlackSpan(&first, &last);
    EXPECT_GT(last - first, nQuarterWidth) << "100 is wider than 25";
}

TEST_F(InstallingDialogTest, PastCompleteDrawsNoWhite) {
    Canvas canvas(100, 20);
    dlg_.SetProgress(3, 2);
    canvas.DrawRequest(dlg_.m_hWnd, IDC_INSTALLING_BAR);
    for (int x = 0; x < 100; x++)
        ASSERT_NE(kWhite, canvas.At(x, 0)) << "at " << x;
    EXPECT_EQ(kRed, canvas.At(99, 0));
}

TEST_F(InstallingDialogTest, DrawRequestsOfOtherControlsDrawNothing) {
    Canvas canvas(50, 10);
    HWND barBefore = dlg_.m_hWndBar;
    canvas.DrawRequest(dlg_.m_hWnd, IDC_INSTALLING_COPYING);
    EXPECT_EQ(kGreen, canvas.At(0, 0));
    EXPECT_EQ(kGreen, canvas.At(49, 9));
    EXPECT_EQ(barBefore, dlg_.m_hWndBar);
}

// Esc and the system menu's Close take the same way out; they are seen end to end.
TEST_F(InstallingDialogTest, CancelButtonSetsTheFlagAndHides) {
    PostMessageA(Item(IDCANCEL), BM_CLICK, 0, 0);
    Settle();
    EXPECT_TRUE(dlg_.m_bCancel);
    EXPECT_FALSE(IsWindowVisible(dlg_.m_hWnd));
    EXPECT_TRUE(IsWindow(dlg_.m_hWnd)) << "hidden, not destroyed";
}

TEST_F(InstallingDialogTest, FinishHidesWithoutCancelling) {
    dlg_.SetCopyInfo("ZEL.EXE", "C:\\ZEL\\ZEL.EXE");
    dlg_.m_strCopying = "changed";
    dlg_.Finish();
    Settle();
    EXPECT_FALSE(dlg_.m_bCancel);
    EXPECT_FALSE(IsWindowVisible(dlg_.m_hWnd));
    EXPECT_TRUE(IsWindow(dlg_.m_hWnd));
    EXPECT_STREQ("Copying: ZEL.EXE", dlg_.m_strCopying) << "read back from the control";
}

TEST(InstallingDialog, DestroyingTheObjectDestroysTheWindow) {
    HWND hwnd;
    {
        CInstallingDialog dlg;
        EXPECT_EQ(nullptr, dlg.m_hWnd) << "no window before Create";
        dlg.Create();
        hwnd = dlg.m_hWnd;
        ASSERT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}
