#pragma once

#include "afxstr.h"

// The destination as every step after the Install Directory dialog uses it: the directory
// creation, the copy, the messages and the program group.
//
// A relative destination (ZEL, \ZEL, C:ZEL) names a place relative to the current directory,
// which the sequence changes to the program's own before the copy: it is made absolute against
// the current directory of the moment, so that the directory made and the directory filled are
// one. So is a destination whose last name ends in a dot or a space: the system drops those when
// it makes the directory, but not when it opens a file below it.
// Blanks around the whole text are dropped (a pasted " C:\My Apps" is C:\My Apps, not a name
// below the current directory), and so are the dots and blanks at the end of every name but the
// last (C:\ZEL \SUB is C:\ZEL\SUB): the system drops them from the last name only, so the
// directory on the way would be made without them and the one below it never found.
// Any other destination is kept exactly as typed, and so is one that names no directory (empty,
// a bare drive such as C:, only dots, spaces and separators), which fails as it did.
// Every walk steps over a double-byte character whole: its trail byte may be the byte of '\'.
CString ResolveDestination(const CString& strDirectory);

// Whether a destination can name a directory at all, checked before anything is made. It cannot
// when it holds a character that no file name may hold and that the system does not refuse by
// itself (a double quote, a control character): C:\a"b\..\ZEL would be made as C:\ZEL, while
// Program Manager would be handed the quote, which ends its quoted fields early. Nor when it, or
// a directory on its way, names a device (NUL, CON, COM1, C:\ZEL\NUL, \\.\X, \\?\X): the system
// would open the device itself, and the run could end in Success with nothing installed. Nor
// when it holds a colon anywhere but right after a leading drive letter: C:\ZEL:x names a stream
// of C:\ZEL and C:\ZEL::$INDEX_ALLOCATION the directory C:\ZEL itself, so the files would not be
// where the group says. Nor when a name on the way is made of dots and blanks only (other than
// . and ..), which the system would not make as typed.
BOOL IsUsableDestination(const CString& strDirectory);
