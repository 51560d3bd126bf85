#include "CommandLine.h"

// The line is read byte by byte: a blank, a quote, / - and = are never part of a double-byte
// character (no lead byte is below 0x81 and no trail byte below 0x40), so a name in any code
// page passes through whole.

const char kUsageText[] = "Usage: SETUP [/S] [/NOGROUP] [/LOG=file] [/D=directory]\n"
                          "\n"
                          "/S  Installs with no window and asks nothing: into the proposed "
                          "directory or the one /D= names, with the Program Manager group.\n"
                          "/NOGROUP  Makes no Program Manager group.\n"
                          "/LOG=file  Appends a log of the run to the file.\n"
                          "/D=directory  The destination. It comes last and takes the rest of "
                          "the line; quotes are not needed.\n"
                          "/?  Shows this help and does nothing else.\n"
                          "\n"
                          "Exit codes: 0 installed, 1 cancelled, 2 failed, 3 the command line "
                          "cannot be used.";

namespace {

BOOL IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

char UpperAscii(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

// Whether the text from psz on begins with pszName (upper case), letter case aside.
BOOL BeginsWith(LPCSTR psz, LPCSTR pszName) {
    for (; *pszName != 0; psz++, pszName++)
        if (UpperAscii(*psz) != *pszName)
            return FALSE;
    return TRUE;
}

// Whether [pszBegin, pszEnd) is pszName (upper case) exactly, letter case aside.
BOOL IsName(LPCSTR pszBegin, LPCSTR pszEnd, LPCSTR pszName) {
    return BeginsWith(pszBegin, pszName) && pszEnd - pszBegin == lstrlenA(pszName);
}

CString Span(LPCSTR pszBegin, LPCSTR pszEnd) {
    return CString(pszBegin).Left(static_cast<int>(pszEnd - pszBegin));
}

LPCSTR SkipTo(LPCSTR psz, char ch) {
    while (*psz != 0 && *psz != ch)
        psz++;
    return psz;
}

LPCSTR SkipToBlank(LPCSTR psz) {
    while (*psz != 0 && !IsBlank(*psz))
        psz++;
    return psz;
}

// Reads the switches one by one, noting the first problem.
class CSwitchReader {
public:
    CSwitchReader(LPCSTR pszLine, CSetupOptions& options) : m_p(pszLine), m_options(options) {}

    BOOL Read() {
        for (;;) {
            while (IsBlank(*m_p))
                m_p++;
            if (*m_p == 0)
                return m_options.m_strError.GetLength() == 0;
            ReadSwitch();
        }
    }

private:
    void ReadSwitch() {
        // A switch quoted as a whole ends at its closing quote, any other at the next blank
        // (but for the values of /D= and /LOG=, read below).
        const BOOL bQuoted = *m_p == '"';
        LPCSTR pszBegin = bQuoted ? m_p + 1 : m_p;
        LPCSTR pszEnd = bQuoted ? SkipTo(pszBegin, '"') : SkipToBlank(pszBegin);
        m_p = bQuoted && *pszEnd == '"' ? pszEnd + 1 : pszEnd;

        LPCSTR pszName = pszBegin + 1;
        if (*pszBegin != '/' && *pszBegin != '-') {
            Problem("Unknown switch: %s", Span(pszBegin, pszEnd));
        } else if (BeginsWith(pszName, "D=")) {
            Value(m_options.m_strDestination, "/D=", "/D= names no destination.", pszName + 2,
                  bQuoted ? pszEnd : NULL, TRUE);
        } else if (BeginsWith(pszName, "LOG=")) {
            Value(m_options.m_strLogFile, "/LOG=", "/LOG= names no file.", pszName + 4,
                  bQuoted ? pszEnd : NULL, FALSE);
        } else if (IsName(pszName, pszEnd, "S")) {
            Flag(m_options.m_bSilent, "/S");
        } else if (IsName(pszName, pszEnd, "NOGROUP")) {
            Flag(m_options.m_bNoGroup, "/NOGROUP");
        } else if (IsName(pszName, pszEnd, "?") || IsName(pszName, pszEnd, "HELP")) {
            Flag(m_options.m_bHelp, "/?");
        } else {
            Problem("Unknown switch: %s", Span(pszBegin, pszEnd));
        }
    }

    void Flag(BOOL& bFlag, LPCSTR pszSwitch) {
        if (bFlag)
            Problem("%s is given twice.", pszSwitch);
        bFlag = TRUE;
    }

    // The value starts at pszValue. Within a switch quoted as a whole it ends at pszQuotedEnd;
    // a value of its own in quotes ends at its closing quote; any other one at the next blank,
    // or with bRestOfLine at the end of the line (blanks at the very end dropped).
    void Value(CString& strValue, LPCSTR pszSwitch, LPCSTR pszEmpty, LPCSTR pszValue,
               LPCSTR pszQuotedEnd, BOOL bRestOfLine) {
        LPCSTR pszEnd;
        if (pszQuotedEnd != NULL) {
            pszEnd = pszQuotedEnd;
        } else if (*pszValue == '"') {
            pszEnd = SkipTo(++pszValue, '"');
            m_p = *pszEnd == '"' ? pszEnd + 1 : pszEnd;
        } else if (bRestOfLine) {
            m_p = pszEnd = pszValue + lstrlenA(pszValue);
            while (pszEnd > pszValue && IsBlank(pszEnd[-1]))
                pszEnd--;
        } else {
            pszEnd = m_p = SkipToBlank(pszValue);
        }
        if (strValue.GetLength() != 0)
            Problem("%s is given twice.", pszSwitch);
        else if (pszEnd == pszValue)
            Problem("%s", pszEmpty);
        else
            strValue = Span(pszValue, pszEnd);
    }

    void Problem(LPCSTR pszFormat, LPCSTR pszDetail) {
        if (m_options.m_strError.GetLength() == 0)
            m_options.m_strError.Format(pszFormat, pszDetail);
    }

    LPCSTR m_p;
    CSetupOptions& m_options;
};

} // namespace

BOOL ParseCommandLine(LPCSTR pszCommandLine, CSetupOptions& options) {
    options = CSetupOptions();
    return CSwitchReader(pszCommandLine, options).Read();
}
