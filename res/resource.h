// Resource ids, one block per window.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Application icon (32x32 and 16x16, 16 colours): backdrop and Success dialog.
#define IDR_MAINFRAME 128

// Backdrop window: no controls.
#define IDD_BACKDROP 102

// Welcome: IDOK (Continue), IDCANCEL (Cancel).
#define IDD_WELCOME 129

// Install Directory: IDOK, IDCANCEL (Exit).
#define IDD_INSTALL_DIRECTORY 130
#define IDC_DIRECTORY_EDIT 1001
#define IDC_DIRECTORY_BROWSE 1002

// Installing: IDCANCEL.
#define IDD_INSTALLING 131
#define IDC_INSTALLING_BAR 1003
#define IDC_INSTALLING_COPYING 1006
#define IDC_INSTALLING_TO 1007

// Select Directory: the platform's file dialog controls (lst1, lst2, cmb1, cmb2, edt1, stc1-4,
// chx1, pshHelp from <dlgs.h>), IDOK, IDCANCEL.
#define IDD_SELECT_DIRECTORY 1536

// Success: IDOK.
#define IDD_SUCCESS 1537

// Create Application Group: IDOK (OK), IDCANCEL (Skip).
#define IDD_CREATE_GROUP 1538
