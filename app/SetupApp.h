#pragma once

#include "afxwin.h"
#include "install/InstallLog.h"

class CBackdropWnd;
class CDialog;
class CProgramGroupBuilder;
struct CSetupOptions;

// The program's one application object: InitInstance reads the command line and runs the whole
// install sequence, then returns FALSE, so the program ends when the sequence does.
class CSetupApp : public CWinApp {
public:
    // How the run ended, which is the program's exit code.
    enum Outcome {
        outcomeInstalled = 0,
        outcomeHelpShown = 0,
        outcomeCancelled = 1,
        outcomeFailed = 2,
        outcomeUnusableCommandLine = 3
    };

    explicit CSetupApp(CProgramGroupBuilder& groupBuilder);

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Every message is logged; a silent run shows none, and goes on as after OK.
    int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

private:
    BOOL RunSequence(const CSetupOptions& options);
    // The step's dialog, or in a silent run the answer that goes on (Continue, OK, OK).
    INT_PTR RunStep(CDialog& dlg);
    BOOL EndSequence(CBackdropWnd& wndBackdrop, Outcome outcome);
    BOOL End(Outcome outcome);
    void MakeProgramGroup(const CString& strDirectory);
    void LogStart();

    CProgramGroupBuilder& m_groupBuilder;
    Outcome m_outcome;
    BOOL m_bSilent;
    CInstallLog m_log;

    DECLARE_MESSAGE_MAP()
};
