// The program's version, shown in its version record.
#pragma once

#define SETUP_VERSION 1, 0, 0, 1
#define SETUP_VERSION_STR "1, 0, 0, 1"
// As the log names it.
#define SETUP_VERSION_TEXT "1.0.0.1"
#define SETUP_INTERNAL_NAME "SETUP"
#define SETUP_ORIGINAL_FILENAME "SETUP.EXE"
#define SETUP_FILE_DESCRIPTION "SETUP MFC Application"
#define SETUP_PRODUCT_NAME "SETUP Application"
