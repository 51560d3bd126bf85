#include <gtest/gtest.h>

#include "GradientBandList.h"
#include "ui/BackdropWnd.h"

namespace {

const COLORREF kMarker = RGB(255, 0, 255);

// A 32-bit memory bitmap filled with kMarker, to hand to the erase handler in place of the
// window's own device context, so that every pixel it paints (and every one it leaves) shows.
class MemoryCanvas {
public:
    MemoryCanvas(int cx, int cy) : m_cx(cx), m_cy(cy) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_hDC = CreateCompatibleDC(NULL);
        m_hBitmap = CreateDIBSection(m_hDC, &bi, DIB_RGB_COLORS, NULL, NULL, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        RECT rc = {0, 0, cx, cy};
        HBRUSH hBrush = CreateSolidBrush(kMarker);
        FillRect(m_hDC, &rc, hBrush);
        DeleteObject(hBrush);
    }
    ~MemoryCanvas() {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    HDC dc() const { return m_hDC; }
    COLORREF At(int x, int y) const { return GetPixel(m_hDC, x, y); }
    bool AllMarker() const {
        for (int y = 0; y < m_cy; y++)
            for (int x = 0; x < m_cx; x++)
                if (At(x, y) != kMarker)
                    return false;
        return true;
    }

private:
    int m_cx, m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

RECT ClientRect(HWND hWnd) {
    RECT rc;
    GetClientRect(hWnd, &rc);
    return rc;
}

LRESULT Erase(HWND hWnd, const MemoryCanvas& canvas) {
    return SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
}

} // namespace

TEST(CBackdropWnd, CoversTheScreenWithItsCaptionAndNoMaximiseBox) {
    CBackdropWnd wnd(NULL);
    ASSERT_TRUE(wnd.Create());
    RECT rc;
    GetWindowRect(wnd.m_hWnd, &rc);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rc.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), rc.bottom);
    EXPECT_TRUE(IsWindowVisible(wnd.m_hWnd));
    EXPECT_FALSE(IsZoomed(wnd.m_hWnd)) << "sized to the screen, not maximised";

    char caption[64] = "";
    GetWindowTextA(wnd.m_hWnd, caption, sizeof caption);
    EXPECT_STREQ("ZEL 1.1B3 Setup", caption);
    LONG style = GetWindowLongA(wnd.m_hWnd, GWL_STYLE);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(nullptr, GetWindow(wnd.m_hWnd, GW_OWNER));
}

TEST(CBackdropWnd, DraggingTheMinimisedWindowShowsTheApplicationIcon) {
    CBackdropWnd wnd(NULL);
    ASSERT_NE(nullptr, wnd.m_hIcon) << "icon 128 is loaded by the constructor";
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(wnd.m_hIcon, &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(reinterpret_cast<LRESULT>(wnd.m_hIcon),
              SendMessageA(wnd.m_hWnd, WM_QUERYDRAGICON, 0, 0));
}

TEST(CBackdropWnd, ErasingPaintsTheBandsOverTheWholeClientWidth) {
    CBackdropWnd wnd(NULL);
    ASSERT_TRUE(wnd.Create());
    RECT rc = ClientRect(wnd.m_hWnd);
    ASSERT_GE(rc.bottom, 440) << "the screen is expected to be at least 480 pixels high";
    // One column more than the client area, which the bands must not reach.
    MemoryCanvas canvas(rc.right + 1, rc.bottom);
    EXPECT_EQ(TRUE, Erase(wnd.m_hWnd, canvas));

    EXPECT_EQ(RGB(0, 78, 236), canvas.At(0, 0));
    EXPECT_EQ(RGB(0, 5, 17), canvas.At(rc.right - 1, rc.bottom - 1));
    std::vector<GradientBand> bands = GradientBands(rc.bottom);
    ASSERT_EQ(220u, bands.size());
    for (const GradientBand& band : bands) {
        for (int y = band.nTop; y < band.nBottom && y < rc.bottom; y++) {
            for (int x : {0, static_cast<int>(rc.right) / 2, static_cast<int>(rc.right) - 1})
                ASSERT_EQ(band.crColor, canvas.At(x, y)) << "row " << y << ", column " << x;
            ASSERT_EQ(kMarker, canvas.At(rc.right, y)) << "row " << y << " past the client area";
        }
    }
}

TEST(CBackdropWnd, AClientAreaWithoutRowsIsNotPaintedButCountsAsErased) {
    CBackdropWnd wnd(NULL);
    ASSERT_TRUE(wnd.Create());
    RECT rcWindow;
    GetWindowRect(wnd.m_hWnd, &rcWindow);
    RECT rc = ClientRect(wnd.m_hWnd);
    // Exactly the caption and the frame: the client area keeps its width and loses every row.
    int nNonClient = (rcWindow.bottom - rcWindow.top) - rc.bottom;
    MoveWindow(wnd.m_hWnd, 0, 0, rcWindow.right - rcWindow.left, nNonClient, FALSE);
    rc = ClientRect(wnd.m_hWnd);
    ASSERT_EQ(0, rc.bottom);
    ASSERT_GT(rc.right, 0);

    MemoryCanvas canvas(rc.right, 8);
    EXPECT_EQ(TRUE, Erase(wnd.m_hWnd, canvas));
    EXPECT_TRUE(canvas.AllMarker());
}

TEST(CBackdropWnd, AOneRowClientAreaGetsTheTopShade) {
    CBackdropWnd wnd(NULL);
    ASSERT_TRUE(wnd.Create());
    RECT rcWindow;
    GetWindowRect(wnd.m_hWnd, &rcWindow);
    RECT rc = ClientRect(wnd.m_hWnd);
    int nNonClient = (rcWindow.bottom - rcWindow.top) - rc.bottom;
    MoveWindow(wnd.m_hWnd, 0, 0, 200, nNonClient + 1, FALSE);
    rc = ClientRect(wnd.m_hWnd);
    ASSERT_EQ(1, rc.bottom);

    // The one band covers rows 0 and 1; on the window itself the second row is clipped away.
    MemoryCanvas canvas(rc.right, 3);
    EXPECT_EQ(TRUE, Erase(wnd.m_hWnd, canvas));
    EXPECT_EQ(RGB(0, 78, 236), canvas.At(0, 0));
    EXPECT_EQ(RGB(0, 78, 236), canvas.At(rc.right - 1, 1));
    EXPECT_EQ(kMarker, canvas.At(0, 2));
}

// While the files are copied the backdrop is enabled, so Enter, Esc and its Close reach it; none
// of them may end it as a dialog, which would hide it behind the Installing dialog's back.
TEST(CBackdropWnd, NeitherOkNorCancelNorCloseHidesIt) {
    CBackdropWnd wnd(NULL);
    ASSERT_TRUE(wnd.Create());
    SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageA(wnd.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    MSG msg = {};
    msg.hwnd = wnd.m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(wnd.PreTranslateMessage(&msg)) << "the dialog manager takes Esc";
    msg.wParam = VK_RETURN;
    EXPECT_TRUE(wnd.PreTranslateMessage(&msg)) << "and Enter";
    EXPECT_TRUE(IsWindow(wnd.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(wnd.m_hWnd));
}
