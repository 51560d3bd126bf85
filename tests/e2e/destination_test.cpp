// Destinations a person might type into the Install Directory dialog. A destination that names
// no place SETUP can make ends with the cause (when the system gave one) and "Unable to create
// destination directory: <destination>", exit code 2, and nothing made on the disk. A relative
// destination is made absolute against the current directory when the dialog is left, so that
// the directory made, the files copied and the program group all name the same place; so is one
// ending in dots or spaces, which the system drops when it makes the directory.
#include "setup_fixture.h"

#include <random>
#include <regex>

namespace {

const char kLaunchDir[] = "C:\\LAUNCH";
const char kUnable[] = "Unable to create destination directory: ";

// The three AddItem commands for an install into `dir`, its paths quoted or not.
Texts Items(const std::string& dir, bool quoted) {
    const std::string q = quoted ? "\"" : "";
    return {
        "[AddItem(ZEL, ZEL, " + q + dir + "\\ZEL.EXE" + q + ",, -1, -1, " + q + dir + q + ")]",
        "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, " + q + dir + q + ")]",
        "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, " + q + dir + q + ")]",
    };
}

// A path field of AddItem: bare, without any character that ends a field, or between quotes.
const char kPathField[] = R"(([^",()\[\]]*|"[^"]*"))";

std::string Unquoted(const std::string& field) {
    return field.size() >= 2 && field.front() == '"' ? field.substr(1, field.size() - 2) : field;
}

class Destination : public SetupTest {
protected:
    // Installs into `typed`, started in `workDir`, with OK in Create Application Group and the
    // fake Program Manager answering, or `silent`ly with /D=; returns the commands it received
    // during the run.
    Texts InstallWithGroup(const std::string& typed, const std::string& workDir = "C:\\",
                           bool silent = false) {
        const size_t before = Commands(fake_.Events()).size();
        if (silent) {
            EXPECT_TRUE(RunSilent("/D=" + typed, workDir));
            EXPECT_EQ(0u, exitCode_);
        } else {
            HWND group = Reach(Step::kGroup, typed, workDir);
            HWND success = group != nullptr ? PastGroup(group) : nullptr;
            if (success == nullptr)
                return {};
            EXPECT_TRUE(CloseSuccess(success));
        }
        EXPECT_EQ(Texts{}, messages_);
        Texts commands = Commands(fake_.Events());
        return Texts(commands.begin() + before, commands.end());
    }
};

// Each row is refused before anything is made, named as entered: a device typed alone is
// resolved to the system's device form (\\.\CON), a quoted paste to a name below the start
// folder, neither of which the user typed. A colon past the drive letter names a stream
// (C:\ZEL:x, C:\ZEL::$INDEX_ALLOCATION), which Wine would make as a directory of that name; a
// name of dots and blanks on the way would be made without them. No network is reachable under
// the tests, and nothing like \server\share may appear on drive C instead. A double quote: the
// system would resolve the ".." past it and install into C:\zelq, while the quote ended Program
// Manager's quoted field early and let the rest run as a command.
TEST_F(Destination, Refused) {
    std::string longPath = "C:";
    while (longPath.size() < 1100)
        longPath += "\\" + std::string(99, 'M');
    ASSERT_FALSE(robot::PathExists("Q:\\")) << "drive Q: is expected to be missing";
    const std::string doubleQuote = "C:\\a\"b)][DeleteGroup(Accessories)][(\"\\..\\zelq";
    const struct {
        std::string typed;
        std::string cause;   // the system's, shown before SETUP's own message
        bool silent = false; // given as /D= to a silent run, whose log has the messages
    } rows[] = {
        {"", ""},
        {"C:", ""},
        {"C:\\", ""},
        {"\\\\server\\share\\ZEL", ""},
        {longPath, "CreateDirectory failed, err = 206\n"},
        {"C:\\ZE<L>", "CreateDirectory failed, err = 123\n"},
        {"Q:\\ZEL", ""},
        {doubleQuote, ""},
        {"C:\\ZEL\\NUL", ""},
        {"C:\\ZEL\\com1\\", ""},
        {"C:\\NUL\\ZEL", ""},
        {"CON", ""},
        {"\\\\.\\C:\\ZEL", ""},
        {"\"C:\\My Apps\\ZEL\"", ""},
        {"C:\\ZEL:x", ""},
        {"C:\\ZEL::$INDEX_ALLOCATION", ""},
        {"C:\\Apps:1\\ZEL", ""},
        {"C:\\ZEL\\ . \\SUB", ""},
        {"C:\\ZEL\\NUL", "", true},
        {doubleQuote, "", true},
        {"C:\\ZE<L>", "CreateDirectory failed, err = 123\n", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("destination \"" + row.typed + "\"");
        Texts expected = {kUnable + row.typed};
        if (!row.cause.empty())
            expected.insert(expected.begin(), row.cause);
        if (row.silent) {
            // The log keeps a message to its one line, without the box's line break.
            if (!row.cause.empty())
                expected[0] = row.cause.substr(0, row.cause.size() - 1);
            ASSERT_TRUE(RunSilent("/D=" + row.typed));
            EXPECT_EQ(expected, messages_);
            EXPECT_EQ(2u, exitCode_);
        } else {
            ASSERT_NE(nullptr, Reach(Step::kCopy, row.typed));
            ExpectEnd(expected);
        }
        EXPECT_EQ("", DriveChanges());
    }
    EXPECT_FALSE(robot::PathExists("C:\\server"));
    EXPECT_FALSE(robot::PathExists("C:\\zelq"));
}

// The directory fits, and so does its first file; README.TXT would make a path longer than the
// system takes.
TEST_F(Destination, APathOf250Characters) {
    const std::string dest = "C:\\" + std::string(247, 'L');
    ASSERT_EQ(250u, dest.size());
    CleanLater(dest);
    ASSERT_NE(nullptr, Reach(Step::kCopy, dest));
    ExpectEnd({"Can't open filename: " + dest + "\\README.TXT", "Failed to install ZEL"});
    EXPECT_EQ(Texts{"ZEL.EXE"}, robot::ListTree(dest, {}));
}

// A path through an existing file is refused; the file itself counts as existing, as a directory
// would, and the first file then cannot be made in it.
TEST_F(Destination, AnExistingFileOnTheWayOrAtTheEnd) {
    CleanLater("C:\\AFILE");
    ASSERT_TRUE(WriteWholeFile("C:\\AFILE", "a file, not a directory"));
    driveBefore_ = DriveContents();
    ASSERT_NE(nullptr, Reach(Step::kCopy, "C:\\AFILE\\ZEL"));
    ExpectEnd({kUnable + std::string("C:\\AFILE\\ZEL")});
    EXPECT_EQ("", DriveChanges());
    EXPECT_EQ("a file, not a directory", ReadWholeFile("C:\\AFILE"));

    ASSERT_NE(nullptr, Reach(Step::kCopy, "C:\\AFILE"));
    ExpectEnd({"Can't open filename: C:\\AFILE\\ZEL.EXE", "Failed to install ZEL"});
    EXPECT_EQ("a file, not a directory", ReadWholeFile("C:\\AFILE"));
}

// Installed where the system puts the typed text, and Program Manager is given that directory:
// a relative name made absolute (\ZEL on the start drive, which is not the medium's; C:ZEL in the
// drive's current directory), dots and blanks ending a name dropped as the system drops them from
// the last name (C:\ZEL \SUB is C:\ZEL\SUB), blanks around a pasted path dropped (taken as
// relative, " C:\My Apps\ZEL" would go below the start folder), and a path that holds a comma,
// parentheses, a name that would read as commands, a network path's leading pair or a space
// quoted. Nothing else is left once the directory goes.
TEST_F(Destination, InstalledWhereTheSystemPutsIt) {
    ASSERT_TRUE(MakeDirBeforeRun(kLaunchDir));
    const std::string share = MapShare();
    ASSERT_NE("", share) << "the share could not be mapped in the prefix";
    ASSERT_TRUE(fake_.Start());
    enum Group { kSkipped, kPlain, kQuoted };
    struct Row {
        std::string typed, workDir, dir, made;
        Group group;
        bool silent = false; // given as /D= to a silent run
    };
    std::vector<Row> rows = {
        {"C:ZEL", kLaunchDir, "C:\\LAUNCH\\ZEL", "C:\\LAUNCH\\ZEL", kSkipped},
        {"C:\\ZEL. . ", "C:\\", "C:\\ZEL", "C:\\ZEL", kSkipped},
        {"C:\\ZEL \\SUB", "C:\\", "C:\\ZEL\\SUB", "C:\\ZEL", kSkipped},
        {"C:\\ZEL. .\\SUB\\", "C:\\", "C:\\ZEL\\SUB", "C:\\ZEL", kSkipped},
        {"ZEL", kLaunchDir, "C:\\LAUNCH\\ZEL", "C:\\LAUNCH\\ZEL", kPlain},
        {"C:\\ZEL(1),X", "C:\\", "C:\\ZEL(1),X", "C:\\ZEL(1),X", kQuoted},
        {"C:\\x)][DeleteGroup(Accessories)][(y", "C:\\", "C:\\x)][DeleteGroup(Accessories)][(y",
         "C:\\x)][DeleteGroup(Accessories)][(y", kQuoted},
        {share + "\\My Apps\\ZEL", "C:\\", share + "\\My Apps\\ZEL", share + "\\My Apps", kQuoted},
        {"  C:\\My Apps\\ZEL ", kLaunchDir, "C:\\My Apps\\ZEL", "C:\\My Apps", kQuoted},
        {"  C:\\My Apps\\ZEL ", kLaunchDir, "C:\\My Apps\\ZEL", "C:\\My Apps", kQuoted, true},
        {"ZEL", kLaunchDir, "C:\\LAUNCH\\ZEL", "C:\\LAUNCH\\ZEL", kPlain, true},
    };
    const std::string drive = FillDrive();
    if (!drive.empty())
        rows.push_back({"\\ZEL", drive + "\\", drive + "\\ZEL", drive + "\\ZEL", kSkipped});
    for (const Row& row : rows) {
        SCOPED_TRACE("destination \"" + row.typed + "\" in " + row.workDir +
                     (row.silent ? ", silent" : ""));
        CleanLater(row.made);
        if (row.group == kSkipped) {
            ASSERT_NE(nullptr, Reach(Step::kCopy, row.typed, row.workDir));
            ASSERT_TRUE(Finish());
        } else {
            Texts commands = InstallWithGroup(row.typed, row.workDir, row.silent);
            ASSERT_EQ(6u, commands.size()) << fake_.Log();
            EXPECT_EQ(Items(row.dir, row.group == kQuoted),
                      Texts(commands.begin() + 3, commands.end()));
        }
        EXPECT_EQ("", CompareWithMedium(row.dir));
        EXPECT_FALSE(robot::PathExists("C:\\MEDIUM\\ZEL"));
        std::string error;
        EXPECT_TRUE(robot::RemoveTree(row.made, &error)) << error;
        EXPECT_EQ(Texts{}, robot::ListTree(kLaunchDir, {})) << "nothing below the start folder";
        EXPECT_EQ("", DriveChanges());
    }
    if (drive.empty())
        GTEST_SKIP() << "E2E_FILL_DRIVE does not name a mapped drive: no \\ZEL on another drive";
}

// Destinations put together at random from pieces a person might type, the awkward ones among
// them. Whatever the text: SETUP ends by itself without a crash, exits with 0 exactly when it
// showed Success, and then has put the ten files into the very directory that Program Manager is
// given, with the six commands of group ZEL and nothing else, every AddItem with its seven fields.
TEST_F(Destination, GeneratedDestinationsKeepTheInvariants) {
    ASSERT_TRUE(MakeDirBeforeRun(kLaunchDir));
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
        ASSERT_NE(nullptr, Reach(Step::kCopy, dest, kLaunchDir));
        // Create Application Group, or the end after a refusal.
        HWND group = nullptr, success = nullptr;
        ASSERT_TRUE(Answer(kGroupCaption, &group));
        if (group != nullptr) {
            ASSERT_NE(nullptr, success = PastGroup(group));
            ASSERT_TRUE(CloseSuccess(success));
        }
        EXPECT_EQ(success != nullptr, exitCode_ == 0) << "exit code " << exitCode_;

        Texts commands = Commands(fake_.Events());
        commands.erase(commands.begin(), commands.begin() + before);
        if (success != nullptr) {
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
const std::string kHyou = "\x95\x5C";                   // U+8868, 95 5C
const std::string kSofuto = "\x83\x5C\x83\x74\x83\x67"; // U+30BD U+30D5 U+30C8

class DestinationJapanese : public Destination {
protected:
    void SetUp() override {
        Destination::SetUp();
        ASSERT_EQ(932u, GetACP())
            << "the suite needs a Japanese system: LANG=ja_JP.UTF-8, with "
               "the locale generated (localedef -i ja_JP -f UTF-8 ja_JP.UTF-8)";
    }
};

// Each destination is made and filled exactly as typed, and Program Manager is given that very
// directory: C:\<95 5C>\ZEL does not lose its separator (C:\<95 5C>ZEL), C:\<95 5C>\ does not lose
// the trail byte with the trailing separator.
TEST_F(DestinationJapanese, ADoubleByteDestinationIsMadeAsTyped) {
    const struct {
        std::string typed;
        std::string dir;
        Texts above;         // the directories made above it, innermost first
        bool silent = false; // given as /D= to a silent run
    } rows[] = {
        {"C:\\" + kHyou + "\\ZEL", "C:\\" + kHyou + "\\ZEL", {"C:\\" + kHyou}},
        {"C:\\" + kSofuto + "\\" + kHyou + "\\ZEL\\",
         "C:\\" + kSofuto + "\\" + kHyou + "\\ZEL",
         {"C:\\" + kSofuto + "\\" + kHyou, "C:\\" + kSofuto}},
        {"C:\\" + kHyou + "\\", "C:\\" + kHyou, {}},
        {"C:\\" + kSofuto + "\\" + kHyou + "\\ZEL\\",
         "C:\\" + kSofuto + "\\" + kHyou + "\\ZEL",
         {"C:\\" + kSofuto + "\\" + kHyou, "C:\\" + kSofuto},
         true},
    };
    ASSERT_TRUE(fake_.Start());
    for (const auto& row : rows) {
        SCOPED_TRACE("destination \"" + row.typed + "\"" + (row.silent ? ", silent" : ""));
        Texts commands = InstallWithGroup(row.typed, "C:\\", row.silent);
        EXPECT_EQ("", CompareWithMedium(row.dir));
        ASSERT_EQ(6u, commands.size()) << fake_.Log();
        EXPECT_EQ(Items(row.dir, false), Texts(commands.begin() + 3, commands.end()));
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
TEST_F(DestinationJapanese, AProgramWithADoubleByteNameFindsItsFiles) {
    ASSERT_TRUE(MakeDirBeforeRun("C:\\ZELJ"));
    ASSERT_TRUE(CopyMedium(kMediumDir, "C:\\ZELJ", "ZEL" + kSofuto + ".EXE"));
    driveBefore_ = DriveContents();
    setupExe_ = "C:\\ZELJ\\ZEL" + kSofuto + ".EXE";
    ASSERT_NE(nullptr, Reach(Step::kCopy, kDefaultDestination));
    ASSERT_TRUE(Finish());
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
}

} // namespace
