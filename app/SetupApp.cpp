#include "SetupApp.h"

#include "CommandLine.h"
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
#include "version.h"

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSetupApp::CSetupApp(CProgramGroupBuilder& groupBuilder)
    : m_groupBuilder(groupBuilder), m_outcome(outcomeFailed), m_bSilent(FALSE) {}

int CSetupApp::ExitInstance() {
    return m_outcome;
}

int CSetupApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
    if (m_bSilent) {
        m_log.Write(lpszPrompt, "Message (silent, not shown): ");
        return IDOK;
    }
    m_log.Write(lpszPrompt, "Message: ");
    return CWinApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
}

INT_PTR CSetupApp::RunStep(CDialog& dlg) {
    return m_bSilent ? IDOK : dlg.DoModal();
}

BOOL CSetupApp::End(Outcome outcome) {
    static const LPCSTR kOutcomes[] = {"installed", "cancelled", "failed",
                                       "the command line cannot be used"};
    m_outcome = outcome;
    m_log.WriteFormat("Ended: %s, exit code %d", kOutcomes[outcome], outcome);
    return FALSE;
}

BOOL CSetupApp::EndSequence(CBackdropWnd& wndBackdrop, Outcome outcome) {
    wndBackdrop.DestroyWindow();
    // The backdrop object ends with InitInstance: nothing may reach it afterwards.
    m_pMainWnd = NULL;
    return End(outcome);
}

void CSetupApp::LogStart() {
    m_log.WriteFormat("SETUP %s (ZEL 1.1B3) started; command line: %s", SETUP_VERSION_TEXT,
                      m_lpCmdLine[0] != 0 ? m_lpCmdLine : "(none)");
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExA(&version)) {
        const BOOL bNt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        // Windows 95 keeps its version in the build number's high word, the build in the low.
        m_log.WriteFormat("Windows %d.%d, build %d, %s %s",
                          static_cast<int>(version.dwMajorVersion),
                          static_cast<int>(version.dwMinorVersion),
                          static_cast<int>(LOWORD(version.dwBuildNumber)),
                          bNt ? "Windows NT" : "Windows 95 family", version.szCSDVersion);
    }
}

BOOL CSetupApp::InitInstance() {
    CSetupOptions options;
    BOOL bUsable = ParseCommandLine(m_lpCmdLine, options);
    // The log first, so that it tells the whole run, a command line that cannot be used too.
    if (options.m_strLogFile.GetLength() != 0 && !m_log.Open(options.m_strLogFile) && bUsable) {
        options.m_strError.Format("The log file cannot be opened: %s",
                                  (LPCSTR)options.m_strLogFile);
        bUsable = FALSE;
    }
    LogStart();
    // Nothing is made or copied for a command line that cannot be used: the box names the
    // problem and shows the usage; a silent run says why in its log alone. The help is shown
    // even to a silent run: it was asked for.
    if (!bUsable) {
        m_log.Write(options.m_strError, "The command line cannot be used: ");
        if (!options.m_bSilent)
            CWinApp::DoMessageBox(options.m_strError + "\n\n" + kUsageText, MB_OK, 0);
        return End(outcomeUnusableCommandLine);
    }
    if (options.m_bHelp) {
        CWinApp::DoMessageBox(kUsageText, MB_OK, 0);
        m_outcome = outcomeHelpShown;
        m_log.Write("Ended: help shown, exit code 0");
        return FALSE;
    }
    m_bSilent = options.m_bSilent;
    m_log.Write(m_bSilent ? "Silent install" : "Interactive install");
    return RunSequence(options);
}

BOOL CSetupApp::RunSequence(const CSetupOptions& options) {
    Enable3dControls();

    // The backdrop is the main window before any dialog runs, so it owns every dialog made
    // without a parent. A silent run shows no window at all.
    CBackdropWnd wndBackdrop(NULL);
    if (!m_bSilent) {
        m_pMainWnd = &wndBackdrop;
        wndBackdrop.Create();
    }

    CWelcomeDlg dlgWelcome(NULL);
    if (RunStep(dlgWelcome) == IDCANCEL) {
        m_log.Write("Welcome: the user cancelled");
        return EndSequence(wndBackdrop, outcomeCancelled);
    }

    // The drive letter as the system reports it, upper or lower case; should the system not say
    // where Windows is, drive C is proposed rather than a destination without a drive.
    char szWindowsDir[1024] = "";
    ::GetWindowsDirectoryA(szWindowsDir, sizeof szWindowsDir);
    CString strDefaultDestination;
    strDefaultDestination.Format(kDefaultDestinationFormat,
                                 szWindowsDir[0] != 0 ? szWindowsDir[0] : 'C');

    CInstallDirDlg dlgInstallDir(NULL);
    // A destination given on the command line is proposed in place of the default one.
    dlgInstallDir.m_strDirectory = options.m_strDestination.GetLength() != 0
                                       ? options.m_strDestination
                                       : strDefaultDestination;
    if (RunStep(dlgInstallDir) == IDCANCEL) {
        m_log.Write("Install Directory: the user chose Exit");
        return EndSequence(wndBackdrop, outcomeCancelled);
    }
    // The destination as the user left it, made absolute where it depends on the current
    // directory, which changes before the copy (see ResolveDestination); the copy job keeps its
    // own normalised copy. A refusal names the text as the user entered it.
    const CString strEntered = dlgInstallDir.m_strDirectory;
    const CString strDirectory = ResolveDestination(strEntered);

    m_log.Write(strEntered, "Destination as given: ");
    m_log.Write(strDirectory, "Destination as resolved: ");

    CCopyJob copyJob;
    copyJob.m_bSilent = m_bSilent;
    copyJob.m_pLog = &m_log;
    copyJob.SetDestination(strDirectory);
    for (int i = 0; i < kManifestFileCount; i++)
        copyJob.AddFile(kManifestFiles[i]);

    const DWORD dwAttributes = ::GetFileAttributesA(copyJob.GetDestination());
    const BOOL bExisted =
        dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!IsUsableDestination(strDirectory) || !copyJob.MakeDestinationDirectory()) {
        CString strMessage;
        strMessage.Format("Unable to create destination directory: %s", (LPCSTR)strEntered);
        AfxMessageBox(strMessage, MB_OK, 0);
        return EndSequence(wndBackdrop, outcomeFailed);
    }
    m_log.Write(copyJob.GetDestination(), bExisted ? "Destination directory already there: "
                                                   : "Destination directory made: ");

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
        if (copyJob.WasCancelled())
            m_log.Write("Installing: the user cancelled the copy");
        AfxMessageBox("Failed to install ZEL", MB_OK, 0);
        return EndSequence(wndBackdrop, copyJob.WasCancelled() ? outcomeCancelled : outcomeFailed);
    }

    CCreateGroupDlg dlgCreateGroup(NULL);
    if (options.m_bNoGroup)
        m_log.Write("No Program Manager group: /NOGROUP");
    else if (RunStep(dlgCreateGroup) == IDOK)
        MakeProgramGroup(strDirectory);
    else
        m_log.Write("Create Application Group: the user chose Skip");

    CSuccessDlg dlgSuccess(NULL);
    RunStep(dlgSuccess);

    return EndSequence(wndBackdrop, outcomeInstalled);
}

void CSetupApp::MakeProgramGroup(const CString& strDirectory) {
    // The builder outlives the application object, and with it the log: lent for this step only.
    m_groupBuilder.m_pLog = &m_log;
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
    m_groupBuilder.m_pLog = NULL;
    if (!bOk)
        AfxMessageBox("Failed to complete installation of program group", MB_OK, 0);
}
