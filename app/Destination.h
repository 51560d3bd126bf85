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
