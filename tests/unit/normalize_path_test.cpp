#include <gtest/gtest.h>

#include "install/NormalizePath.h"

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
}

// A single leading backslash would turn \\server\share into the directory \server\share on the
// current drive, so that an install meant for a network share went to a local directory.
TEST(NormalizePath, ANetworkPathKeepsItsLeadingPair) {
    EXPECT_EQ("\\\\server\\share", Normalized("\\\\server\\share"));
    EXPECT_EQ("\\\\server\\share\\dir", Normalized("//server/share//dir/"));
    EXPECT_EQ("\\\\server\\share", Normalized("\\\\\\server\\share"));
    EXPECT_EQ("\\\\server\\share\\ZEL.EXE", Normalized("\\\\server\\share\\\\ZEL.EXE"));
    EXPECT_EQ("\\ZEL", Normalized("\\ZEL\\"));
}

TEST(NormalizePath, LeavesOtherCharactersAlone) {
    EXPECT_EQ("\"C:\\My Apps\\ZEL.EXE\"", Normalized("\"C:\\My Apps\\\\ZEL.EXE\""));
    EXPECT_EQ("NOTEPAD README.TXT", Normalized("NOTEPAD README.TXT"));
    EXPECT_EQ(" C:\\x", Normalized(" C:\\x"));
}
