/* One of the three sample run-time libraries of ZEL (MFC30.DLL, MFCN30.DLL, MSVCRT20.DLL on the
   medium). Each is built from this file with its own ZEL_RUNTIME_VERSION and links no C run-time:
   its entry point is ZelRuntimeEntry, so the DLL stays a few kilobytes. */
#include <windows.h>

BOOL WINAPI ZelRuntimeEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

/* The library's version: major in bits 24-31, minor in bits 16-23, library number in bits 0-15. */
__declspec(dllexport) DWORD ZelRuntimeVersion(void) {
    return ZEL_RUNTIME_VERSION;
}
