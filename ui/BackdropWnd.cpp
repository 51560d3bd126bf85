#include "BackdropWnd.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(CBackdropWnd, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

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
    MoveWindow(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), TRUE);
    return TRUE;
}

void CBackdropWnd::OnPaint() {
    CPaintDC dc(this);
}

HCURSOR CBackdropWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

BOOL CBackdropWnd::OnEraseBkgnd(CDC* pDC) {
    RECT rc;
    GetClientRect(&rc);
    CBrush brush(RGB(0, 0, 128));
    pDC->FillRect(&rc, &brush);
    return TRUE;
}
