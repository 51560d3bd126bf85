// The smallest dialog program, built with the same flags as SETUP.EXE: what starting a Win32
// program and showing one dialog costs under Wine, the yardstick for SETUP's start-up.
#include <windows.h>

namespace {

constexpr int kDialogId = 1;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialogId), nullptr, DialogProc, 0) == IDOK
               ? 0
               : 1;
}
