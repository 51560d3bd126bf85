#pragma once

#include "afxstr.h"

// The texts of Program Manager's DDE execute commands. Each is one bracketed call, sent as
// CF_TEXT with its terminating NUL, for instance (default destination C:\ZEL\):
//
//   [DeleteGroup(ZEL)]
//   [CreateGroup(ZEL)]
//   [ShowGroup(ZEL,1)]
//   [AddItem(ZEL, ZEL, C:\ZEL\ZEL.EXE,, -1, -1, C:\ZEL)]
//   [AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, C:\ZEL)]
//
// and, for a destination with a space in it:
//
//   [AddItem(ZEL, ZEL, "C:\My Apps\ZEL\ZEL.EXE",, -1, -1, "C:\My Apps\ZEL")]
//
// Group names go in unchanged: no clean-up, no quoting.

// Whether a path must go to Program Manager between double quotes: when it holds a space past
// its first character (C:\My Apps\ZEL goes out as "C:\My Apps\ZEL"), or any of , ( ) [ ], which
// Program Manager reads as the end of a field, of a command or of the whole execute. A directory
// named x)][DeleteGroup(Accessories)][(y would otherwise run a command of its own. A path
// cannot hold a double quote itself (the install sequence refuses a destination with one), so
// quoting it is always safe.
BOOL ProgmanNeedsQuotes(LPCSTR pszPath);

CString FormatDeleteGroup(LPCSTR pszGroupName);
CString FormatCreateGroup(LPCSTR pszGroupName);
// Show command 1, written with no space after the comma.
CString FormatShowGroup(LPCSTR pszGroupName);

// AddItem's fields, in Program Manager's order: command line, item name, icon path, icon index
// (left empty, hence the two commas), x and y (-1, -1: Program Manager places the item) and
// default directory. The command line, icon path and default directory are cleaned with
// NormalizePath; the default directory alone is quoted here, when ProgmanNeedsQuotes says so. A
// command line or icon path that needs quotes arrives quoted by the caller, and is cleaned inside
// its quotes; the item name goes in unchanged.
CString FormatAddItem(LPCSTR pszCommandLine, LPCSTR pszItemName, LPCSTR pszIconPath,
                      LPCSTR pszDefaultDirectory);
