// Destinations a person might type into the Install Directory dialog. A destination that names
// no place SETUP can make ends with the cause (when the system gave one) and "Unable to create
// destination directory: <destination>", exit code 2, and nothing made on the disk. A relative
// destination is made absolute against the current directory when the dialog is left, so that
// the directory made, the files copied and the program group all name the same place; so is one
// ending in dots or spaces, which the system drops when it makes the directory.
#include "fault_steps.h"

#include <algorithm>

namespace {

constexpr DWORD kInstalled = 0;
constexpr DWORD kFailed = 2;
const char kLaunchDir[] = "C:\\LAUNCH";
const char kUnable[] = "Unable to create destination directory: ";

typedef std::vector<std::string> Texts;

// The three AddItem commands for an install into `dir`, whose paths go out quoted.
Texts QuotedItems(const std::string& dir) {
    return {
        "[AddItem(ZEL, ZEL, \"" + dir + "\\ZEL.EXE\",, -1, -1, \"" + dir + "\")]",
        "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, \"" + dir + "\")]",
        "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, \"" + dir + "\")]",
    };
}

class FaultDestination : public FaultTest {
protected:
    // SETUP is refused the destination: `messages` and exit code 2, and nothing made on drive C.
    void ExpectRefused(const std::string& destination, const Texts& messages) {
        ASSERT_TRUE(Start(destination));
        Texts seen;
        DWORD code = 0;
        ASSERT_TRUE(MessagesUntilExit(&seen, &code));
        EXPECT_EQ(messages, seen);
        EXPECT_EQ(kFailed, code);
        EXPECT_EQ("", DriveChanges());
    }

    // An empty C:\LAUNCH to start SETUP in; it counts as there before the run.
    void MakeLaunchDir() {
        CleanLater(kLaunchDir);
        ASSERT_TRUE(CreateDirectoryA(kLaunchDir, nullptr)) << robot::LastErrorText();
        driveBefore_ = DriveContents();
    }

    // From the Create Application Group dialog: OK, with the fake Program Manager answering,
    // then Success; the commands it received.
    Texts MakeGroup(DWORD* exitCode) {
        Texts messages;
        HWND group = MessagesUntilDialog("Create Application Group", &messages);
        EXPECT_EQ(Texts{}, messages);
        if (group == nullptr || !Click(group, IDOK) || !Gone(group))
            return {};
        HWND success = MessagesUntilDialog("Success", &messages);
        EXPECT_EQ(Texts{}, messages);
        if (success == nullptr)
            return {};
        EXPECT_TRUE(CloseSuccess(success, exitCode));
        return Commands(fake_.Events());
    }

    // Skip in the group step, OK in Success.
    void Finish(DWORD* exitCode) { ASSERT_TRUE(FinishInstall(exitCode)); }

    // The share \\srv\sh, which Wine finds in the prefix as dosdevices\unc\srv\sh.
    std::string MapShare() {
        std::string dir = robot::Env("WINEPREFIX");
        if (dir.empty())
            return "";
        std::replace(dir.begin(), dir.end(), '/', '\\');
        dir = "Z:" + dir + "\\dosdevices\\unc";
        CleanLater(dir);
        for (const char* level : {"", "\\srv", "\\srv\\sh"})
            CreateDirectoryA((dir + level).c_str(), nullptr);
        return robot::IsDirectory(dir + "\\srv\\sh") ? "\\\\srv\\sh" : "";
    }
};

TEST_F(FaultDestination, Empty) {
    ExpectRefused("", {kUnable});
}

TEST_F(FaultDestination, ABareDrive) {
    ExpectRefused("C:", {kUnable + std::string("C:")});
}

TEST_F(FaultDestination, TheRootOfADrive) {
    ExpectRefused("C:\\", {kUnable + std::string("C:\\")});
}

TEST_F(FaultDestination, ARelativeNameIsTakenFromTheCurrentDirectory) {
    MakeLaunchDir();
    ASSERT_TRUE(fake_.Start());
    ASSERT_TRUE(Start("ZEL", kLaunchDir));
    DWORD code = 1234;
    Texts commands = MakeGroup(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium("C:\\LAUNCH\\ZEL"));
    ASSERT_EQ(6u, commands.size()) << fake_.Log();
    EXPECT_EQ("[AddItem(ZEL, ZEL, C:\\LAUNCH\\ZEL\\ZEL.EXE,, -1, -1, C:\\LAUNCH\\ZEL)]",
              commands[3]);
    EXPECT_EQ("[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, C:\\LAUNCH\\ZEL)]",
              commands[4]);
}

TEST_F(FaultDestination, ANameOnTheCurrentDrivesRoot) {
    // Started on another drive than the medium's, \ZEL is that drive's.
    const std::string drive = FillDrive();
    if (drive.empty())
        GTEST_SKIP() << "E2E_FILL_DRIVE does not name a mapped drive";
    CleanLater(drive + "\\ZEL");
    ASSERT_TRUE(Start("\\ZEL", drive + "\\"));
    DWORD code = 1234;
    Finish(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium(drive + "\\ZEL"));
    EXPECT_EQ("", DriveChanges()) << "nothing on drive C";
}

TEST_F(FaultDestination, ANameRelativeToADrivesCurrentDirectory) {
    MakeLaunchDir();
    ASSERT_TRUE(Start("C:ZEL", kLaunchDir));
    DWORD code = 1234;
    Finish(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium("C:\\LAUNCH\\ZEL"));
    EXPECT_FALSE(robot::PathExists("C:\\MEDIUM\\ZEL"));
}

TEST_F(FaultDestination, ANetworkPathIsNotMadeOnTheLocalDrive) {
    // No network under the tests: the share cannot be reached, and nothing like \server\share
    // may appear on drive C instead.
    ExpectRefused("\\\\server\\share\\ZEL", {kUnable + std::string("\\\\server\\share\\ZEL")});
    EXPECT_FALSE(robot::PathExists("C:\\server"));
}

TEST_F(FaultDestination, APathOf250Characters) {
    // The directory fits, and so does its first file; README.TXT would make a path longer than
    // the system takes.
    const std::string dest = "C:\\" + std::string(247, 'L');
    ASSERT_EQ(250u, dest.size());
    CleanLater(dest);
    ASSERT_TRUE(Start(dest));
    Texts messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ((Texts{"Can't open filename: " + dest + "\\README.TXT", "Failed to install ZEL"}),
              messages);
    EXPECT_EQ(kFailed, code);
    EXPECT_EQ(Texts{"ZEL.EXE"}, robot::ListTree(dest, {}));
}

TEST_F(FaultDestination, APathOf1100Characters) {
    std::string dest = "C:";
    while (dest.size() < 1100)
        dest += "\\" + std::string(99, 'M');
    ExpectRefused(dest, {"CreateDirectory failed, err = 206\n", kUnable + dest});
}

TEST_F(FaultDestination, InvalidCharacters) {
    ExpectRefused("C:\\ZE<L>",
                  {"CreateDirectory failed, err = 123\n", kUnable + std::string("C:\\ZE<L>")});
}

TEST_F(FaultDestination, TrailingDotsAndSpacesAreDropped) {
    ASSERT_TRUE(Start("C:\\ZEL. . "));
    DWORD code = 1234;
    Finish(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

TEST_F(FaultDestination, APathThroughAnExistingFile) {
    CleanLater("C:\\AFILE");
    ASSERT_TRUE(WriteWholeFile("C:\\AFILE", "a file, not a directory"));
    driveBefore_ = DriveContents();
    ExpectRefused("C:\\AFILE\\ZEL", {kUnable + std::string("C:\\AFILE\\ZEL")});
    EXPECT_EQ("a file, not a directory", ReadWholeFile("C:\\AFILE"));
}

TEST_F(FaultDestination, AnExistingFile) {
    // It counts as existing, as a directory would; the first file then cannot be made in it.
    CleanLater("C:\\AFILE");
    ASSERT_TRUE(WriteWholeFile("C:\\AFILE", "a file, not a directory"));
    ASSERT_TRUE(Start("C:\\AFILE"));
    Texts messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ((Texts{"Can't open filename: C:\\AFILE\\ZEL.EXE", "Failed to install ZEL"}),
              messages);
    EXPECT_EQ(kFailed, code);
    EXPECT_EQ("a file, not a directory", ReadWholeFile("C:\\AFILE"));
}

TEST_F(FaultDestination, AMissingDrive) {
    ASSERT_FALSE(robot::PathExists("Q:\\")) << "drive Q: is expected to be missing";
    ExpectRefused("Q:\\ZEL", {kUnable + std::string("Q:\\ZEL")});
}

TEST_F(FaultDestination, ACommaAndParenthesesAreQuotedForProgramManager) {
    const std::string dest = "C:\\ZEL(1),X";
    CleanLater(dest);
    ASSERT_TRUE(fake_.Start());
    ASSERT_TRUE(Start(dest));
    DWORD code = 1234;
    Texts commands = MakeGroup(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium(dest));
    ASSERT_EQ(6u, commands.size()) << fake_.Log();
    EXPECT_EQ(QuotedItems(dest), Texts(commands.begin() + 3, commands.end()));
}

TEST_F(FaultDestination, ANameThatReadsAsCommandsStaysAName) {
    // Unquoted, Program Manager would read a DeleteGroup command of its own in here.
    const std::string dest = "C:\\x)][DeleteGroup(Accessories)][(y";
    CleanLater(dest);
    ASSERT_TRUE(fake_.Start());
    ASSERT_TRUE(Start(dest));
    DWORD code = 1234;
    Texts commands = MakeGroup(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium(dest));
    ASSERT_EQ(6u, commands.size()) << fake_.Log();
    EXPECT_EQ(QuotedItems(dest), Texts(commands.begin() + 3, commands.end()));
}

TEST_F(FaultDestination, ANetworkPathKeepsItsLeadingPairInEveryCommand) {
    const std::string share = MapShare();
    ASSERT_NE("", share) << "the share could not be mapped in the prefix";
    const std::string dest = share + "\\My Apps\\ZEL";
    ASSERT_TRUE(fake_.Start());
    ASSERT_TRUE(Start(dest));
    DWORD code = 1234;
    Texts commands = MakeGroup(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium(dest));
    ASSERT_EQ(6u, commands.size()) << fake_.Log();
    EXPECT_EQ(QuotedItems(dest), Texts(commands.begin() + 3, commands.end()));
}

} // namespace
