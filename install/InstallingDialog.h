#pragma once

#include "afxwin.h"

// The modeless dialog shown while the files are copied: which file goes where, a percentage bar
// drawn in an owner-drawn button, and Cancel. The copy job owns it, feeds it, and reads
// m_bCancel between its steps; its handlers run only inside the copy job's message dispatch.
class CInstallingDialog : public CDialog {
public:
    explicit CInstallingDialog(CWnd* pParent = NULL);

    // Makes the (visible, centred) modeless window from its template, with no parent of its own:
    // the application's main window becomes its owner.
    BOOL Create();
    // "Copying: <file>" and "To: <target>".
    void SetCopyInfo(LPCSTR pszFileName, LPCSTR pszTarget);
    // Takes the fraction dwDone / dwTotal (see ProgressAfter) and has the bar redrawn when that
    // changes what it shows.
    void SetProgress(DWORD dwDone, DWORD dwTotal);
    // Ends the dialog through its OK handling, which hides it.
    void Finish();

    BOOL m_bCancel;     // set by Cancel, Esc or the system menu's Close; never cleared
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

private:
    void DrawBar(const DRAWITEMSTRUCT& dis);

    // What the bar showed at its last draw, so that SetProgress can tell whether a new fraction
    // would change any pixel of it.
    double m_dDrawnProgress;
    int m_nDrawnWidth;
};
