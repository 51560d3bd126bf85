#include "afxwin.h"

// ---------------------------------------------------------------------------------------------
// Message maps

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP messageMap = {NULL, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end;
             pEntry++) {
            if (pEntry->nMessage == nMessage && pEntry->nCode == nCode && pEntry->nID == nID)
                return pEntry;
        }
    }
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (pEntry == NULL)
        return FALSE;
    (this->*pEntry->pfn)();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Windows

// The window property that points from an HWND to the CWnd attached to it.
static const char afxWndProp[] = "SETUP.AfxWnd";

namespace {
// A wrapper lent out by FromHandle: it owns nothing, so it must not destroy its window.
class CTempWnd : public CWnd {
public:
    ~CTempWnd() override { m_hWnd = NULL; }
};
} // namespace

CWnd::~CWnd() {
    if (m_hWnd != NULL) {
        HWND hWnd = m_hWnd;
        Detach();
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(::GetPropA(hWnd, afxWndProp)) : NULL;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == NULL)
        return NULL;
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != NULL)
        return pWnd;
    static CTempWnd ring[8];
    static int next;
    pWnd = &ring[next];
    next = (next + 1) % 8;
    pWnd->m_hWnd = hWnd;
    return pWnd;
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropA(hWnd, afxWndProp, this);
}

void CWnd::Detach() {
    if (m_hWnd == NULL)
        return;
    ::RemovePropA(m_hWnd, afxWndProp);
    m_hWnd = NULL;
    // The application must never reach a main window that is gone.
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = NULL;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::CenterWindow() {
    RECT rcArea;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
    RECT rcCenter = rcArea;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner != NULL && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcCenter);

    RECT rcWnd;
    ::GetWindowRect(m_hWnd, &rcWnd);
    int cx = rcWnd.right - rcWnd.left;
    int cy = rcWnd.bottom - rcWnd.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == NULL || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) {}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    if (message == WM_COMMAND) {
        // Commands that no window takes (the help command) go on to the application.
        CWinApp* pApp = AfxGetApp();
        return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)) ||
               (pApp != NULL && pApp->OnCmdMsg(LOWORD(wParam), HIWORD(wParam)));
    }

    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, 0, 0);
    if (pEntry == NULL)
        return FALSE;
    switch (pEntry->nSig) {
    case AfxSig_vv:
        (this->*pEntry->pfn)();
        break;
    case AfxSig_bD:
        *pResult = (this->*AfxRestoreHandler<BOOL (CCmdTarget::*)(CDC*)>(pEntry->pfn))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case AfxSig_hv:
        *pResult = reinterpret_cast<LRESULT>(
            (this->*AfxRestoreHandler<HCURSOR (CCmdTarget::*)()>(pEntry->pfn))());
        break;
    case AfxSig_vOWNER:
        (this->*AfxRestoreHandler<void (CCmdTarget::*)(int, LPDRAWITEMSTRUCT)>(pEntry->pfn))(
            static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *pResult = TRUE;
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Dialogs

// The one dialog procedure of every CDialog: attaches the object at WM_INITDIALOG (whose lParam
// carries it), then hands each message to its message map.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
        pDlg->Attach(hWnd);
        return pDlg->OnInitDialog();
    }
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return FALSE;
    if (message == WM_NCDESTROY) {
        pWnd->Detach();
        return FALSE;
    }
    LRESULT lResult = 0;
    if (!pWnd->OnWndMsg(message, wParam, lParam, &lResult))
        return FALSE;
    // Of the messages a map can take, this one returns its result directly, not through
    // DWLP_MSGRESULT.
    if (message == WM_QUERYDRAGICON)
        return static_cast<INT_PTR>(lResult);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, ThisClass::OnOK)
ON_COMMAND(IDCANCEL, ThisClass::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

HWND CDialog::GetOwnerHwnd(CWnd* pParentWnd) const {
    if (pParentWnd != NULL)
        return pParentWnd->m_hWnd;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == NULL || pMainWnd == this)
        return NULL;
    return pMainWnd->m_hWnd;
}

INT_PTR CDialog::DoModal() {
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                             GetOwnerHwnd(m_pParentWnd), AfxDlgProc,
                             reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(CWnd* pParentWnd) {
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                     GetOwnerHwnd(m_pParentWnd), AfxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
    return hWnd != NULL;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    ::EndDialog(m_hWnd, IDOK);
}

void CDialog::OnCancel() {
    ::EndDialog(m_hWnd, IDCANCEL);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == NULL)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(hWndCtrl, value);
        return;
    }
    int nLength = ::GetWindowTextLengthA(hWndCtrl);
    ::GetWindowTextA(hWndCtrl, value.GetBuffer(nLength), nLength + 1);
    value.ReleaseBuffer();
}
