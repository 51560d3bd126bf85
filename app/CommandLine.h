#pragma once

#include "afxstr.h"

// What the command line asks of a run. Started without arguments, SETUP is the interactive
// installer; the switches serve the tools that deploy software to many machines at once.
struct CSetupOptions {
    CSetupOptions() : m_bSilent(FALSE), m_bNoGroup(FALSE), m_bHelp(FALSE) {}

    BOOL m_bSilent;  // /S: no window at all; every message goes to the log only
    BOOL m_bNoGroup; // /NOGROUP: no Program Manager group, and no question about one
    BOOL m_bHelp;    // /? or /HELP: the usage, and nothing else
    // /D=: the destination, exactly as given (it goes through what a typed one goes through);
    // empty when not given.
    CString m_strDestination;
    // /LOG=: the file the run's log is appended to; empty when not given.
    CString m_strLogFile;
    // Why the command line cannot be used, for the user; empty when it can.
    CString m_strError;
};

// Reads the command line after the program's name. Switches start with / or -, in any letter
// case, and are separated by blanks; a switch quoted as a whole ("/D=C:\My Apps") is that switch.
// /D= comes last and takes the rest of the line as it stands, unless its value is quoted
// (/D="C:\My Apps"). An unknown switch, a /D= or /LOG= without a value, or a switch given twice
// makes the line unusable: FALSE, with the first such problem in m_strError. The switches that
// were understood are still filled in, so that a silent run can say why in its log.
BOOL ParseCommandLine(LPCSTR pszCommandLine, CSetupOptions& options);

// The help text: the switches and the exit codes.
extern const char kUsageText[];
