#include "InstallingDialog.h"

#include "Progress.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CInstallingDialog, CDialog)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CInstallingDialog::CInstallingDialog(CWnd* pParent)
    : CDialog(IDD_INSTALLING, pParent), m_bCancel(FALSE), m_hWndBar(NULL), m_dProgress(0.0),
      m_dDrawnProgress(0.0), m_nDrawnWidth(0) {}

BOOL CInstallingDialog::Create() {
    return CDialog::Create(NULL);
}

void CInstallingDialog::SetCopyInfo(LPCSTR pszFileName, LPCSTR pszTarget) {
    m_strCopying.Format("Copying: %s", pszFileName);
    m_strTo.Format("To: %s", pszTarget);
    UpdateData(FALSE);
}

void CInstallingDialog::SetProgress(DWORD dwDone, DWORD dwTotal) {
    m_dProgress = ProgressAfter(m_dProgress, dwDone, dwTotal);
    // Called once per 4096-byte block: repainting an unchanged bar that often made the copy
    // several times slower. A bar never drawn yet has its first paint still to come, which
    // shows the fraction as it then stands.
    if (m_hWndBar != NULL && ProgressChangesBar(m_dDrawnProgress, m_dProgress, m_nDrawnWidth))
        ::InvalidateRect(m_hWndBar, NULL, FALSE);
}

void CInstallingDialog::Finish() {
    OnOK();
}

void CInstallingDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_INSTALLING_COPYING, m_strCopying);
    DDX_Text(pDX, IDC_INSTALLING_TO, m_strTo);
}

BOOL CInstallingDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    // The focused Cancel is the default button, as a focused push button is on Windows: Enter
    // cancels. Left to the template, Enter would send the absent OK, whose handling hides the
    // dialog while the copy goes on, unseen and beyond the user's reach.
    SendMessage(DM_SETDEFID, IDCANCEL);
    // TRUE: the focus goes to the first tab stop, Cancel, so Space cancels too.
    return TRUE;
}

void CInstallingDialog::OnCancel() {
    m_bCancel = TRUE;
    CDialog::OnCancel();
}

void CInstallingDialog::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (nIDCtl == IDC_INSTALLING_BAR)
        DrawBar(*lpDrawItemStruct);
    CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

// The whole bar on every request, whatever part or state it names: invalidation does not erase,
// so every pixel is painted here.
void CInstallingDialog::DrawBar(const DRAWITEMSTRUCT& dis) {
    m_hWndBar = dis.hwndItem;
    CDC* pDC = CDC::FromHandle(dis.hDC);
    const int nWidth = dis.rcItem.right;
    const int nHeight = dis.rcItem.bottom;
    const int nFill = ProgressFilledWidth(m_dProgress, nWidth);

    CBrush brRed(RGB(255, 0, 0));
    CBrush brWhite(RGB(255, 255, 255));
    RECT rcRed = {dis.rcItem.left, dis.rcItem.top, nFill, nHeight};
    pDC->FillRect(&rcRed, &brRed);
    if (nFill < nWidth) {
        RECT rcWhite = {nFill, dis.rcItem.top, nWidth, nHeight};
        pDC->FillRect(&rcWhite, &brWhite);
    }

    // Measured with the font the control has selected in the context: the dialog's font.
    CString strLabel = ProgressLabel(m_dProgress);
    SIZE sizeLabel = pDC->GetTextExtent(strLabel, strLabel.GetLength());
    POINT ptLabel = ProgressLabelOrigin(nWidth, nHeight, sizeLabel);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(ptLabel.x, ptLabel.y, strLabel, strLabel.GetLength());

    m_dDrawnProgress = m_dProgress;
    m_nDrawnWidth = nWidth;
}
