// SETUP.EXE's start-up and what the compiler expects of a run-time library: the entry point,
// the constructors and destructors of static objects, and the block copies. Linked into
// SETUP.EXE only; the test programs keep their own run-time library.
#include <windows.h>

// The static objects' constructors, one entry per translation unit, between a -1 and a 0 that
// the linker puts around the .ctors sections.
typedef void (*RtInitProc)();
extern "C" RtInitProc __CTOR_LIST__[];

namespace {

// The destructors that the static objects register as they are constructed, run last first.
// The program has a handful of objects with destructors; a registration past the table fails,
// as the C library's atexit may.
const int kMaxExitProcs = 32;
RtInitProc g_exitProcs[kMaxExitProcs];
int g_nExitProcs;

void RunConstructors() {
    // Run from the end, as the linker collects them in reverse order of construction.
    int n = 0;
    while (__CTOR_LIST__[n + 1] != 0)
        n++;
    for (; n >= 1; n--)
        __CTOR_LIST__[n]();
}

void RunExitProcs() {
    while (g_nExitProcs > 0)
        g_exitProcs[--g_nExitProcs]();
}

// The command line after the program's name, as WinMain receives it. Bytes above 0x7F (accented
// or double-byte characters in the name) are part of the name, never blanks.
LPSTR CommandTail() {
    BYTE* p = reinterpret_cast<BYTE*>(::GetCommandLineA());
    if (*p == '"') {
        for (p++; *p != 0 && *p != '"'; p++) {
        }
        if (*p == '"')
            p++;
    } else {
        while (*p > ' ')
            p++;
    }
    while (*p != 0 && *p <= ' ')
        p++;
    return reinterpret_cast<LPSTR>(p);
}

} // namespace

extern "C" int atexit(RtInitProc pfn) {
    if (g_nExitProcs == kMaxExitProcs)
        return -1;
    g_exitProcs[g_nExitProcs++] = pfn;
    return 0;
}

// The entry point: the stack that the system hands over may be aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void RtStartup() {
    RunConstructors();
    STARTUPINFOA si;
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    int nExitCode = WinMain(::GetModuleHandleA(NULL), NULL, CommandTail(),
                            (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT);
    RunExitProcs();
    ::ExitProcess(nExitCode);
}

// The block copies that the compiler calls, and the strings' copies: byte by byte, as the program
// copies structures and strings of at most a few kilobytes. Compiled so that the compiler does
// not turn their loops back into calls of themselves.
extern "C" __attribute__((optimize("no-tree-loop-distribute-patterns"))) void*
memcpy(void* pDest, const void* pSrc, size_t n) {
    BYTE* d = static_cast<BYTE*>(pDest);
    const BYTE* s = static_cast<const BYTE*>(pSrc);
    while (n--)
        *d++ = *s++;
    return pDest;
}

extern "C" __attribute__((optimize("no-tree-loop-distribute-patterns"))) void*
memmove(void* pDest, const void* pSrc, size_t n) {
    BYTE* d = static_cast<BYTE*>(pDest);
    const BYTE* s = static_cast<const BYTE*>(pSrc);
    if (d < s) {
        while (n--)
            *d++ = *s++;
    } else {
        while (n--)
            d[n] = s[n];
    }
    return pDest;
}

extern "C" __attribute__((optimize("no-tree-loop-distribute-patterns"))) void*
memset(void* pDest, int ch, size_t n) {
    BYTE* d = static_cast<BYTE*>(pDest);
    while (n--)
        *d++ = static_cast<BYTE>(ch);
    return pDest;
}
