#include "Manifest.h"

const char kDefaultDestinationFormat[] = "%c:\\ZEL\\";

const LPCSTR kManifestFiles[] = {
    "ZEL.EXE",      "README.TXT", "ZEL.HLP",    "MFC30.DLL",   "MFCN30.DLL",
    "MSVCRT20.DLL", "QUIRN.FON",  "QUIRNW.FON", "QUIRNDT.FON", "QUIRNDB.FON",
};
const int kManifestFileCount = sizeof kManifestFiles / sizeof kManifestFiles[0];

// The same files as the last four above; names are not case-sensitive.
const LPCSTR kManifestFontSuffixes[] = {
    "\\quirn.fon",
    "\\quirnw.fon",
    "\\quirndt.fon",
    "\\quirndb.fon",
};
const int kManifestFontCount = sizeof kManifestFontSuffixes / sizeof kManifestFontSuffixes[0];

const char kGroupName[] = "ZEL";
const char kProgramPathFormat[] = "%s\\ZEL.EXE";

// Only the first item's result decides whether the group step succeeded.
const CGroupItem kGroupItems[] = {
    {"ZEL", "ZEL", NULL},
    {"NOTEPAD README.TXT", "README", "NOTEPAD.EXE"},
    {"WINHELP ZEL.HLP", "ZEL Help", "WINHELP.EXE"},
};
const int kGroupItemCount = sizeof kGroupItems / sizeof kGroupItems[0];
