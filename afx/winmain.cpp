#include "afxwin.h"

// The program's entry point: the one static application object runs everything in
// InitInstance. This program's InitInstance always returns FALSE, so there is no message loop
// here: the program ends as soon as InitInstance does.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->InitInstance();
    return pApp->ExitInstance();
}
