#pragma once

#include "afxwin.h"

// The application's main window for the whole run: a modeless dialog resized to the whole
// screen, painted with a vertical blue gradient and the maker's name and the setup title.
// Every modal dialog of the run is owned by it.
class CBackdropWnd : public CDialog {
public:
    explicit CBackdropWnd(CWnd* pParent = NULL);

    BOOL Create();

    HICON m_hIcon; // the application icon, a shared resource icon: never freed

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The backdrop has no commands of its own. While the files are copied it is not disabled, and
    // Enter, Esc or its system menu's Close would otherwise end it as a dialog, which hides it.
    void OnOK() override;
    void OnCancel() override;
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()
};
