// The backdrop behind every step: a window the size of the screen, captioned with the setup's
// title, whose client area shows a blue gradient in bands and the maker's name and the title in
// shadowed roman type. Read back from the screen and compared pixel for pixel with a picture
// that this test draws itself from the same rules.
#include "memory_bitmap.h"
#include "setup_fixture.h"

#include <algorithm>

namespace {

const char kBackdropCaption[] = "ZEL 1.1B3 Setup";
const COLORREF kTextColour = RGB(64, 64, 64);
const COLORREF kShadowColour = RGB(128, 128, 128);

using Picture = support::MemoryBitmap;

// The colour of every client row by the band rule: shade s(r) = 236 + (-220 r) / H, truncated
// toward zero; a band starts at row t with shade s(t) and reaches down to the first row whose
// shade differs, inclusive; the next band starts below it. Colour RGB(0, s / 3, s).
std::vector<COLORREF> RowColours(int height) {
    std::vector<COLORREF> rows(height);
    auto shade = [height](int r) { return 236 + (-220 * r) / height; };
    for (int top = 0; top < height;) {
        int s = shade(top);
        int last = top + 1;
        while (shade(last) == s)
            ++last;
        for (int r = top; r <= last && r < height; ++r)
            rows[r] = RGB(0, s / 3, s);
        top = last + 1;
    }
    return rows;
}

// Draws what the backdrop's client area must show: the bands, then the two texts, each as two
// grey copies one and two pixels down and right of the dark one, in the "Times New" roman faces
// of 60 and 80 pixels.
void DrawExpected(const Picture& picture, int cx, int cy) {
    std::vector<COLORREF> rows = RowColours(cy);
    for (int y = 0; y < cy; ++y) {
        HBRUSH brush = CreateSolidBrush(rows[y]);
        RECT line = {0, y, cx, y + 1};
        FillRect(picture.dc(), &line, brush);
        DeleteObject(brush);
    }
    struct Text {
        int height;
        COLORREF colour;
        int x, y;
        const char* text;
    };
    const Text texts[] = {
        {60, kShadowColour, 21, 16, "Quorvane"},
        {60, kShadowColour, 20, 15, "Quorvane"},
        {60, kTextColour, 19, 14, "Quorvane"},
        {80, kShadowColour, 21, 71, kBackdropCaption},
        {80, kShadowColour, 20, 70, kBackdropCaption},
        {80, kTextColour, 19, 69, kBackdropCaption},
    };
    SetBkMode(picture.dc(), TRANSPARENT);
    for (const Text& t : texts) {
        HFONT font = CreateFontA(t.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_ROMAN, "Times New");
        HGDIOBJ old = SelectObject(picture.dc(), font);
        SetTextColor(picture.dc(), t.colour);
        TextOutA(picture.dc(), t.x, t.y, t.text, lstrlenA(t.text));
        SelectObject(picture.dc(), old);
        DeleteObject(font);
    }
    GdiFlush();
}

std::string Rgb(COLORREF c) {
    return "RGB(" + std::to_string(GetRValue(c)) + ", " + std::to_string(GetGValue(c)) + ", " +
           std::to_string(GetBValue(c)) + ")";
}

struct Comparison {
    int compared = 0;
    int mismatched = 0;
    std::string firstMismatches;
};

// Compares the client area on the screen with the expected picture, skipping the pixels that
// lie under one of `covers` (screen rectangles).
Comparison CompareClient(HWND backdrop, const std::vector<RECT>& covers) {
    Comparison result;
    RECT client;
    GetClientRect(backdrop, &client);
    POINT origin = {0, 0};
    ClientToScreen(backdrop, &origin);
    Picture expected(client.right, client.bottom), actual(client.right, client.bottom);
    if (!expected.ok() || !actual.ok() || !actual.Grab(origin.x, origin.y)) {
        result.firstMismatches = "cannot capture the screen: " + robot::LastErrorText();
        result.mismatched = -1;
        return result;
    }
    DrawExpected(expected, client.right, client.bottom);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            POINT p = {origin.x + x, origin.y + y};
            if (std::any_of(covers.begin(), covers.end(),
                            [p](const RECT& r) { return PtInRect(&r, p) != FALSE; }))
                continue;
            ++result.compared;
            COLORREF want = expected.At(x, y), got = actual.At(x, y);
            if (want != got && ++result.mismatched <= 10)
                result.firstMismatches += "  client (" + std::to_string(x) + ", " +
                                          std::to_string(y) + "): expected " + robot::Hex(want) +
                                          ", screen " + Rgb(got) + "\n";
        }
    return result;
}

// Counts pixels of a colour in the expected picture within the client rectangle `area`: the
// test only means something if the texts are really there to compare.
int ExpectedPixels(int cx, int cy, const RECT& area, COLORREF colour) {
    Picture expected(cx, cy);
    DrawExpected(expected, cx, cy);
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += expected.At(x, y) == colour;
    return n;
}

RECT WindowRect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

class Backdrop : public SetupTest {
protected:
    // Starts SETUP and waits for the Welcome dialog; the backdrop is behind it.
    void Start() {
        welcome_ = Reach(Step::kWelcome);
        ASSERT_NE(welcome_, nullptr);
        backdrop_ = robot::FindDialog(kBackdropCaption, setup_.Id());
        ASSERT_NE(backdrop_, nullptr)
            << "no window captioned \"" << kBackdropCaption << "\"; windows:\n"
            << robot::DescribeWindows();
    }

    // Compares until the screen settles (a repaint may still be under way), at most ~3 s; no
    // uncovered pixel may differ.
    Comparison ExpectSettled(const std::vector<RECT>& covers) {
        Comparison c;
        for (int i = 0; i < 30 && (c = CompareClient(backdrop_, covers)).mismatched != 0; ++i)
            Sleep(100);
        EXPECT_EQ(0, c.mismatched)
            << c.mismatched << " of " << c.compared << " uncovered client pixels differ:\n"
            << c.firstMismatches;
        return c;
    }

    HWND welcome_ = nullptr;
    HWND backdrop_ = nullptr;
};

TEST_F(Backdrop, CoversTheScreenCaptionedWithTheSetupTitle) {
    Start();
    ASSERT_NE(backdrop_, nullptr);
    RECT r = WindowRect(backdrop_);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
    LONG style = robot::StyleOf(backdrop_);
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
              style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(IsWindowVisible(backdrop_));
    EXPECT_FALSE(IsZoomed(backdrop_)) << "got maximised, expected sized to the screen";
    EXPECT_EQ(nullptr, GetWindow(backdrop_, GW_OWNER)) << "the backdrop has no owner";
    EXPECT_EQ(backdrop_, GetWindow(welcome_, GW_OWNER)) << "the backdrop owns the dialogs";
}

TEST_F(Backdrop, ShowsTheBandsAndTheShadowedTitleAroundTheDialog) {
    Start();
    ASSERT_NE(backdrop_, nullptr);
    Screenshot("welcome");
    Comparison c = ExpectSettled({WindowRect(welcome_)});
    RECT client;
    GetClientRect(backdrop_, &client);
    EXPECT_GT(c.compared, client.right * client.bottom / 2) << "most of the client area is seen";
}

// The Welcome dialog starts over the texts; moved aside, as a person would drag it, it
// uncovers them and the backdrop repaints them where they belong.
TEST_F(Backdrop, DrawsTheTitleAndItsShadowWhereTheyBelong) {
    Start();
    ASSERT_NE(backdrop_, nullptr);
    RECT w = WindowRect(welcome_);
    int cx = w.right - w.left, cy = w.bottom - w.top;
    ASSERT_TRUE(SetWindowPos(welcome_, nullptr, GetSystemMetrics(SM_CXSCREEN) - cx,
                             GetSystemMetrics(SM_CYSCREEN) - cy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        << robot::LastErrorText();
    RECT moved = WindowRect(welcome_);

    RECT client;
    GetClientRect(backdrop_, &client);
    POINT origin = {0, 0};
    ClientToScreen(backdrop_, &origin);
    RECT texts = {0, 0, 700, 170}; // both texts, in client coordinates
    RECT textsOnScreen = texts;
    OffsetRect(&textsOnScreen, origin.x, origin.y);
    RECT overlap;
    ASSERT_FALSE(IntersectRect(&overlap, &moved, &textsOnScreen)) << "the texts are uncovered";
    EXPECT_GT(ExpectedPixels(client.right, client.bottom, texts, kTextColour), 300)
        << "the expected picture holds hardly any text: no roman font?";
    EXPECT_GT(ExpectedPixels(client.right, client.bottom, texts, kShadowColour), 100);

    ExpectSettled({moved});
    Screenshot("titles");
}

} // namespace
