/* fault_hook.dll: test instrumentation for the fault catalogue. The robot sets FaultHookProc as
   a WH_CALLWNDPROC hook on SETUP's thread; the system then loads this library into SETUP and
   calls the hook, in SETUP's thread, for every message SETUP sends to one of its windows, just
   before the window gets it. When SETUP sets the text or opens the dialog named by E2E_HOOK_WHEN,
   the hook does E2E_HOOK_DO, once.

   That gives a test an exact moment inside the copy. The copy job sets the Installing dialog's
   "Copying: <file>" line for each file and then polls the dialog's Cancel; a click posted at that
   text is met at exactly that poll. The sizing pass is over when the first such line is set, so
   a source file changed at "Copying: ZEL.EXE" changes between the sizing and the copy passes.

   Environment, read in SETUP's process (which inherits it from the robot):
     E2E_HOOK_WHEN  the text of a WM_SETTEXT, e.g. "Copying: README.TXT", or the caption of a
                    dialog at its WM_INITDIALOG, e.g. "Installing..."
     E2E_HOOK_DO    cancel           post a click on Cancel (id 2) of the dialog of that window
                    escape           post the Esc key to that Cancel button
                    close            post the system menu's Close to that dialog
                    delete PATH      delete the file PATH
                    append N PATH    append N bytes to the file PATH
     E2E_HOOK_LOG   a file that receives one line, "<when> -> <do>: ok" or ": failed", once the
                    hook has acted

   At its first call the hook can also put stand-ins into SETUP's own import table (the main
   module's slots; the system libraries' own calls are left alone). The robot sets the hook while
   Welcome is shown, so they are in place before anything after Continue runs.
     E2E_HOOK_WINDIR    GetWindowsDirectoryA answers this text, e.g. "D:\WINNT", as the
                        system answers: the length copied, or the size needed when it is larger
                        than the buffer
     E2E_HOOK_FONT_LOG  RemoveFontResourceA appends its argument and "\r\n" to this file, then
                        does what the system does
     E2E_HOOK_DISK_ROOM WriteFile writes to a disk with room for this many more bytes, as a file
                        system that fills part-way through a write: the bytes that still fit,
                        success with that count, and once nothing fits, ERROR_DISK_FULL with
                        nothing written (the small tmpfs drives fill by whole pages, the size of
                        SETUP's blocks, so there a block fits whole or not at all)
     E2E_HOOK_CLOSE_FAILS  the file that SETUP opens by this name (letter case ignored) is closed
                        and its close then reports ERROR_NETNAME_DELETED, as a share that lost
                        a write says so at the close */
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#define kTextMax 1024

static LONG fired;
static LONG patched;
static char windowsDir[kTextMax];
static char fontLog[kTextMax];
static BOOL(WINAPI* realRemoveFontResource)(LPCSTR);
static unsigned long diskRoom;
static BOOL(WINAPI* realWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
static char closeFails[kTextMax];
static HANDLE closeFailsHandle;
static HANDLE(WINAPI* realCreateFile)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                      HANDLE);
static BOOL(WINAPI* realCloseHandle)(HANDLE);

static BOOL Env(const char* name, char* value) {
    DWORD length = GetEnvironmentVariableA(name, value, kTextMax);
    return length > 0 && length < kTextMax;
}

static void Log(const char* when, const char* action, BOOL ok) {
    char path[kTextMax];
    char line[3 * kTextMax];
    HANDLE file;
    DWORD written;
    if (!Env("E2E_HOOK_LOG", path))
        return;
    lstrcpyA(line, when);
    lstrcatA(line, " -> ");
    lstrcatA(line, action);
    lstrcatA(line, ok ? ": ok\r\n" : ": failed\r\n");
    file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    CloseHandle(file);
}

static BOOL Append(const char* path, unsigned long count) {
    static char block[4096];
    BOOL ok = TRUE;
    HANDLE file =
        CreateFileA(path, FILE_APPEND_DATA, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    memset(block, 'G', sizeof block);
    while (ok && count > 0) {
        DWORD chunk = count < sizeof block ? (DWORD)count : (DWORD)sizeof block;
        DWORD written = 0;
        ok = WriteFile(file, block, chunk, &written, NULL) && written == chunk;
        count -= chunk;
    }
    return CloseHandle(file) && ok;
}

/* The slot through which the main module calls dll!function, or null. */
static void** ImportSlot(const char* dll, const char* function) {
    BYTE* base = (BYTE*)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR* imp = (IMAGE_IMPORT_DESCRIPTOR*)(base + dir.VirtualAddress);
    for (; dir.VirtualAddress != 0 && imp->Name != 0; ++imp) {
        IMAGE_THUNK_DATA* names = (IMAGE_THUNK_DATA*)(base + imp->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + imp->FirstThunk);
        if (lstrcmpiA((const char*)(base + imp->Name), dll) != 0)
            continue;
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            IMAGE_IMPORT_BY_NAME* byName = (IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
                strcmp((const char*)byName->Name, function) == 0)
                return (void**)&slots->u1.Function;
        }
    }
    return NULL;
}

/* Puts `value` into the slot; the old value goes to `old` when given. */
static BOOL Patch(const char* dll, const char* function, void* value, void** old) {
    void** slot = ImportSlot(dll, function);
    DWORD protect;
    if (slot == NULL || !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protect))
        return FALSE;
    if (old != NULL)
        *old = *slot;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protect, &protect);
    return TRUE;
}

static UINT WINAPI WindowsDirectory(LPSTR buffer, UINT size) {
    UINT length = (UINT)strlen(windowsDir);
    if (buffer == NULL || size <= length)
        return length + 1;
    lstrcpyA(buffer, windowsDir);
    return length;
}

static BOOL WINAPI LoggedRemoveFontResource(LPCSTR name) {
    HANDLE file = CreateFileA(fontLog, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, name, (DWORD)strlen(name), &written, NULL);
        WriteFile(file, "\r\n", 2, &written, NULL);
        CloseHandle(file);
    }
    return realRemoveFontResource(name);
}

static BOOL WINAPI RoomLimitedWriteFile(HANDLE file, LPCVOID data, DWORD count, LPDWORD written,
                                        LPOVERLAPPED overlapped) {
    DWORD fits = count < diskRoom ? count : (DWORD)diskRoom;
    if (count > 0 && fits == 0) {
        if (written != NULL)
            *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    if (!realWriteFile(file, data, fits, written, overlapped))
        return FALSE;
    diskRoom -= *written;
    return TRUE;
}

static HANDLE WINAPI NotedCreateFile(LPCSTR name, DWORD access, DWORD share,
                                     LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                     DWORD attributes, HANDLE templateFile) {
    HANDLE file =
        realCreateFile(name, access, share, security, disposition, attributes, templateFile);
    if (file != INVALID_HANDLE_VALUE && lstrcmpiA(name, closeFails) == 0)
        closeFailsHandle = file;
    return file;
}

static BOOL WINAPI FailingCloseHandle(HANDLE handle) {
    if (!realCloseHandle(handle))
        return FALSE;
    if (handle != closeFailsHandle)
        return TRUE;
    closeFailsHandle = NULL;
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

/* A stand-in that cannot be put in place leaves SETUP as it is; the test then sees the system's
   answer (or no font log) and fails. */
static void PatchImports(void) {
    void* old = NULL;
    char text[kTextMax];
    if (Env("E2E_HOOK_WINDIR", windowsDir))
        Patch("kernel32.dll", "GetWindowsDirectoryA", (void*)WindowsDirectory, NULL);
    if (Env("E2E_HOOK_FONT_LOG", fontLog) &&
        Patch("gdi32.dll", "RemoveFontResourceA", (void*)LoggedRemoveFontResource, &old))
        realRemoveFontResource = (BOOL(WINAPI*)(LPCSTR))old;
    if (Env("E2E_HOOK_DISK_ROOM", text) &&
        Patch("kernel32.dll", "WriteFile", (void*)RoomLimitedWriteFile, &old)) {
        diskRoom = strtoul(text, NULL, 10);
        realWriteFile = (BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED))old;
    }
    if (Env("E2E_HOOK_CLOSE_FAILS", closeFails) &&
        Patch("kernel32.dll", "CloseHandle", (void*)FailingCloseHandle, &old)) {
        realCloseHandle = (BOOL(WINAPI*)(HANDLE))old;
        if (Patch("kernel32.dll", "CreateFileA", (void*)NotedCreateFile, &old))
            realCreateFile = (HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                              DWORD, HANDLE))old;
    }
}

/* Everything is posted: SETUP meets it at its next look into its message queue. */
static BOOL Act(HWND window, const char* action) {
    HWND dialog = GetAncestor(window, GA_ROOT);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (strcmp(action, "cancel") == 0)
        return cancel != NULL && PostMessageA(cancel, BM_CLICK, 0, 0);
    if (strcmp(action, "escape") == 0) {
        LPARAM scan = (LPARAM)MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC) << 16;
        return cancel != NULL && PostMessageA(cancel, WM_KEYDOWN, VK_ESCAPE, scan | 1) &&
               PostMessageA(cancel, WM_KEYUP, VK_ESCAPE, scan | 1 | 0xC0000000);
    }
    if (strcmp(action, "close") == 0)
        return PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (strncmp(action, "delete ", 7) == 0)
        return DeleteFileA(action + 7);
    if (strncmp(action, "append ", 7) == 0) {
        char* rest = NULL;
        unsigned long count = strtoul(action + 7, &rest, 10);
        return rest != NULL && *rest == ' ' && Append(rest + 1, count);
    }
    return FALSE;
}

__declspec(dllexport) LRESULT CALLBACK FaultHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* message = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && InterlockedExchange(&patched, 1) == 0)
        PatchImports();
    if (code == HC_ACTION && fired == 0 &&
        (message->message == WM_SETTEXT || message->message == WM_INITDIALOG)) {
        char when[kTextMax];
        char action[kTextMax];
        char text[kTextMax];
        text[0] = 0;
        if (message->message == WM_SETTEXT && message->lParam != 0)
            lstrcpynA(text, (const char*)message->lParam, kTextMax);
        else if (message->message == WM_INITDIALOG)
            GetWindowTextA(message->hwnd, text, kTextMax);
        if (Env("E2E_HOOK_WHEN", when) && Env("E2E_HOOK_DO", action) && strcmp(text, when) == 0 &&
            InterlockedExchange(&fired, 1) == 0)
            Log(when, action, Act(message->hwnd, action));
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
