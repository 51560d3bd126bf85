// Destinations a person might type into the Install Directory dialog. A destination that names
// no place SETUP can make ends with the cause (when the system gave one) and "Unable to create
// destination directory: <destination>", exit code 2, and nothing made on the disk. A relative
// destination is made absolute against the current directory when the dialog is left, so that
// the directory made, the files copied and the program group all name the same place; so is one
// ending in dots or spaces, which the system drops when it makes the directory.
#include "fault_steps.h"

#include <algorithm>
#include <random>
#include <regex>

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

    // SETUP installs into `dest` and, with the fake Program Manager answering, sends the three
    // AddItem commands with its paths quoted.
    // `typed` is what goes into the edit box, typed in `workDir`; by default `dest` itself.
    void ExpectInstalledWithQuotedItems(const std::string& dest, const std::string& typed = "",
                                        const std::string& workDir = "C:\\") {
        ASSERT_TRUE(fake_.Start());
        ASSERT_TRUE(Start(typed.empty() ? dest : typed, workDir));
        DWORD code = 1234;
        Texts commands = MakeGroup(&code);
        EXPECT_EQ(kInstalled, code);
        EXPECT_EQ("", CompareWithMedium(dest));
        ASSERT_EQ(6u, commands.size()) << fake_.Log();
        EXPECT_EQ(QuotedItems(dest), Texts(commands.begin() + 3, commands.end()));
    }

    // The share \\srv\sh, which Wine finds in the prefix as dosdevices\unc\srv\sh.
    std::string MapShare() {
        const std::string dir = MakeDosDevice("unc");
        if (dir.empty())
            return "";
        for (const char* level : {"\\srv", "\\srv\\sh"})
            CreateDirectoryA((dir + level).c_str(), nullptr);
        return robot::IsDirectory(dir + "\\srv\\sh") ? "\\\\srv\\sh" : "";
    }

    // How a run ended when every dialog was left with its default button.
    struct Run {
        Texts messages;
        bool success = false;
        DWORD code = 1234;
    };

    // Answers every message box, Create Application Group and Success with OK until SETUP ends.
    ::testing::AssertionResult RunThrough(Run* run) {
        const DWORD start = GetTickCount();
        while (setup_.IsRunning()) {
            if (GetTickCount() - start > 2 * robot::kDefaultTimeoutMs)
                return ::testing::AssertionFailure() << "SETUP did not end. Windows now:\n"
                                                     << robot::DescribeWindows();
            for (const robot::WindowInfo& w : robot::DialogsOf(setup_.Id())) {
                if (IsBackground(w.text))
                    continue;
                if (robot::IsMessageBox(w.hwnd)) {
                    std::string text;
                    if (auto r = NextMessage(&text); !r)
                        return r;
                    run->messages.push_back(text);
                } else if (w.text == "Create Application Group" || w.text == "Success") {
                    run->success = run->success || w.text == "Success";
                    if (auto r = Click(w.hwnd, IDOK); !r)
                        return r;
                    if (auto r = Gone(w.hwnd); !r)
                        return r;
                } else {
                    return ::testing::AssertionFailure() << "SETUP went on to \"" << w.text << "\"";
                }
            }
            Sleep(20);
        }
        std::vector<robot::WindowInfo> shown;
        return WaitExit(&run->code, &shown);
    }

    // Removes whatever the run added to drive C, outermost first.
    void RemoveWhatTheRunMade() {
        std::string error;
        for (const std::string& path : DriveContents()) {
            if (std::binary_search(driveBefore_.begin(), driveBefore_.end(), path))
                continue;
            std::string outer = path;
            for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
                if (!std::binary_search(driveBefore_.begin(), driveBefore_.end(),
                                        path.substr(0, at))) {
                    outer = path.substr(0, at);
                    break;
                }
            EXPECT_TRUE(robot::RemoveTree("C:\\" + outer, &error)) << error;
        }
    }
};

// A path field of AddItem: bare, without any character that ends a field, or between quotes.
const char kPathField[] = R"(([^",()\[\]]*|"[^"]*"))";

std::string Unquoted(const std::string& field) {
    return field.size() >= 2 && field.front() == '"' ? field.substr(1, field.size() - 2) : field;
}

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
    ExpectInstalledWithQuotedItems(dest);
}

TEST_F(FaultDestination, ANameThatReadsAsCommandsStaysAName) {
    // Unquoted, Program Manager would read a DeleteGroup command of its own in here.
    const std::string dest = "C:\\x)][DeleteGroup(Accessories)][(y";
    CleanLater(dest);
    ExpectInstalledWithQuotedItems(dest);
}

TEST_F(FaultDestination, ANetworkPathKeepsItsLeadingPairInEveryCommand) {
    const std::string share = MapShare();
    ASSERT_NE("", share) << "the share could not be mapped in the prefix";
    const std::string dest = share + "\\My Apps\\ZEL";
    ExpectInstalledWithQuotedItems(dest);
}

TEST_F(FaultDestination, ADoubleQuoteIsRefusedBeforeAnythingIsMade) {
    // The system would resolve the ".." past the quote and install into C:\zelq, while the
    // quote ended Program Manager's quoted field early and let the rest run as a command.
    const std::string dest = "C:\\a\"b)][DeleteGroup(Accessories)][(\"\\..\\zelq";
    ExpectRefused(dest, {kUnable + dest});
    EXPECT_FALSE(robot::PathExists("C:\\zelq"));
}

// Destinations that name no directory SETUP could make and fill as typed. Each is refused before
// anything is made, and the message names it as the user entered it: a device typed alone is
// resolved to the system's device form (\\.\CON), a quoted paste to a name below the start
// folder, neither of which the user typed. A colon past the drive letter names a stream
// (C:\ZEL:x, C:\ZEL::$INDEX_ALLOCATION), which Wine would make as a directory of that name; a
// name of dots and blanks on the way would be made without them.
TEST_F(FaultDestination, RefusedBeforeAnythingIsMadeAndShownAsEntered) {
    for (const std::string typed :
         {"C:\\ZEL\\NUL", "C:\\ZEL\\com1\\", "C:\\NUL\\ZEL", "CON", "\\\\.\\C:\\ZEL",
          "\"C:\\My Apps\\ZEL\"", "C:\\ZEL:x", "C:\\ZEL::$INDEX_ALLOCATION", "C:\\Apps:1\\ZEL",
          "C:\\ZEL\\ . \\SUB"}) {
        SCOPED_TRACE(typed);
        ExpectRefused(typed, {kUnable + typed});
    }
}

TEST_F(FaultDestination, BlanksAroundAPastedPathAreDropped) {
    // Taken as relative, " C:\My Apps\ZEL" would go below the start folder.
    MakeLaunchDir();
    CleanLater("C:\\My Apps");
    ExpectInstalledWithQuotedItems("C:\\My Apps\\ZEL", "  C:\\My Apps\\ZEL ", kLaunchDir);
    EXPECT_EQ(Texts{}, robot::ListTree(kLaunchDir, {})) << "nothing below the start folder";
}

TEST_F(FaultDestination, DotsAndBlanksEndingANameOnTheWayAreDropped) {
    // As the system drops them from the last name: C:\ZEL \SUB is C:\ZEL\SUB.
    for (const std::string typed : {"C:\\ZEL \\SUB", "C:\\ZEL. .\\SUB\\"}) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(Start(typed));
        DWORD code = 1234;
        Finish(&code);
        EXPECT_EQ(kInstalled, code);
        EXPECT_EQ("", CompareWithMedium("C:\\ZEL\\SUB"));
        std::string error;
        EXPECT_TRUE(robot::RemoveTree("C:\\ZEL", &error)) << error;
        EXPECT_EQ("", DriveChanges());
    }
}

// Destinations put together at random from pieces a person might type, the awkward ones among
// them. Whatever the text: SETUP ends by itself without a crash, exits with 0 exactly when it
// showed Success, and then has put the ten files into the very directory that Program Manager is
// given, with the six commands of group ZEL and nothing else, every AddItem with its seven fields.
TEST_F(FaultDestination, GeneratedDestinationsKeepTheInvariants) {
    MakeLaunchDir();
    const std::string share = MapShare();
    ASSERT_NE("", share);
    ASSERT_TRUE(fake_.Start());
    const Texts starts = {"C:\\GEN\\", "c:/GEN/", "C:\\\\GEN\\",     "",
                          "\\GEN\\",   "C:GEN\\", share + "\\GEN\\", " C:\\GEN\\"};
    const Texts names = {"ZEL",   "My Apps", "x)][DeleteGroup(Accessories)][(y",
                         "a\"b",  "..",      ".",
                         "NUL",   "com1",    "Z,1",
                         "(Z)",   "[Z]",     " lead",
                         "end ",  "dots..",  "%s%n",
                         "T\tAB", "ZE<L>",   "\xC9T\xC9",
                         "Z:x"};
    const Texts separators = {"\\", "/", "\\\\"};
    const std::regex item(
        std::string(R"(\[AddItem\((ZEL|NOTEPAD README\.TXT|WINHELP ZEL\.HLP), )") +
        R"((ZEL|README|ZEL Help), )" + kPathField + ",, -1, -1, " + kPathField + R"(\)\])");
    std::mt19937 random(20261220);
    int installed = 0;
    for (int run = 0; run < 14; run++) {
        std::string dest = starts[random() % starts.size()];
        for (unsigned n = 1 + random() % 3; n > 0; n--)
            dest += names[random() % names.size()] +
                    (n > 1 || random() % 3 == 0 ? separators[random() % separators.size()] : "");
        SCOPED_TRACE("destination \"" + dest + "\"");
        const size_t before = Commands(fake_.Events()).size();
        ASSERT_TRUE(Start(dest, kLaunchDir));
        Run result;
        ASSERT_TRUE(RunThrough(&result));
        EXPECT_FALSE(IsExceptionCode(result.code)) << std::hex << result.code;
        EXPECT_EQ(result.success, result.code == kInstalled) << "exit code " << result.code;

        Texts commands = Commands(fake_.Events());
        commands.erase(commands.begin(), commands.begin() + before);
        if (result.success) {
            installed++;
            ASSERT_EQ(6u, commands.size()) << fake_.Log();
            EXPECT_EQ(Texts(kDefaultGroupCommands.begin(), kDefaultGroupCommands.begin() + 3),
                      Texts(commands.begin(), commands.begin() + 3));
            std::smatch fields[3];
            for (int i = 0; i < 3; i++)
                ASSERT_TRUE(std::regex_match(commands[3 + i], fields[i], item)) << commands[3 + i];
            const std::string dir = Unquoted(fields[0][4]);
            // A colon past the drive letter would name a stream, not this directory.
            EXPECT_EQ(std::string::npos, dir.find(':', 2)) << dir;
            for (int i = 1; i < 3; i++)
                EXPECT_EQ(dir, Unquoted(fields[i][4]));
            EXPECT_EQ(dir + "\\ZEL.EXE", Unquoted(fields[0][3]));
            EXPECT_EQ("", CompareWithMedium(dir)) << "in " << dir;
        } else {
            EXPECT_EQ(Texts{}, commands) << "no group without the files";
        }
        RemoveWhatTheRunMade();
        std::string error;
        EXPECT_TRUE(robot::RemoveTree(share + "\\GEN", &error)) << error;
    }
    EXPECT_EQ("", DriveChanges());
    // The pieces make both kinds: some destinations install, others are refused.
    EXPECT_GT(installed, 2);
    EXPECT_LT(installed, 12);
}

// On a Japanese system (ANSI code page 932) the trail byte of many double-byte characters is 0x5C,
// the byte of '\\', and a walk over a path byte by byte takes it for a separator. The suite runs
// under LANG=ja_JP.UTF-8 (see CMakeLists.txt); the robot types the destination in code page 932,
// as a Japanese user's keyboard gives it.
const char kHyou[] = "\x95\x5C";                   // U+8868, 95 5C
const char kSofuto[] = "\x83\x5C\x83\x74\x83\x67"; // U+30BD U+30D5 U+30C8, 83 5C 83 74 83 67

class FaultDestinationJapanese : public FaultDestination {
protected:
    void SetUp() override {
        FaultDestination::SetUp();
        ASSERT_EQ(932u, GetACP())
            << "the suite needs a Japanese system: LANG=ja_JP.UTF-8, with "
               "the locale generated (localedef -i ja_JP -f UTF-8 ja_JP.UTF-8)";
    }
};

// Each destination is made and filled exactly as typed, and Program Manager is given that very
// directory: C:\<95 5C>\ZEL does not lose its separator (C:\<95 5C>ZEL), C:\<95 5C>\ does not lose
// the trail byte with the trailing separator.
TEST_F(FaultDestinationJapanese, ADoubleByteDestinationIsMadeAsTyped) {
    const std::string hyou = kHyou;
    const std::string sofuto = kSofuto;
    struct Row {
        std::string typed;
        std::string dir;
        Texts above; // the directories made above it, innermost first
    };
    const std::vector<Row> rows = {
        {"C:\\" + hyou + "\\ZEL", "C:\\" + hyou + "\\ZEL", {"C:\\" + hyou}},
        {"C:\\" + sofuto + "\\" + hyou + "\\ZEL\\",
         "C:\\" + sofuto + "\\" + hyou + "\\ZEL",
         {"C:\\" + sofuto + "\\" + hyou, "C:\\" + sofuto}},
        {"C:\\" + hyou + "\\", "C:\\" + hyou, {}},
    };
    ASSERT_TRUE(fake_.Start());
    for (const Row& row : rows) {
        SCOPED_TRACE("destination \"" + row.typed + "\"");
        const size_t before = Commands(fake_.Events()).size();
        ASSERT_TRUE(Start(row.typed));
        DWORD code = 1234;
        Texts commands = MakeGroup(&code);
        EXPECT_EQ(kInstalled, code);
        EXPECT_EQ("", CompareWithMedium(row.dir));
        ASSERT_EQ(before + 6, commands.size()) << fake_.Log();
        EXPECT_EQ(
            (Texts{
                "[AddItem(ZEL, ZEL, " + row.dir + "\\ZEL.EXE,, -1, -1, " + row.dir + ")]",
                "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, " + row.dir + ")]",
                "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, " + row.dir + ")]",
            }),
            Texts(commands.begin() + before + 3, commands.end()));
        // Nothing else was made: the directories above it empty, nothing new elsewhere.
        std::string error;
        EXPECT_TRUE(robot::RemoveTree(row.dir, &error)) << error;
        for (const std::string& dir : row.above)
            EXPECT_TRUE(RemoveDirectoryA(dir.c_str())) << dir << ": " << robot::LastErrorText();
        EXPECT_EQ("", DriveChanges());
    }
}

// The program finds its files through its own path: cut at the trail byte of the first double-byte
// character of its name (ZEL<83 5C>...), that path would name no directory, and the copy would look
// in the start folder.
TEST_F(FaultDestinationJapanese, AProgramWithADoubleByteNameFindsItsFiles) {
    const std::string medium = "C:\\ZELJ";
    CleanLater(medium);
    ASSERT_TRUE(CreateDirectoryA(medium.c_str(), nullptr)) << robot::LastErrorText();
    Texts names = kProductFiles;
    names.push_back("SETUP.EXE");
    for (const std::string& name : names) {
        const std::string from = std::string(kMediumDir) + "\\" + name;
        const std::string to =
            medium + "\\" + (name == "SETUP.EXE" ? "ZEL" + std::string(kSofuto) + ".EXE" : name);
        ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), TRUE))
            << to << ": " << robot::LastErrorText();
    }
    driveBefore_ = DriveContents();
    setupExe_ = medium + "\\ZEL" + kSofuto + ".EXE";
    ASSERT_TRUE(Start(kDefaultDestination));
    DWORD code = 1234;
    Finish(&code);
    EXPECT_EQ(kInstalled, code);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

} // namespace
