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
// Any other destination is kept exactly as typed, and so is one that names no directory (empty,
// a bare drive such as C:, only dots, spaces and separators), which fails as it did.
CString ResolveDestination(const CString& strDirectory);

// Whether a destination can name a directory at all, checked before anything is made. It cannot
// when it holds a character that no file name may hold and that the system does not refuse by
// itself (a double quote, a control character): C:\a"b\..\ZEL would be made as C:\ZEL, while
// Program Manager would be handed the quote, which ends its quoted fields early. Nor when it, or
// a directory on its way, names a device (NUL, CON, COM1, C:\ZEL\NUL, \\.\X, \\?\X): the system
// would open the device itself, and the run could end in Success with nothing installed.
BOOL IsUsableDestination(const CString& strDirectory);
