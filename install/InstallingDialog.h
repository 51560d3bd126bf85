#pragma once

#include "afxwin.h"

// The modeless dialog shown while the files are copied: which file goes where, a percentage bar
// drawn in an owner-drawn button, and Cancel. The copy job owns it, feeds it, and reads
// m_bCancel between its steps.
class CInstallingDialog : public CDialog {
public:
    explicit CInstallingDialog(CWnd* pParent = NULL);

    // Makes the (visible) modeless window from its template.
    BOOL Create();
    // "Copying: <file>" and "To: <target>".
    void SetCopyInfo(LPCSTR pszFileName, LPCSTR pszTarget);
    void SetProgress(DWORD dwDone, DWORD dwTotal);
    // Ends the dialog through its OK handling, which hides it.
    void Finish();

    BOOL m_bCancel;     // set by Cancel, Esc or Close; never cleared
    HWND m_hWndBar;     // the bar control, recorded from its draw requests
    double m_dProgress; // completed fraction; 1.0 is complete; not clamped
    CString m_strCopying;
    CString m_strTo;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    DECLARE_MESSAGE_MAP()
};
