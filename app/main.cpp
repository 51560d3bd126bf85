#include "ProgramGroupBuilder.h"
#include "SetupApp.h"

// Before anything can load a library on demand: only the system directory is searched, never
// the program's own directory, which on a download folder may hold planted DLLs.
static BOOL RestrictDllSearch() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    HMODULE hKernel = ::GetModuleHandleA("KERNEL32.DLL");
    SetDefaultDllDirectoriesProc pfnSetDefault =
        hKernel ? reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(
                      ::GetProcAddress(hKernel, "SetDefaultDllDirectories")))
                : NULL;
    if (pfnSetDefault != NULL && pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return TRUE;
    // Older systems: at least take the current directory out of the search.
    return ::SetDllDirectoryA("");
}
static const BOOL dllSearchRestricted = RestrictDllSearch();

// The program's two static objects. Their order matters: the group builder's DDE instance is
// made first and ended last, around the whole life of the application object.
static CProgramGroupBuilder theGroupBuilder;
static CSetupApp theApp(theGroupBuilder);
