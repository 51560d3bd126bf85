// Windows, dialogs and the application object of the framework layer.
//
// Every window of the program is a dialog made from a resource template. A CWnd is attached to
// its HWND when the dialog procedure sees WM_INITDIALOG and detached at WM_NCDESTROY; between the
// two, every message goes through the object's message map.
#pragma once

#include "afxfile.h"
#include "afxgdi.h"
#include "afxmsg.h"
#include "afxstr.h"

#define ID_HELP 0xE145

class CDataExchange;

class CWnd : public CCmdTarget {
public:
    CWnd() : m_hWnd(NULL) {}
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd;

    // The object attached to hWnd, or a temporary wrapper that stays valid until a few more
    // temporaries have been asked for (long enough for one call on it).
    static CWnd* FromHandle(HWND hWnd);
    // The object attached to hWnd, or NULL.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // --- Call these.
    BOOL DestroyWindow();
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void SetDlgItemText(int nID, LPCSTR pszString) { ::SetDlgItemTextA(m_hWnd, nID, pszString); }
    // Centres the window over its owner, kept on the screen.
    void CenterWindow();
    // FALSE: members to controls; TRUE: controls to members.
    void UpdateData(BOOL bSaveAndValidate);

    // --- Override these.
    virtual void DoDataExchange(CDataExchange* pDX);
    // The dialog manager's keyboard interface for a message to this window or its controls.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Runs the message map (commands that no entry takes go on to the application); FALSE when
    // no handler took the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Base handling of an owner-drawn control's draw request: nothing is reflected to controls.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    void Attach(HWND hWnd);
    void Detach();
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    friend UINT_PTR CALLBACK AfxCommDlgProc(HWND, UINT, WPARAM, LPARAM);
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // --- Call these.
    // Runs the dialog modally; the id that ended it, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    // Makes the modeless dialog; a dialog without WS_VISIBLE stays hidden.
    BOOL Create(CWnd* pParentWnd = NULL);

    // --- Override these.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    // A null parent makes the application's main window the owner (unless this is the main
    // window itself).
    HWND GetOwnerHwnd(CWnd* pParentWnd) const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

// Direction and target of one UpdateData.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;
};

// Exchanges the text of control nIDC with value, in the direction pDX gives; no validation.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR pszAppName = NULL);
    ~CWinApp() override;

    // --- Override these.
    // Called once after static construction; FALSE ends the program without a message loop.
    virtual BOOL InitInstance();
    // The program's exit code.
    virtual int ExitInstance();
    // Gives the dialog under the message (and its ancestors) the chance to take it, which is
    // what gives a modeless dialog its keyboard interface.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Every AfxMessageBox comes here: shows the box, owned by the window the user works with and
    // captioned with the application's name, and returns the button pressed.
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // --- Call these.
    BOOL Enable3dControls();
    void OnHelp();

    CWnd* m_pMainWnd;
    HINSTANCE m_hInstance;
    // The command line after the program's name, as WinMain received it.
    LPSTR m_lpCmdLine;
    // The program file's name without its extension; the caption of every message box.
    LPCSTR m_pszAppName;

protected:
    DECLARE_MESSAGE_MAP()

private:
    char m_szAppName[MAX_PATH];
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

// A modal box with the application's name as caption. nIDHelp is kept for the design's calls;
// this program has no help for message boxes.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
