#include <gtest/gtest.h>

#include "memory_bitmap.h"
#include "ui/BackdropWnd.h"

namespace {

const COLORREF kMarker = RGB(255, 0, 255);

// A memory bitmap filled with kMarker, to hand to the erase handler in place of the window's
// own device context, so that every pixel it paints (and every one it leaves) shows.
class MemoryCanvas : public support::MemoryBitmap {
public:
    MemoryCanvas(int cx, int cy) : MemoryBitmap(cx, cy) { Fill(kMarker); }
    bool AllMarker() const {
        for (int y = 0; y < cy(); y++)
            for (int x = 0; x < cx(); x++)
                if (At(x, y) != kMarker)
                    return false;
        return true;
    }
};

RECT ClientRect(HWND hWnd) {
    RECT rc;
    GetClientRect(hWnd, &rc);
    return rc;
}

// Gives the window exactly `rows` client rows below its caption and frame, at width cx.
RECT ResizeToRows(HWND hWnd, int cx, int rows) {
    RECT rcWindow = {}, rc = ClientRect(hWnd);
    GetWindowRect(hWnd, &rcWindow);
    int nNonClient = (rcWindow.bottom - rcWindow.top) - rc.bottom;
    MoveWindow(hWnd, 0, 0, cx, nNonClient + rows, FALSE);
    return ClientRect(hWnd);
}

LRESULT Erase(HWND hWnd, const MemoryCanvas& canvas) {
    return SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
}

} // namespace

TEST(CBackdropWnd, DraggingTheMinimisedWindowShowsTheApplicationIcon) {
    CBackdropWnd wnd(nullptr);
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

// The bands over the whole client area are compared pixel for pixel end to end
// (Backdrop.ShowsTheBandsAndTheShadowedTitleAroundTheDialog); here, the sizes a screen never has.
TEST(CBackdropWnd, AClientAreaWithoutRowsIsNotPaintedButCountsAsErased) {
    CBackdropWnd wnd(nullptr);
    ASSERT_TRUE(wnd.Create());
    // Exactly the caption and the frame: the client area keeps its width and loses every row.
    RECT rc = ResizeToRows(wnd.m_hWnd, GetSystemMetrics(SM_CXSCREEN), 0);
    ASSERT_EQ(0, rc.bottom);
    ASSERT_GT(rc.right, 0);

    MemoryCanvas canvas(rc.right, 8);
    EXPECT_EQ(TRUE, Erase(wnd.m_hWnd, canvas));
    EXPECT_TRUE(canvas.AllMarker());
}

TEST(CBackdropWnd, AOneRowClientAreaGetsTheTopShade) {
    CBackdropWnd wnd(nullptr);
    ASSERT_TRUE(wnd.Create());
    RECT rc = ResizeToRows(wnd.m_hWnd, 200, 1);
    ASSERT_EQ(1, rc.bottom);

    // The one band covers rows 0 and 1; on the window itself the second row is clipped away.
    MemoryCanvas canvas(rc.right, 3);
    EXPECT_EQ(TRUE, Erase(wnd.m_hWnd, canvas));
    EXPECT_EQ(RGB(0, 78, 236), canvas.At(0, 0));
    EXPECT_EQ(RGB(0, 78, 236), canvas.At(rc.right - 1, 1));
    EXPECT_EQ(kMarker, canvas.At(0, 2));
}
