// The Program Manager group step end to end: SETUP.EXE installs into the prefix while a fake
// Program Manager logs every DDE command it receives, and answers, refuses or never answers
// (blocks) chosen ones, or is not there at all.
//
// What the step does with each answer is one table (kRows). A refused or unanswered group command
// (CreateGroup, ShowGroup) or program item shows "Failed to complete installation of program
// group" once and ends the step; a refused or unanswered DeleteGroup, README or help item shows
// nothing and the step goes on. An unanswered command fails after the transaction's 10 s
// time-out. Every run reaches Success and ends with exit code 0.
#include "setup_fixture.h"

#include <sstream>

namespace {

const char kGroupFailed[] = "Failed to complete installation of program group";

constexpr DWORD kTimeoutMs = 10000;
// The time-out is measured from the send; allow for the clock's granularity.
constexpr DWORD kOneTimeoutMs = kTimeoutMs - 500;
// What a run that waits for time-outs may take beyond them.
constexpr DWORD kBeyondTimeoutsMs = 20000;

// What the fake saw from leaving the Create Application Group dialog to the Success dialog.
struct GroupStep {
    std::vector<FakeEvent> eventsAtSuccess;
    DWORD elapsedMs = 0;
};

class ProgmanTest : public SetupTest {
protected:
    // Leaves the group dialog with `button` (or the Escape key when `button` is 0), answers the
    // message boxes until the Success dialog comes, and closes that too.
    GroupStep FinishGroupStep(HWND groupDialog, int button) {
        GroupStep step;
        const DWORD start = GetTickCount();
        HWND success = PastGroup(groupDialog, button);
        step.elapsedMs = GetTickCount() - start;
        step.eventsAtSuccess = fake_.Events();
        if (success != nullptr) {
            EXPECT_TRUE(CloseSuccess(success));
        }
        return step;
    }

    // Every execute came on conversation 1 with its NUL, and the conversation was opened once
    // and closed before the Success dialog appeared.
    void ExpectOneWholeConversation(const GroupStep& step) {
        const std::vector<FakeEvent>& events = step.eventsAtSuccess;
        ASSERT_GE(events.size(), 2u) << fake_.Log();
        EXPECT_EQ(events.front().line, "connect 1 PROGMAN PROGMAN") << fake_.Log();
        EXPECT_EQ(events.back().line, "disconnect 1") << fake_.Log();
        for (const FakeEvent& event : events) {
            if (event.kind != "execute")
                continue;
            EXPECT_EQ(event.conversation, 1) << event.line;
            EXPECT_TRUE(event.nul) << event.line;
            EXPECT_EQ(event.byteCount, event.text.size() + 1) << event.line;
        }
        EXPECT_EQ(fake_.Events().size(), events.size()) << "traffic after the group step:\n"
                                                        << fake_.Log();
    }

    // The fake's replies to the executes, in order: "ack ack refuse ".
    static std::string Replies(const std::vector<FakeEvent>& events) {
        std::string replies;
        for (const FakeEvent& event : events)
            if (event.kind == "execute")
                replies += event.reply + " ";
        return replies;
    }
};

// One way the Program Manager answers, and what SETUP must do about it after OK in Create
// Application Group.
struct Row {
    const char* name;
    bool absent;   // nobody serves PROGMAN; otherwise the fake, started with `options`
    Texts options; // the fake's: "--refuse" or "--block" and the start of the commands meant
    Texts boxes;   // the texts of the message boxes, in order; each captioned SETUP, with OK
    size_t sent;   // the first `sent` of the default install's six commands, exactly, in order
    const char* replies; // the fake's reply to each, as Replies gives them
    int timeouts;        // DDE time-outs waited; none means less than one (exit code 0 always)
    bool silent = false; // a silent run (/S), whose log says what Program Manager answered
};

const bool kAbsent = true;
const bool kServed = false;

// clang-format off
const Row kRows[] = {
    // name                    PROGMAN   the fake's options              message boxes    sent  replies                         time-outs
    {"Absent",                 kAbsent,  {},                             {kGroupFailed},  0,    "",                             0},
    {"RefusesDeleteGroup",     kServed,  {"--refuse", "[DeleteGroup("},  {},              6,    "refuse ack ack ack ack ack ",  0},
    {"RefusesCreateGroup",     kServed,  {"--refuse", "[CreateGroup("},  {kGroupFailed},  2,    "ack refuse ",                  0},
    {"RefusesShowGroup",       kServed,  {"--refuse", "[ShowGroup("},    {kGroupFailed},  3,    "ack ack refuse ",              0},
    {"RefusesTheProgramItem",  kServed,  {"--refuse", "[AddItem(ZEL,"},  {kGroupFailed},  4,    "ack ack ack refuse ",          0},
    {"RefusesTheReadmeItem",   kServed,  {"--refuse", "README"},         {},              6,    "ack ack ack ack refuse ack ",  0},
    {"RefusesTheHelpItem",     kServed,  {"--refuse", "WINHELP"},        {},              6,    "ack ack ack ack ack refuse ",  0},
    {"BlocksDeleteGroup",      kServed,  {"--block", "[DeleteGroup("},   {},              6,    "block ack ack ack ack ack ",   1},
    {"BlocksCreateGroup",      kServed,  {"--block", "[CreateGroup("},   {kGroupFailed},  2,    "ack block ",                   1},
    {"BlocksShowGroup",        kServed,  {"--block", "[ShowGroup("},     {kGroupFailed},  3,    "ack ack block ",               1},
    {"BlocksTheProgramItem",   kServed,  {"--block", "[AddItem(ZEL,"},   {kGroupFailed},  4,    "ack ack ack block ",           1},
    {"BlocksTheReadmeItem",    kServed,  {"--block", "README"},          {},              6,    "ack ack ack ack block ack ",   1},
    {"BlocksTheHelpItem",      kServed,  {"--block", "WINHELP"},         {},              6,    "ack ack ack ack ack block ",   1},
    // DeleteGroup and CreateGroup each run into the time-out; then the step gives up.
    {"BlocksEveryCommand",     kServed,  {"--block", "["},               {kGroupFailed},  2,    "block block ",                 2},
    {"AbsentSilent",           kAbsent,  {},                             {kGroupFailed},  0,    "",                             0,  true},
    {"RefusesTheProgramItemSilent", kServed, {"--refuse", "[AddItem(ZEL,"}, {kGroupFailed}, 4,  "ack ack ack refuse ",          0,  true},
};
// clang-format on

// The lines of a log that tell of Program Manager.
Texts ProgmanLines(const Texts& log) {
    Texts lines;
    for (const std::string& line : log)
        if (line.compare(0, 15, "Program Manager") == 0)
            lines.push_back(line);
    return lines;
}

// What the log of a row's run says of Program Manager: each command sent, with the fake's reply.
Texts LoggedAnswers(const Row& row) {
    if (row.absent)
        return {"Program Manager could not be reached"};
    Texts lines = {"Program Manager: connected"};
    std::istringstream replies(row.replies);
    std::string reply;
    for (size_t i = 0; i < row.sent && replies >> reply; i++)
        lines.push_back(std::string(reply == "ack" ? "Program Manager accepted: "
                                                   : "Program Manager did not accept: ") +
                        kDefaultGroupCommands[i]);
    return lines;
}

// Failure messages name the row, not its bytes.
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class ProgramManager : public ProgmanTest, public ::testing::WithParamInterface<Row> {};

TEST_P(ProgramManager, GroupStep) {
    const Row& row = GetParam();
    if (row.absent) {
        // The fake silences explorer's own server; once it has gone too, nobody serves PROGMAN.
        ASSERT_TRUE(fake_.Start());
        ASSERT_TRUE(fake_.Stop());
        ASSERT_FALSE(support::ProgmanIsServed()) << "a Program Manager still answers";
    } else {
        ASSERT_TRUE(fake_.Start(row.options));
    }
    GroupStep step;
    if (row.silent) {
        // The whole run, the copy's fraction of a second included.
        const DWORD start = GetTickCount();
        ASSERT_TRUE(RunSilent("", "C:\\", kBeyondTimeoutsMs));
        step.elapsedMs = GetTickCount() - start;
        step.eventsAtSuccess = fake_.Events();
        EXPECT_EQ(0u, exitCode_) << "a failed group step fails no install";
        EXPECT_EQ(LoggedAnswers(row), ProgmanLines(log_));
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    } else {
        HWND group = Reach(Step::kGroup);
        ASSERT_NE(group, nullptr);
        step = FinishGroupStep(group, IDOK);
    }
    EXPECT_EQ(messages_, row.boxes);
    if (!row.absent) {
        EXPECT_EQ(Commands(step.eventsAtSuccess),
                  Texts(kDefaultGroupCommands.begin(), kDefaultGroupCommands.begin() + row.sent))
            << fake_.Log();
        EXPECT_EQ(Replies(step.eventsAtSuccess), row.replies) << fake_.Log();
        ExpectOneWholeConversation(step);
    }
    const DWORD least = row.timeouts * kOneTimeoutMs;
    const DWORD most =
        row.timeouts == 0 ? kOneTimeoutMs : row.timeouts * kTimeoutMs + kBeyondTimeoutsMs;
    EXPECT_GE(step.elapsedMs, least)
        << "the step took " << step.elapsedMs << " ms, expected at least " << least;
    EXPECT_LT(step.elapsedMs, most)
        << "the step took " << step.elapsedMs << " ms, expected less than " << most;
}

INSTANTIATE_TEST_SUITE_P(, ProgramManager, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

class ProgramGroup : public ProgmanTest {};

TEST_F(ProgramGroup, DefaultInstallSendsTheSixCommandsOnOneConversation) {
    ASSERT_TRUE(fake_.Start());
    HWND group = Reach(Step::kGroup);
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(fake_.Events().empty()) << "DDE traffic before the group step:\n" << fake_.Log();

    GroupStep step = FinishGroupStep(group, IDOK);
    EXPECT_EQ(Texts{}, messages_);
    EXPECT_EQ(Commands(step.eventsAtSuccess), kDefaultGroupCommands) << fake_.Log();
    ExpectOneWholeConversation(step);
}

TEST_F(ProgramGroup, DestinationWithASpaceIsQuotedWhereItIsAPath) {
    ASSERT_TRUE(fake_.Start());
    CleanLater("C:\\My Apps");
    HWND group = Reach(Step::kGroup, "C:\\My Apps\\ZEL");
    ASSERT_NE(group, nullptr);

    GroupStep step = FinishGroupStep(group, IDOK);
    EXPECT_EQ(Texts{}, messages_);
    EXPECT_EQ(
        Commands(step.eventsAtSuccess),
        Texts({
            "[DeleteGroup(ZEL)]",
            "[CreateGroup(ZEL)]",
            "[ShowGroup(ZEL,1)]",
            "[AddItem(ZEL, ZEL, \"C:\\My Apps\\ZEL\\ZEL.EXE\",, -1, -1, \"C:\\My Apps\\ZEL\")]",
            "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, \"C:\\My Apps\\ZEL\")]",
            "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, \"C:\\My Apps\\ZEL\")]",
        }))
        << fake_.Log();
    ExpectOneWholeConversation(step);
    EXPECT_TRUE(robot::PathExists("C:\\My Apps\\ZEL\\ZEL.EXE"));
}

// /NOGROUP: the step is not shown at all, and a silent run makes no group either.
TEST_F(ProgramGroup, SkipEscapeOrNoGroupMakesNoConnection) {
    ASSERT_TRUE(fake_.Start());
    for (int button : {IDCANCEL, 0}) {
        SCOPED_TRACE(button ? "Skip" : "Escape");
        HWND group = Reach(Step::kGroup);
        ASSERT_NE(group, nullptr);
        GroupStep step = FinishGroupStep(group, button);
        EXPECT_EQ(Texts{}, messages_);
        EXPECT_TRUE(step.eventsAtSuccess.empty()) << fake_.Log();
        EXPECT_TRUE(fake_.Events().empty()) << fake_.Log();
    }
    arguments_ = "/NOGROUP";
    ASSERT_NE(nullptr, Reach(Step::kCopy));
    HWND success = AnswerUntil("Success");
    ASSERT_NE(nullptr, success) << "Success follows the copy";
    EXPECT_TRUE(CloseSuccess(success));
    EXPECT_EQ(Texts{}, messages_);
    ASSERT_TRUE(RunSilent("/NOGROUP"));
    EXPECT_EQ(0u, exitCode_);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    EXPECT_EQ(Texts{}, ProgmanLines(log_));
    EXPECT_TRUE(fake_.Events().empty()) << fake_.Log();
}

} // namespace
