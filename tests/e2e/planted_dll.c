/* A library planted under the names of libraries that SETUP might load (VERSION.DLL, CTL3D32.DLL,
   ...) beside SETUP.EXE and in its current directory. Should any process load it, it leaves
   C:\MARKERS\<its own file name>.txt holding two lines: its own path and the path of the program
   that loaded it. It links no C run-time and imports nothing but KERNEL32, so that loading it can
   never fail. */
#include <windows.h>

static const char kMarkerDir[] = "C:\\MARKERS";

BOOL WINAPI PlantedEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char self[MAX_PATH];
    char program[MAX_PATH];
    char marker[2 * MAX_PATH];
    char text[2 * MAX_PATH + 4];
    const char* name = self;
    const char* p;
    DWORD length;
    HANDLE file;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    length = GetModuleFileNameA(instance, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    for (p = self; *p; p++)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    length = GetModuleFileNameA(NULL, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        program[0] = 0;
    lstrcpyA(text, self);
    lstrcatA(text, "\r\n");
    lstrcatA(text, program);
    CreateDirectoryA(kMarkerDir, NULL);
    lstrcpyA(marker, kMarkerDir);
    lstrcatA(marker, "\\");
    lstrcatA(marker, name);
    lstrcatA(marker, ".txt");
    file = CreateFileA(marker, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, text, (DWORD)lstrlenA(text), &written, NULL);
        CloseHandle(file);
    }
    return TRUE;
}
