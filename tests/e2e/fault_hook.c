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
                    hook has acted */
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#define kTextMax 1024

static LONG fired;

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
