#include <gtest/gtest.h>

#include "afxwin.h"

// The framework needs its one application object; the tests run without a main window.
static CWinApp theTestApp("SETUP");

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
