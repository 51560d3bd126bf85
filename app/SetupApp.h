#pragma once

#include "afxwin.h"

class CBackdropWnd;
class CProgramGroupBuilder;

// The program's one application object: InitInstance runs the whole install sequence and
// returns FALSE, so the program ends when the sequence does.
class CSetupApp : public CWinApp {
public:
    // How the run ended, which is the program's exit code.
    enum Outcome { outcomeInstalled = 0, outcomeCancelled = 1, outcomeFailed = 2 };

    explicit CSetupApp(CProgramGroupBuilder& groupBuilder);

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    BOOL EndSequence(CBackdropWnd& wndBackdrop, Outcome outcome);
    void MakeProgramGroup(const CString& strDirectory);

    CProgramGroupBuilder& m_groupBuilder;
    Outcome m_outcome;

    DECLARE_MESSAGE_MAP()
};
