// Program Manager refusing or never answering each of the group step's commands, the cases that
// progman_group_test.cpp leaves out. A refused or unanswered group command (CreateGroup,
// ShowGroup) or program item shows "Failed to complete installation of program group" once; a
// refused DeleteGroup, README or help item shows nothing. An unanswered command fails after the
// transaction's 10 s time-out and the step goes on. Every run reaches Success and ends with exit
// code 0. Slow, so the blocking cases come in two suites that run side by side.
#include "fault_steps.h"

namespace {

const char kGroupFailed[] = "Failed to complete installation of program group";
typedef std::vector<std::string> Texts;

const Texts& kAllCommands = kDefaultGroupCommands;

Texts FirstCommands(size_t n) {
    return Texts(kAllCommands.begin(), kAllCommands.begin() + n);
}

struct GroupStep {
    Texts messages;
    Texts commands; // as the fake received them by the time Success appeared
    std::string replies;
    DWORD elapsedMs = 0; // from OK in the group dialog to the Success dialog
    DWORD exitCode = 1234;
};

class FaultProgman : public FaultTest {
protected:
    // A default install with the fake Program Manager started with `options`, OK in the group
    // step, every message answered, and Success closed.
    GroupStep Run(const std::vector<std::string>& options) {
        GroupStep step;
        EXPECT_TRUE(fake_.Start(options));
        EXPECT_TRUE(Start("C:\\ZEL\\"));
        HWND group = MessagesUntilDialog("Create Application Group", &step.messages);
        if (group == nullptr || !Click(group, IDOK) || !Gone(group))
            return step;
        const DWORD start = GetTickCount();
        HWND success = MessagesUntilDialog("Success", &step.messages, 60000);
        step.elapsedMs = GetTickCount() - start;
        std::vector<FakeEvent> events = fake_.Events();
        step.commands = Commands(events);
        for (const FakeEvent& event : events)
            if (event.kind == "execute")
                step.replies += event.reply + " ";
        if (success != nullptr) {
            EXPECT_TRUE(CloseSuccess(success, &step.exitCode));
        }
        return step;
    }
};

class FaultProgmanRefuse : public FaultProgman {};
class FaultProgmanBlockGroup : public FaultProgman {};
class FaultProgmanBlockItems : public FaultProgman {};

constexpr DWORD kTimeoutMs = 10000;
// The time-out is measured from the send; allow for the clock's granularity.
constexpr DWORD kOneTimeout = kTimeoutMs - 500;

TEST_F(FaultProgmanRefuse, ShowGroup) {
    GroupStep step = Run({"--refuse", "[ShowGroup("});
    EXPECT_EQ(Texts{kGroupFailed}, step.messages);
    EXPECT_EQ(FirstCommands(3), step.commands) << fake_.Log();
    EXPECT_EQ("ack ack refuse ", step.replies);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanRefuse, TheHelpItem) {
    GroupStep step = Run({"--refuse", "WINHELP"});
    EXPECT_EQ(Texts{}, step.messages);
    EXPECT_EQ(kAllCommands, step.commands) << fake_.Log();
    EXPECT_EQ("ack ack ack ack ack refuse ", step.replies);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanBlockGroup, DeleteGroup) {
    GroupStep step = Run({"--block", "[DeleteGroup("});
    EXPECT_EQ(Texts{}, step.messages);
    EXPECT_EQ(kAllCommands, step.commands) << fake_.Log();
    EXPECT_EQ("block ack ack ack ack ack ", step.replies);
    EXPECT_GE(step.elapsedMs, kOneTimeout);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanBlockGroup, CreateGroup) {
    GroupStep step = Run({"--block", "[CreateGroup("});
    EXPECT_EQ(Texts{kGroupFailed}, step.messages);
    EXPECT_EQ(FirstCommands(2), step.commands) << fake_.Log();
    EXPECT_EQ("ack block ", step.replies);
    EXPECT_GE(step.elapsedMs, kOneTimeout);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanBlockGroup, ShowGroup) {
    GroupStep step = Run({"--block", "[ShowGroup("});
    EXPECT_EQ(Texts{kGroupFailed}, step.messages);
    EXPECT_EQ(FirstCommands(3), step.commands) << fake_.Log();
    EXPECT_EQ("ack ack block ", step.replies);
    EXPECT_GE(step.elapsedMs, kOneTimeout);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanBlockItems, TheReadMeItem) {
    GroupStep step = Run({"--block", "README"});
    EXPECT_EQ(Texts{}, step.messages);
    EXPECT_EQ(kAllCommands, step.commands) << fake_.Log();
    EXPECT_EQ("ack ack ack ack block ack ", step.replies);
    EXPECT_GE(step.elapsedMs, kOneTimeout);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanBlockItems, TheHelpItem) {
    GroupStep step = Run({"--block", "WINHELP"});
    EXPECT_EQ(Texts{}, step.messages);
    EXPECT_EQ(kAllCommands, step.commands) << fake_.Log();
    EXPECT_EQ("ack ack ack ack ack block ", step.replies);
    EXPECT_GE(step.elapsedMs, kOneTimeout);
    EXPECT_EQ(0u, step.exitCode);
}

TEST_F(FaultProgmanBlockItems, EveryCommand) {
    // DeleteGroup and CreateGroup each run into the time-out; then the step gives up.
    GroupStep step = Run({"--block", "["});
    EXPECT_EQ(Texts{kGroupFailed}, step.messages);
    EXPECT_EQ(FirstCommands(2), step.commands) << fake_.Log();
    EXPECT_EQ("block block ", step.replies);
    EXPECT_GE(step.elapsedMs, 2 * kOneTimeout);
    EXPECT_EQ(0u, step.exitCode);
}

} // namespace
