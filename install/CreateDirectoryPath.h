#pragma once

#include "afxstr.h"

// Creates strPath and every missing directory above it, from the top down. TRUE when the
// directory exists (or counts as existing: access denied) on return. A failure other than a
// missing parent shows "CreateDirectory failed, err = %d\n" once; a path without any '\' (a bare
// drive, a relative name) is handed to CreateDirectoryA alone and shows nothing.
BOOL CreateDirectoryPath(CString strPath);
