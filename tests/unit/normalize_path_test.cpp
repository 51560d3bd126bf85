#include <gtest/gtest.h>

#include "NormalizePath.h"

static std::string Normalized(const char* path) {
    CString s(path);
    NormalizePath(s);
    return std::string(s);
}

TEST(NormalizePath, CollapsesSeparatorsAndDropsOneTrailing) {
    EXPECT_EQ("a\\b\\c", Normalized("a//b\\\\\\c/"));
    EXPECT_EQ("C:\\ZEL", Normalized("C:\\ZEL\\"));
    EXPECT_EQ("C:\\ZEL", Normalized("C:/ZEL"));
    EXPECT_EQ("C:\\ZEL", Normalized("C:\\\\ZEL\\\\"));
    EXPECT_EQ("C:\\ZEL\\ZEL.EXE", Normalized("C:\\ZEL\\\\ZEL.EXE"));
}

TEST(NormalizePath, RootsAndEmptyPaths) {
    EXPECT_EQ("C:", Normalized("C:\\"));
    EXPECT_EQ("", Normalized(""));
    EXPECT_EQ("", Normalized("\\"));
    EXPECT_EQ("", Normalized("//"));
    EXPECT_EQ("\\server\\share", Normalized("\\\\server\\share"));
}

TEST(NormalizePath, LeavesOtherCharactersAlone) {
    EXPECT_EQ("\"C:\\My Apps\\ZEL.EXE\"", Normalized("\"C:\\My Apps\\\\ZEL.EXE\""));
    EXPECT_EQ("NOTEPAD README.TXT", Normalized("NOTEPAD README.TXT"));
    EXPECT_EQ(" C:\\x", Normalized(" C:\\x"));
}
