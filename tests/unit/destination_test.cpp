// The destination that the install sequence uses after the Install Directory dialog.
#include <gtest/gtest.h>

#include "install_test_support.h"
#include "TempDir.h"
#include "app/Destination.h"

#include <string>

namespace {

std::string Resolved(const std::string& typed) {
    return std::string(ResolveDestination(typed.c_str()));
}

class DestinationTest : public ::testing::Test {
protected:
    DestinationTest() : cwd_(dir_.path()) {
        char current[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, current);
        here_ = current;
        drive_ = here_.substr(0, 2);
        parent_ = here_.substr(0, here_.find_last_of('\\'));
    }

    TempDir dir_;
    std::string here_;   // the current directory as the system spells it
    std::string drive_;  // its drive, C:
    std::string parent_; // the directory above it

private:
    CurrentDirectory cwd_;
};

TEST_F(DestinationTest, AnAbsoluteDestinationIsKeptAsTyped) {
    for (const char* typed :
         {"C:\\ZEL\\", "C:\\ZEL", "C:/ZEL", "C:\\\\ZEL", "D:\\My Apps\\ZEL", "c:\\medium",
          "\\\\server\\share\\dir", "//server/share", "C:\\ONE\\..\\ZEL", "C:\\ lead\\ZEL"})
        EXPECT_EQ(typed, Resolved(typed));
}

TEST_F(DestinationTest, ARelativeDestinationIsMadeAbsoluteAgainstTheCurrentDirectory) {
    EXPECT_EQ(here_ + "\\ZEL", Resolved("ZEL"));
    EXPECT_EQ(here_ + "\\ZEL", Resolved("ZEL\\"));
    EXPECT_EQ(here_ + "\\A\\B", Resolved("A/B"));
    EXPECT_EQ(parent_ + "\\ZEL", Resolved("..\\ZEL"));
    EXPECT_EQ(drive_ + "\\ZEL", Resolved("\\ZEL"));
    EXPECT_EQ(here_ + "\\ZEL", Resolved(drive_ + "ZEL"));
}

TEST_F(DestinationTest, ATrailingDotOrSpaceIsDroppedAsTheSystemDropsIt) {
    EXPECT_EQ("C:\\ZEL", Resolved("C:\\ZEL. "));
    EXPECT_EQ("C:\\ZEL", Resolved("C:\\ZEL \\"));
    EXPECT_EQ("C:\\ZEL", Resolved("C:\\ZEL..."));
    EXPECT_EQ("C:\\My Apps\\ZEL", Resolved("C:\\My Apps\\ZEL. . "));
    EXPECT_EQ(here_ + "\\ZEL", Resolved("ZEL "));
}

// The system drops them from the last name only: C:\ZEL \SUB would be made as C:\ZEL, and the
// directory below it then not found.
TEST_F(DestinationTest, TrailingDotsAndSpacesAreDroppedFromEveryName) {
    EXPECT_EQ("C:\\ZEL\\SUB", Resolved("C:\\ZEL \\SUB"));
    EXPECT_EQ("C:\\A\\B\\ZEL\\", Resolved("C:\\A. .\\B..\\ZEL\\"));
    EXPECT_EQ("C:\\My Apps\\ZEL", Resolved("C:\\My Apps \\ZEL. "));
    EXPECT_EQ(here_ + "\\ZEL\\SUB", Resolved("ZEL \\SUB"));
}

// A pasted path often comes with a blank before or after it; " C:\My Apps" must not become a
// name below the current directory.
TEST_F(DestinationTest, BlanksAroundTheWholeTextAreDropped) {
    EXPECT_EQ("C:\\My Apps", Resolved(" C:\\My Apps"));
    EXPECT_EQ("C:\\ZEL\\", Resolved("  C:\\ZEL\\  "));
    EXPECT_EQ("\\\\server\\share", Resolved(" \\\\server\\share "));
    EXPECT_EQ(here_ + "\\ZEL", Resolved(" ZEL"));
}

TEST_F(DestinationTest, ADestinationThatNamesNoDirectoryIsKept) {
    for (const char* typed : {"", "C:", "D:", ".", "..", "\\", "/", ". \\ ."})
        EXPECT_EQ(typed, Resolved(typed));
    EXPECT_EQ("", Resolved("   "));
    EXPECT_EQ("C:", Resolved(" C: "));
}

TEST_F(DestinationTest, ADestinationThatCanNameNoDirectoryIsRefused) {
    // A double quote or a control character, which no file name holds; a device, named alone,
    // at the end or on the way, or in the system's own device forms.
    for (const char* typed :
         {"C:\\a\"b)][DeleteGroup(Accessories)][(\"\\..\\zelq", "C:\\ZEL\"", "\"C:\\ZEL\"",
          "C:\\ZE\tL", "C:\\ZEL\n", "NUL", "con", "C:\\ZEL\\NUL", "C:\\ZEL\\com1", "C:\\ZEL\\NUL\\",
          "C:\\NUL\\ZEL", "C:/ZEL/AUX", "LPT1. ", "\\\\.\\C:\\ZEL", "\\\\?\\C:\\ZEL", "//./NUL"})
        EXPECT_FALSE(IsUsableDestination(typed)) << typed;
    // A colon anywhere but right after a leading drive letter: a stream, not a name.
    for (const char* typed : {"C:\\ZEL:x", "C:\\ZEL::$INDEX_ALLOCATION", "C:\\Apps:1\\ZEL",
                              "ZEL:", "1:\\ZEL", ":\\ZEL", "\\\\server\\share:x\\ZEL", "C::\\ZEL"})
        EXPECT_FALSE(IsUsableDestination(typed)) << typed;
    // A name of dots and blanks on the way, which the system would not make as typed.
    for (const char* typed : {"C:\\ \\ZEL", "C:\\ZEL\\ . \\SUB", "C:\\...\\ZEL"})
        EXPECT_FALSE(IsUsableDestination(typed)) << typed;
    for (const char* typed :
         {"", "C:\\ZEL\\", "C:\\ZEL", "D:\\My Apps\\ZEL", "\\\\server\\share\\dir", "C:\\NULL",
          "C:\\CONFIG\\COM10X", "C:\\ZEL(1),X", "C:\\x)][DeleteGroup(A)][(y", "ZEL", "C:",
          "C:\\ZE<L>", "c:\\zel", "C:\\ONE\\..\\ZEL", "C:\\.\\ZEL", "C:\\ZEL. ", "C:\\ZEL\\ "})
        EXPECT_TRUE(IsUsableDestination(typed)) << typed << ": left to the directory creation";
}

} // namespace
