#include "Destination.h"

#include "install/NormalizePath.h"

// C:\ZEL or \\server\share: the current directory plays no part.
static BOOL IsAbsolute(const CString& strPath) {
    if (strPath.GetLength() >= 3 && strPath[1] == ':' && IsPathSeparator(strPath[2]))
        return TRUE;
    return strPath.GetLength() >= 2 && IsPathSeparator(strPath[0]) && IsPathSeparator(strPath[1]);
}

static BOOL IsDotOrBlank(char ch) {
    return ch == '.' || ch == ' ';
}

// A name made of dots and blanks only, . and .. among them.
static BOOL IsOnlyDotsAndBlanks(const CString& strName) {
    for (int i = 0; i < strName.GetLength(); i++)
        if (!IsDotOrBlank(strName[i]))
            return FALSE;
    return strName.GetLength() > 0;
}

// Such a name other than . and .., which name a directory themselves.
static BOOL IsDotsAndBlanks(const CString& strName) {
    return IsOnlyDotsAndBlanks(strName) && strName != "." && strName != "..";
}

// The dots and blanks at the end of a name, which the system drops only from the last name of a
// path: C:\ZEL \SUB would have C:\ZEL made and then fail below it. Neither is ever the trail byte
// of a double-byte character, so they are dropped from the end byte by byte. A name of nothing
// else is left for the checks to refuse (or, as . and .., to name a directory).
static CString DropTrailingDotsAndBlanks(const CString& strName) {
    if (IsOnlyDotsAndBlanks(strName))
        return strName;
    int nEnd = strName.GetLength();
    while (nEnd > 0 && IsDotOrBlank(strName[nEnd - 1]))
        nEnd--;
    return strName.Left(nEnd);
}

CString ResolveDestination(const CString& strDirectory) {
    // Blanks around the whole text come with a pasted path: " C:\My Apps" would count as
    // relative, and be made below the current directory.
    int nStart = 0;
    int nStop = strDirectory.GetLength();
    while (nStart < nStop && strDirectory[nStart] == ' ')
        nStart++;
    while (nStop > nStart && strDirectory[nStop - 1] == ' ')
        nStop--;
    const CString strText = strDirectory.Mid(nStart).Left(nStop - nStart);

    // The end of the last name, before any trailing separator, which would keep the system from
    // dropping the dots and blanks before it; walked a character at a time, as a double-byte
    // character may end in the byte of '\'.
    int nEnd = 0;
    BOOL bNamesDirectory = FALSE;
    BOOL bLastIsDotOrBlank = FALSE;
    for (int i = 0, nSize; i < strText.GetLength(); i += nSize) {
        nSize = CharSizeAt(strText, i);
        if (nSize == 1 && IsPathSeparator(strText[i]))
            continue;
        nEnd = i + nSize;
        bLastIsDotOrBlank = nSize == 1 && IsDotOrBlank(strText[i]);
        bNamesDirectory = bNamesDirectory || !bLastIsDotOrBlank;
    }
    if (!bNamesDirectory || (nEnd == 2 && strText[1] == ':'))
        return strText;

    // Every name but the last loses its trailing dots and blanks.
    CString strPath;
    CString strName;
    for (int i = 0, nSize; i < nEnd; i += nSize) {
        nSize = CharSizeAt(strText, i);
        if (nSize == 1 && IsPathSeparator(strText[i])) {
            strPath += DropTrailingDotsAndBlanks(strName);
            strPath += strText[i];
            strName.Empty();
        } else {
            strName += strText.Mid(i).Left(nSize);
        }
    }
    strPath += strName;
    const CString strClean = strPath + strText.Mid(nEnd);
    if (IsAbsolute(strClean) && !bLastIsDotOrBlank)
        return strClean;

    char szFullPath[1024];
    DWORD dwLength = ::GetFullPathNameA(strPath, sizeof szFullPath, szFullPath, NULL);
    if (dwLength == 0 || dwLength >= sizeof szFullPath)
        return strClean;
    return CString(szFullPath);
}

static BOOL IsDriveLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// \\.\NUL, \\?\C:\ZEL: the system's own form for a device, or a path it takes unparsed.
static BOOL NamesDevice(const CString& strPath) {
    char szFullPath[1024];
    DWORD dwLength = ::GetFullPathNameA(strPath, sizeof szFullPath, szFullPath, NULL);
    if (dwLength == 0 || dwLength >= sizeof szFullPath)
        return FALSE; // left to the directory creation, which reports it
    return IsPathSeparator(szFullPath[0]) && IsPathSeparator(szFullPath[1]) &&
           (szFullPath[2] == '.' || szFullPath[2] == '?') && IsPathSeparator(szFullPath[3]);
}

BOOL IsUsableDestination(const CString& strDirectory) {
    const int nLength = strDirectory.GetLength();
    int nNameStart = 0;
    BOOL bDotsOnTheWay = FALSE;
    // A lead byte is none of the characters looked for here; its trail byte is stepped over.
    for (int i = 0, nSize; i <= nLength; i += nSize) {
        nSize = i < nLength ? CharSizeAt(strDirectory, i) : 1;
        const unsigned char ch = i < nLength ? static_cast<unsigned char>(strDirectory[i]) : 0;
        if (ch == '"' || (ch < ' ' && i < nLength))
            return FALSE;
        // A colon past the drive letter names a stream of a file or directory (C:\ZEL:x,
        // C:\ZEL::$INDEX_ALLOCATION), never a name: the files would not be where the group says.
        if (ch == ':' && !(i == 1 && IsDriveLetter(strDirectory[0])))
            return FALSE;
        if (i < nLength && (nSize == 2 || !IsPathSeparator(ch))) {
            // A name of dots and blanks on the way would be made without them (or not at all),
            // and the path below it would then not be found.
            if (bDotsOnTheWay)
                return FALSE;
            continue;
        }
        if (NamesDevice(strDirectory.Left(i)))
            return FALSE;
        bDotsOnTheWay =
            bDotsOnTheWay || IsDotsAndBlanks(strDirectory.Mid(nNameStart).Left(i - nNameStart));
        nNameStart = i + 1;
    }
    return TRUE;
}
