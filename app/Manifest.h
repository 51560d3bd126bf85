#pragma once

#include <windows.h>

// What the setup installs: fixed data, the same on every run.

// The proposed destination, filled with the drive letter of the Windows directory: C:\ZEL\.
extern const char kDefaultDestinationFormat[];

// Copied from the program's own directory into the destination, in this order.
extern const LPCSTR kManifestFiles[];
extern const int kManifestFileCount;

// Appended to the normalised destination and unloaded before the copy replaces them.
extern const LPCSTR kManifestFontSuffixes[];
extern const int kManifestFontCount;

// The Program Manager group and its items.
extern const char kGroupName[];
// The program item's icon path: the destination as entered, then the program's file name.
extern const char kProgramPathFormat[];

struct CGroupItem {
    LPCSTR pszCommandLine;
    LPCSTR pszItemName;
    // NULL for the program item, whose icon path is made from kProgramPathFormat.
    LPCSTR pszIconPath;
};
extern const CGroupItem kGroupItems[];
extern const int kGroupItemCount;
