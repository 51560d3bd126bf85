// Program Manager's command texts, byte for byte.
#include <gtest/gtest.h>

#include "default_group.h"
#include "progman/ProgmanCommands.h"

#include <string>
#include <vector>

namespace {

std::string AddItem(const char* commandLine, const char* itemName, const char* iconPath,
                    const char* directory) {
    return std::string(FormatAddItem(commandLine, itemName, iconPath, directory));
}

TEST(ProgmanCommands, TheDefaultGroup) {
    const std::vector<std::string> commands = {
        std::string(FormatDeleteGroup("ZEL")),
        std::string(FormatCreateGroup("ZEL")),
        std::string(FormatShowGroup("ZEL")),
        AddItem("ZEL", "ZEL", "C:\\ZEL\\\\ZEL.EXE", "C:\\ZEL\\"),
        AddItem("NOTEPAD README.TXT", "README", "NOTEPAD.EXE", "C:\\ZEL\\"),
        AddItem("WINHELP ZEL.HLP", "ZEL Help", "WINHELP.EXE", "C:\\ZEL\\"),
    };
    EXPECT_EQ(support::kDefaultGroupCommands, commands);
}

TEST(ProgmanCommands, GroupNameIsNeitherCleanedNorQuoted) {
    EXPECT_EQ(std::string(FormatDeleteGroup("My Group")), "[DeleteGroup(My Group)]");
    EXPECT_EQ(std::string(FormatCreateGroup("a//b\\\\c\\")), "[CreateGroup(a//b\\\\c\\)]");
    EXPECT_EQ(std::string(FormatShowGroup(" Z")), "[ShowGroup( Z,1)]");
    EXPECT_EQ(std::string(FormatShowGroup("")), "[ShowGroup(,1)]");
}

TEST(ProgmanCommands, DirectoryIsCleaned) {
    const char* expected = "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, C:\\ZEL)]";
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C:/ZEL"), expected);
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C:\\\\ZEL"), expected);
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C:\\ZEL\\"), expected);
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C://ZEL//"), expected);
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C:\\"),
              "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, C:)]");
}

TEST(ProgmanCommands, CommandLineAndIconPathAreCleaned) {
    EXPECT_EQ(AddItem("C:/ZEL//ZEL.EXE", "ZEL", "C:\\ZEL\\\\\\ZEL.EXE/", "D"),
              "[AddItem(C:\\ZEL\\ZEL.EXE, ZEL, C:\\ZEL\\ZEL.EXE,, -1, -1, D)]");
    // Inside the quotes the caller put around it, a network path keeps its leading pair.
    EXPECT_EQ(AddItem("ZEL", "ZEL", "\"\\\\srv\\sh\\My Apps\\ZEL\\\\ZEL.EXE\"",
                      "\\\\srv\\sh\\My Apps\\ZEL\\"),
              "[AddItem(ZEL, ZEL, \"\\\\srv\\sh\\My Apps\\ZEL\\ZEL.EXE\",, -1, -1, "
              "\"\\\\srv\\sh\\My Apps\\ZEL\")]");
}

TEST(ProgmanCommands, DirectoryWithASpaceIsQuoted) {
    EXPECT_EQ(AddItem("ZEL", "ZEL", "\"C:\\My Apps\\ZEL\\\\ZEL.EXE\"", "C:\\My Apps\\ZEL"),
              "[AddItem(ZEL, ZEL, \"C:\\My Apps\\ZEL\\ZEL.EXE\",, -1, -1, \"C:\\My Apps\\ZEL\")]");
    EXPECT_EQ(AddItem("WINHELP ZEL.HLP", "ZEL Help", "WINHELP.EXE", "D:\\My Apps\\ZEL\\"),
              "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, \"D:\\My Apps\\ZEL\")]");
    // A space anywhere past the first character counts, the last one too.
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C:\\ZEL "),
              "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, \"C:\\ZEL \")]");
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C: "),
              "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, \"C: \")]");
}

TEST(ProgmanCommands, DirectoryWhoseOnlySpaceIsFirstIsNotQuoted) {
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", " C:\\ZEL"),
              "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1,  C:\\ZEL)]");
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", " "), "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1,  )]");
    // A later space still counts when the first character is one too.
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", " C:\\My Apps"),
              "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1,  C:\\My Apps)]");
}

// Unquoted, a comma ends the field and a bracket or parenthesis the command, so a directory name
// could add commands of its own to the execute.
TEST(ProgmanCommands, DirectoryWithCommaParenthesesOrBracketsIsQuoted) {
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", "C:\\ZEL(1),X\\"),
              "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, \"C:\\ZEL(1),X\")]");
    EXPECT_EQ(AddItem("NOTEPAD README.TXT", "README", "NOTEPAD.EXE",
                      "C:\\x)][DeleteGroup(Accessories)][(y"),
              "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, "
              "\"C:\\x)][DeleteGroup(Accessories)][(y\")]");
    for (const char* directory : {"C:\\A,B", "C:\\A(B", "C:\\A)B", "C:\\A[B", "C:\\A]B", ",", "("})
        EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", directory),
                  "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, \"" + std::string(directory) + "\")]");
}

TEST(ProgmanCommands, WhichPathsNeedQuotes) {
    EXPECT_FALSE(ProgmanNeedsQuotes("C:\\ZEL"));
    EXPECT_FALSE(ProgmanNeedsQuotes(""));
    EXPECT_FALSE(ProgmanNeedsQuotes(" C:\\ZEL")) << "a space at index 0 does not count";
    EXPECT_TRUE(ProgmanNeedsQuotes("C:\\My Apps"));
    EXPECT_TRUE(ProgmanNeedsQuotes("Z ZEL")) << "a space at index 1 counts";
    EXPECT_FALSE(ProgmanNeedsQuotes(" C:\\My Apps")) << "only the first space is looked at";
    EXPECT_TRUE(ProgmanNeedsQuotes("C:\\ZEL,1"));
    EXPECT_TRUE(ProgmanNeedsQuotes("(C:\\ZEL"));
    EXPECT_TRUE(ProgmanNeedsQuotes("C:\\ZEL]"));
    EXPECT_TRUE(ProgmanNeedsQuotes("C:\\[ZEL"));
    EXPECT_TRUE(ProgmanNeedsQuotes("C:\\ZEL)"));
}

TEST(ProgmanCommands, OnlyTheDirectoryIsQuoted) {
    EXPECT_EQ(AddItem("NOTEPAD README.TXT", "README", "C:\\Program Files\\NOTEPAD.EXE", "C:\\ZEL"),
              "[AddItem(NOTEPAD README.TXT, README, C:\\Program Files\\NOTEPAD.EXE,, -1, -1, "
              "C:\\ZEL)]");
}

TEST(ProgmanCommands, ItemNameIsNeitherCleanedNorQuoted) {
    EXPECT_EQ(AddItem("ZEL", "ZEL Help", "ZEL.EXE", "C:\\ZEL"),
              "[AddItem(ZEL, ZEL Help, ZEL.EXE,, -1, -1, C:\\ZEL)]");
    EXPECT_EQ(AddItem("ZEL", "a//b\\\\c\\", "ZEL.EXE", "C:\\ZEL"),
              "[AddItem(ZEL, a//b\\\\c\\, ZEL.EXE,, -1, -1, C:\\ZEL)]");
}

TEST(ProgmanCommands, EmptyFieldsStayEmpty) {
    EXPECT_EQ(AddItem("", "", "", ""), "[AddItem(, , ,, -1, -1, )]");
}

TEST(ProgmanCommands, LongPathsAreNotCut) {
    std::string directory = "C:\\" + std::string(700, 'D');
    std::string expected = "[AddItem(ZEL, ZEL, ZEL.EXE,, -1, -1, " + directory + ")]";
    EXPECT_EQ(AddItem("ZEL", "ZEL", "ZEL.EXE", (directory + "\\").c_str()), expected);
}

} // namespace
