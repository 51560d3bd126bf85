// SETUP started with switches, as the tools that deploy software start it: a silent install (/S)
// that shows no window at any moment and tells its run in the log, an interactive run with a
// destination (/D=) and a log (/LOG=), the help (/?), and command lines that cannot be used:
// nothing made, exit code 3. The silent runs' other outcomes are rows of the tables of their
// subjects: destinations, full disks, Program Manager.
#include "setup_fixture.h"

#include <algorithm>

namespace {

const char kUsage[] = "Usage: SETUP [/S] [/NOGROUP] [/LOG=file] [/D=directory]\n";
const char kExitCodes[] =
    "\nExit codes: 0 installed, 1 cancelled, 2 failed, 3 the command line cannot be used.";

class Unattended : public SetupTest {
protected:
    // "Copied <name> (<size> bytes) to <dir>\<name>" for the first `count` product files.
    static Texts CopiedLines(const std::string& dir, size_t count = kProductFiles.size()) {
        Texts lines;
        for (size_t i = 0; i < count; i++) {
            robot::FileSum sum;
            robot::SumFile("C:\\MEDIUM\\" + kProductFiles[i], &sum);
            lines.push_back("Copied " + kProductFiles[i] + " (" + std::to_string(sum.size) +
                            " bytes) to " + dir + "\\" + kProductFiles[i]);
        }
        return lines;
    }

    // The run's start as the log tells it; the Windows version is the prefix's own.
    static Texts StartLines(const std::string& commandLine, const char* mode) {
        return {"SETUP 1.0.0.1 (ZEL 1.1B3) started; command line: " + commandLine, "Windows", mode};
    }

    // The log's lines with the Windows version cut to "Windows".
    static Texts WithoutVersion(Texts lines) {
        for (std::string& line : lines)
            if (line.compare(0, 8, "Windows ") == 0)
                line = "Windows";
        return lines;
    }

    static bool EndsWith(const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }
};

// The default silent install, twice: the second finds the directory there and copies again.
TEST_F(Unattended, ASilentInstallWithTheDefaults) {
    ASSERT_TRUE(fake_.Start());
    for (const char* directory : {"made", "already there"}) {
        SCOPED_TRACE(std::string("destination directory ") + directory);
        ASSERT_TRUE(RunSilent());
        EXPECT_EQ(0u, exitCode_);
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
        Texts expected = StartLines("/S /LOG=C:\\SILENT.LOG", "Silent install");
        Texts more = {"Destination as given: C:\\ZEL\\", "Destination as resolved: C:\\ZEL\\",
                      std::string("Destination directory ") + directory + ": C:\\ZEL"};
        expected.insert(expected.end(), more.begin(), more.end());
        more = CopiedLines(kDefaultDestination);
        expected.insert(expected.end(), more.begin(), more.end());
        expected.push_back("Program Manager: connected");
        for (const std::string& command : kDefaultGroupCommands)
            expected.push_back("Program Manager accepted: " + command);
        expected.push_back("Ended: installed, exit code 0");
        EXPECT_EQ(expected, WithoutVersion(log_));
    }
    EXPECT_EQ(Texts{}, messages_);
    const Texts commands = Commands(fake_.Events());
    EXPECT_EQ(Texts(kDefaultGroupCommands.begin(), kDefaultGroupCommands.end()),
              Texts(commands.begin(), commands.begin() + 6))
        << fake_.Log();
    EXPECT_EQ(12u, commands.size()) << fake_.Log();
}

// A command line that cannot be used makes nothing. Silent, no window appears and the log says
// why; otherwise a box names the problem above the usage. /? shows the usage alone and does
// nothing else, even with /S.
TEST_F(Unattended, CommandLinesThatCannotBeUsedAndTheHelp) {
    const struct {
        const char* arguments;
        bool silent;
        const char* problem; // null: the help
        DWORD exitCode;
    } rows[] = {
        {"/X", true, "Unknown switch: /X", 3},
        {"/NOGROUP -nogroup", true, "/NOGROUP is given twice.", 3},
        {"/D=", true, "/D= names no destination.", 3},
        {"/Silent", false, "Unknown switch: /Silent", 3},
        {"/LOG=C:\\NODIR\\SETUP.LOG", false, "The log file cannot be opened: C:\\NODIR\\SETUP.LOG",
         3},
        {"/LOG=C:\\NODIR\\SETUP.LOG", true, nullptr, 3},
        {"/S /?", false, nullptr, 0},
        {"-help", false, nullptr, 0},
    };
    ASSERT_TRUE(fake_.Start());
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.silent ? "silent, " : "") + "arguments " + row.arguments);
        const bool help = row.problem == nullptr && !row.silent;
        if (row.silent) {
            ASSERT_TRUE(RunSilent(row.arguments));
            if (row.problem != nullptr) {
                EXPECT_EQ(Texts({std::string("The command line cannot be used: ") + row.problem,
                                 "Ended: the command line cannot be used, exit code 3"}),
                          Texts(log_.begin() + std::min<size_t>(log_.size(), 2), log_.end()));
            }
        } else {
            arguments_ = row.arguments;
            ASSERT_TRUE(Launch());
            ASSERT_TRUE(AnswerUntilExit());
            ASSERT_EQ(1u, messages_.size());
            const std::string start =
                help ? std::string(kUsage) : std::string(row.problem) + "\n\n" + kUsage;
            EXPECT_EQ(start, messages_[0].substr(0, start.size()));
            EXPECT_TRUE(EndsWith(messages_[0], kExitCodes)) << "got \"" << messages_[0] << "\"";
        }
        EXPECT_EQ(row.exitCode, exitCode_);
        EXPECT_FALSE(robot::PathExists(kDefaultDestination));
        EXPECT_EQ("", DriveChanges());
    }
    EXPECT_TRUE(fake_.Events().empty()) << fake_.Log();
}

// An interactive run proposes the /D= destination in Install Directory and logs the run, the
// user's cancel included; a second run appends to the same log.
TEST_F(Unattended, AnInteractiveRunWithADestinationAndALog) {
    const std::string log = "C:\\RUN.LOG", dest = "C:\\My Apps\\ZEL";
    CleanLater("C:\\My Apps");
    CleanLater(log);
    arguments_ = "/LOG=" + log + " /D=" + dest;
    HookAt("Copying: README.TXT", "cancel");
    HWND directory = Reach(Step::kInstallDirectory);
    ASSERT_NE(nullptr, directory);
    EXPECT_EQ(dest, robot::TextOf(GetDlgItem(directory, IDC_DIRECTORY_EDIT)));
    ASSERT_TRUE(Click(directory, IDOK));
    ASSERT_TRUE(Gone(directory));
    ASSERT_TRUE(AnswerUntilExit());
    EXPECT_EQ(Texts{"Failed to install ZEL"}, messages_);
    EXPECT_EQ(1u, exitCode_);

    arguments_ = "-log=" + log;
    HWND welcome = Reach(Step::kWelcome);
    ASSERT_NE(nullptr, welcome);
    ASSERT_TRUE(Click(welcome, IDCANCEL));
    ASSERT_TRUE(Gone(welcome));
    ASSERT_TRUE(AnswerUntilExit());
    EXPECT_EQ(1u, exitCode_);

    Texts expected = StartLines("/LOG=" + log + " /D=" + dest, "Interactive install");
    Texts more = {"Destination as given: " + dest, "Destination as resolved: " + dest,
                  "Destination directory made: " + dest};
    expected.insert(expected.end(), more.begin(), more.end());
    more = CopiedLines(dest, 1);
    expected.insert(expected.end(), more.begin(), more.end());
    more = {"Installing: the user cancelled the copy", "Message: Failed to install ZEL",
            "Ended: cancelled, exit code 1"};
    expected.insert(expected.end(), more.begin(), more.end());
    more = StartLines("-log=" + log, "Interactive install");
    expected.insert(expected.end(), more.begin(), more.end());
    expected.push_back("Welcome: the user cancelled");
    expected.push_back("Ended: cancelled, exit code 1");
    EXPECT_EQ(expected, WithoutVersion(LogLines(log)));
}

} // namespace
