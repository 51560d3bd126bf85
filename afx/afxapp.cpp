#include "afxwin.h"
#include "rtlib.h"

static CWinApp* afxCurrentWinApp;
// The command line of an application that WinMain has not started (a test's).
static char afxNoArguments[] = "";

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR pszAppName)
    : m_pMainWnd(NULL), m_hInstance(::GetModuleHandleA(NULL)), m_lpCmdLine(afxNoArguments) {
    afxCurrentWinApp = this;
    m_szAppName[0] = 0;
    if (pszAppName != NULL) {
        lstrcpynA(m_szAppName, pszAppName, MAX_PATH);
    } else {
        // The program file's name without directory and extension: SETUP for ...\SETUP.EXE.
        char szModule[MAX_PATH];
        DWORD n = ::GetModuleFileNameA(NULL, szModule, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            LPSTR pszName = RtStrRChr(szModule, '\\');
            pszName = pszName ? pszName + 1 : szModule;
            LPSTR pszExt = RtStrRChr(pszName, '.');
            if (pszExt != NULL)
                *pszExt = 0;
            lstrcpynA(m_szAppName, pszName, MAX_PATH);
        }
    }
    m_pszAppName = m_szAppName;
}

CWinApp::~CWinApp() {
    if (afxCurrentWinApp == this)
        afxCurrentWinApp = NULL;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    // From the window under the message up to its top-level window: the first one that is ours
    // and takes the message wins.
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

BOOL CWinApp::Enable3dControls() {
    // Windows 95 and later draw three-dimensional controls and dialogs themselves; nothing is
    // loaded for them (in particular no library from the program's own directory).
    return TRUE;
}

void CWinApp::OnHelp() {
    // The help file that would sit beside the program, named after it; without one, F1 does
    // nothing rather than show the help engine's "file not found".
    char szHelp[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(m_hInstance, szHelp, MAX_PATH);
    LPSTR pszExt = n > 0 && n < MAX_PATH ? RtStrRChr(szHelp, '.') : NULL;
    if (pszExt == NULL || pszExt - szHelp + 5 > MAX_PATH)
        return;
    lstrcpyA(pszExt, ".HLP");
    if (::GetFileAttributesA(szHelp) == INVALID_FILE_ATTRIBUTES)
        return;
    ::WinHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : NULL, szHelp, HELP_FINDER, 0);
}

CWinApp* AfxGetApp() {
    return afxCurrentWinApp;
}

CWnd* AfxGetMainWnd() {
    return afxCurrentWinApp ? afxCurrentWinApp->m_pMainWnd : NULL;
}

HINSTANCE AfxGetResourceHandle() {
    return afxCurrentWinApp ? afxCurrentWinApp->m_hInstance : ::GetModuleHandleA(NULL);
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
    // The program keeps every resource in its own module.
    HINSTANCE hInst = AfxGetResourceHandle();
    return ::FindResourceA(hInst, lpszName, lpszType) ? hInst : NULL;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(NULL, lpszText, NULL, nType | MB_TASKMODAL);
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT /*nIDPrompt*/) {
    // Owned by the window the user is working with, so the box stays in front of it and that
    // window is disabled while the box is up.
    HWND hOwner = NULL;
    if (m_pMainWnd != NULL && ::IsWindow(m_pMainWnd->m_hWnd))
        hOwner = ::GetLastActivePopup(m_pMainWnd->m_hWnd);
    if (hOwner == NULL && (nType & MB_MODEMASK) == MB_APPLMODAL)
        nType |= MB_TASKMODAL;
    return ::MessageBoxA(hOwner, lpszPrompt, m_pszAppName, nType);
}

void AfxOutOfMemory() {
    // The stop icon with system-modal: the one kind of box the system shows when memory is short.
    AfxMessageBox("Out of memory.", MB_OK | MB_ICONHAND | MB_SYSTEMMODAL, 0);
    // A failed run, as the program's exit codes go.
    ::ExitProcess(2);
}
