#include "BackdropWnd.h"

#include "GradientBands.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CBackdropWnd, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const char kMakerName[] = "Quorvane";
const char kSetupTitle[] = "ZEL 1.1B3 Setup";

// The face name is deliberately short: with FF_ROMAN the font mapper takes the nearest roman
// face on any system, whether or not the full name is installed.
HFONT CreateTitleFont(int nHeight) {
    return ::CreateFontA(nHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN,
                         "Times New");
}

} // namespace

CBackdropWnd::CBackdropWnd(CWnd* pParent) : CDialog(IDD_BACKDROP, pParent) {
    m_hIcon = ::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON),
                          MAKEINTRESOURCEA(IDR_MAINFRAME));
}

BOOL CBackdropWnd::Create() {
    return CDialog::Create(NULL);
}

void CBackdropWnd::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CBackdropWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    // Moved and sized, not maximised: caption and frame stay, and the whole window is the screen.
    MoveWindow(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), TRUE);
    return TRUE;
}

void CBackdropWnd::OnOK() {}

void CBackdropWnd::OnCancel() {}

void CBackdropWnd::OnPaint() {
    CPaintDC dc(this);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
        int cxIcon = ::GetSystemMetrics(SM_CXICON);
        int cyIcon = ::GetSystemMetrics(SM_CYICON);
        RECT rc;
        GetClientRect(&rc);
        dc.DrawIcon((rc.right - rc.left - cxIcon + 1) / 2, (rc.bottom - rc.top - cyIcon + 1) / 2,
                    m_hIcon);
        return;
    }

    dc.SetBkMode(TRANSPARENT);
    // Declared in this order so that B is deleted before A, both after the old font is back.
    CFont fontA;
    CFont fontB;
    fontA.Attach(CreateTitleFont(60));
    fontB.Attach(CreateTitleFont(80));
    HGDIOBJ hOldFont = dc.SelectObject(&fontA);

    // Two grey copies down and to the right first, then the dark text over them.
    dc.SetTextColor(RGB(128, 128, 128));
    dc.TextOut(21, 16, kMakerName);
    dc.TextOut(20, 15, kMakerName);
    dc.SetTextColor(RGB(64, 64, 64));
    dc.TextOut(19, 14, kMakerName);

    dc.SelectObject(&fontB);
    dc.SetTextColor(RGB(128, 128, 128));
    dc.TextOut(21, 71, kSetupTitle);
    dc.TextOut(20, 70, kSetupTitle);
    dc.SetTextColor(RGB(64, 64, 64));
    dc.TextOut(19, 69, kSetupTitle);

    dc.SelectObject(hOldFont);
}

HCURSOR CBackdropWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

BOOL CBackdropWnd::OnEraseBkgnd(CDC* pDC) {
    RECT rc;
    GetClientRect(&rc);
    // One brush per band, made and deleted around its one fill: nothing outlives the message.
    GradientBand band;
    for (int nTop = 0; NextGradientBand(rc.bottom, nTop, &band); nTop = band.nBottom) {
        RECT rcBand = {rc.left, band.nTop, rc.right, band.nBottom};
        CBrush brush(band.crColor);
        pDC->FillRect(&rcBand, &brush);
    }
    return TRUE;
}
