#include "SetupApp.h"

#include "Destination.h"
#include "Manifest.h"
#include "install/CopyJob.h"
#include "install/NormalizePath.h"
#include "progman/ProgmanCommands.h"
#include "progman/ProgramGroupBuilder.h"
#include "ui/BackdropWnd.h"
#include "ui/CreateGroupDlg.h"
#include "ui/InstallDirDlg.h"
#include "ui/SuccessDlg.h"
#include "ui/WelcomeDlg.h"

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSetupApp::CSetupApp(CProgramGroupBuilder& groupBuilder)
    : m_groupBuilder(groupBuilder), m_outcome(outcomeFailed) {}

int CSetupApp::ExitInstance() {
    return m_outcome;
}

BOOL CSetupApp::EndSequence(CBackdropWnd& wndBackdrop, Outcome outcome) {
    m_outcome = outcome;
    wndBackdrop.DestroyWindow();
    // The backdrop object ends with InitInstance: nothing may reach it afterwards.
    m_pMainWnd = NULL;
    return FALSE;
}

BOOL CSetupApp::InitInstance() {
    Enable3dControls();

    // The backdrop is the main window before any dialog runs, so it owns every dialog made
    // without a parent.
    CBackdropWnd wndBackdrop(NULL);
    m_pMainWnd = &wndBackdrop;
    wndBackdrop.Create();

    CWelcomeDlg dlgWelcome(NULL);
    if (dlgWelcome.DoModal() == IDCANCEL)
        return EndSequence(wndBackdrop, outcomeCancelled);

    // The drive letter as the system reports it, upper or lower case; should the system not say
    // where Windows is, drive C is proposed rather than a destination without a drive.
    char szWindowsDir[1024] = "";
    ::GetWindowsDirectoryA(szWindowsDir, sizeof szWindowsDir);
    CString strDefaultDestination;
    strDefaultDestination.Format(kDefaultDestinationFormat,
                                 szWindowsDir[0] != 0 ? szWindowsDir[0] : 'C');

    CInstallDirDlg dlgInstallDir(NULL);
    dlgInstallDir.m_strDirectory = strDefaultDestination;
    if (dlgInstallDir.DoModal() == IDCANCEL)
        return EndSequence(wndBackdrop, outcomeCancelled);
    // The destination as the user left it, made absolute where it depends on the current
    // directory, which changes before the copy (see ResolveDestination); the copy job keeps its
    // own normalised copy. A refusal names the text as the user entered it.
    const CString strEntered = dlgInstallDir.m_strDirectory;
    const CString strDirectory = ResolveDestination(strEntered);

    CCopyJob copyJob;
    copyJob.SetDestination(strDirectory);
    for (int i = 0; i < kManifestFileCount; i++)
        copyJob.AddFile(kManifestFiles[i]);

    if (!IsUsableDestination(strDirectory) || !copyJob.MakeDestinationDirectory()) {
        CString strMessage;
        strMessage.Format("Unable to create destination directory: %s", (LPCSTR)strEntered);
        AfxMessageBox(strMessage, MB_OK, 0);
        return EndSequence(wndBackdrop, outcomeFailed);
    }

    // The copy reads every source file by its bare name: the program's own directory becomes
    // the current directory. A program at a drive root keeps its backslash (A:\, not A:, which
    // would name the drive's current directory instead).
    char szModule[1024];
    if (::GetModuleFileNameA(NULL, szModule, sizeof szModule) != 0) {
        const int nLastSeparator = FindLastSeparator(szModule);
        if (nLastSeparator >= 0) {
            if (nLastSeparator == 2 && szModule[1] == ':')
                szModule[3] = 0;
            else
                szModule[nLastSeparator] = 0;
            ::SetCurrentDirectoryA(szModule);
        }
    }

    // Fonts of an earlier installation may be loaded; they must be unloaded before the copy
    // replaces their files. A font that was not loaded is no error.
    for (int i = 0; i < kManifestFontCount; i++)
        ::RemoveFontResourceA(copyJob.GetDestination() + kManifestFontSuffixes[i]);

    if (!copyJob.CopyFiles()) {
        AfxMessageBox("Failed to install ZEL", MB_OK, 0);
        return EndSequence(wndBackdrop, copyJob.WasCancelled() ? outcomeCancelled : outcomeFailed);
    }

    CCreateGroupDlg dlgCreateGroup(NULL);
    if (dlgCreateGroup.DoModal() == IDOK)
        MakeProgramGroup(strDirectory);

    CSuccessDlg dlgSuccess(NULL);
    dlgSuccess.DoModal();

    return EndSequence(wndBackdrop, outcomeInstalled);
}

void CSetupApp::MakeProgramGroup(const CString& strDirectory) {
    BOOL bOk = m_groupBuilder.Connect();
    if (bOk)
        bOk = m_groupBuilder.CreateGroup(kGroupName);
    if (bOk) {
        // The destination as entered: C:\ZEL\ gives C:\ZEL\\ZEL.EXE, which the builder cleans.
        // A space in it (past its first character), a comma, a parenthesis or a bracket needs
        // the quotes Program Manager expects.
        CString strProgram;
        strProgram.Format(kProgramPathFormat, (LPCSTR)strDirectory);
        if (ProgmanNeedsQuotes(strDirectory))
            strProgram = "\"" + strProgram + "\"";
        for (int i = 0; i < kGroupItemCount; i++) {
            const CGroupItem& item = kGroupItems[i];
            BOOL bItemOk = m_groupBuilder.AddItem(
                item.pszCommandLine, item.pszItemName,
                item.pszIconPath ? item.pszIconPath : (LPCSTR)strProgram, strDirectory);
            // Only the program item counts; without it the other items are not sent.
            if (i == 0 && !bItemOk) {
                bOk = FALSE;
                break;
            }
        }
    }
    m_groupBuilder.Disconnect();
    if (!bOk)
        AfxMessageBox("Failed to complete installation of program group", MB_OK, 0);
}
