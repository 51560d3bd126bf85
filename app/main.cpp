#include "progman/ProgramGroupBuilder.h"
#include "SetupApp.h"

// Before anything can load a library on demand: only the system directory is searched, never
// the program's own directory, which on a download folder may hold planted DLLs. Both calls are
// newer than the oldest systems SETUP runs on, which have neither: they are looked up, not
// imported, or the program would not start there.
static BOOL RestrictDllSearch() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryProc)(LPCSTR);
    const DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    HMODULE hKernel = ::GetModuleHandleA("KERNEL32.DLL");
    if (hKernel == NULL)
        return FALSE;
    SetDefaultDllDirectoriesProc pfnSetDefault = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(::GetProcAddress(hKernel, "SetDefaultDllDirectories")));
    if (pfnSetDefault != NULL && pfnSetDefault(kSearchSystem32))
        return TRUE;
    // Older systems: at least take the current directory out of the search.
    SetDllDirectoryProc pfnSetDllDirectory = reinterpret_cast<SetDllDirectoryProc>(
        reinterpret_cast<void*>(::GetProcAddress(hKernel, "SetDllDirectoryA")));
    return pfnSetDllDirectory != NULL && pfnSetDllDirectory("");
}
static const BOOL dllSearchRestricted = RestrictDllSearch();

// The program's two static objects. Their order matters: the group builder's DDE instance is
// made first and ended last, around the whole life of the application object.
static CProgramGroupBuilder theGroupBuilder;
static CSetupApp theApp(theGroupBuilder);
