// The Program Manager group step end to end: SETUP.EXE installs into the prefix while a fake
// Program Manager logs every DDE command it receives, and answers, refuses or blocks them.
#include "progman_fake.h"
#include "setup_fixture.h"

namespace {

const char kGroupFailed[] = "Failed to complete installation of program group";
const char kCreateGroupCaption[] = "Create Application Group";

typedef std::vector<std::string> Texts;

const Texts& kDefaultCommands = kDefaultGroupCommands;

// What a person saw between leaving the Create Application Group dialog and the end of SETUP.
struct GroupStepOutcome {
    std::vector<robot::MessageBoxInfo> boxes;
    bool successShown = false;
    // The fake's events when the Success dialog appeared.
    std::vector<FakeEvent> eventsAtSuccess;
    DWORD elapsedMs = 0; // from leaving the group dialog to the Success dialog
    DWORD exitCode = 0;
};

class ProgramGroup : public SetupTest {
protected:
    void TearDown() override {
        EXPECT_TRUE(fake_.Stop());
        SetupTest::TearDown();
    }

    // Runs SETUP through Welcome and Install Directory (with `destination` typed in, unless it
    // is empty) and the copy, up to the Create Application Group dialog.
    HWND RunToGroupDialog(const std::string& destination = std::string()) {
        if (!Launch())
            return nullptr;
        HWND welcome = WaitDialog("Welcome");
        if (welcome == nullptr || !Click(welcome, IDOK))
            return nullptr;
        HWND directory = WaitDialog("Install Directory");
        if (directory == nullptr)
            return nullptr;
        std::string error;
        if (!destination.empty()) {
            HWND edit = robot::Control(directory, 1001, &error);
            if (edit == nullptr || !robot::SetText(edit, destination, &error)) {
                ADD_FAILURE() << error;
                return nullptr;
            }
        }
        if (!Click(directory, IDOK))
            return nullptr;
        return WaitDialog(kCreateGroupCaption);
    }

    // Leaves the group dialog with `button` (or the Escape key when `button` is 0), then answers
    // every message box with OK until the Success dialog comes, and closes that too.
    GroupStepOutcome FinishGroupStep(HWND groupDialog, int button, DWORD timeoutMs = 15000) {
        GroupStepOutcome outcome;
        DWORD start = GetTickCount();
        EXPECT_TRUE(button != 0 ? Click(groupDialog, button) : Key(groupDialog, VK_ESCAPE));
        std::string error;
        while (GetTickCount() - start < timeoutMs) {
            HWND success = robot::FindDialog("Success", setup_.Id());
            if (success != nullptr) {
                outcome.elapsedMs = GetTickCount() - start;
                outcome.successShown = true;
                outcome.eventsAtSuccess = fake_.Events();
                EXPECT_TRUE(Click(success, IDOK));
                break;
            }
            for (const robot::WindowInfo& dialog : robot::DialogsOf(setup_.Id())) {
                if (!robot::IsMessageBox(dialog.hwnd))
                    continue;
                outcome.boxes.push_back(robot::ReadMessageBox(dialog.hwnd));
                EXPECT_TRUE(robot::DismissMessageBox(dialog.hwnd, &error)) << error;
            }
            if (!setup_.IsRunning())
                break;
            Sleep(20);
        }
        EXPECT_TRUE(outcome.successShown) << "no Success dialog. Windows now:\n"
                                          << robot::DescribeWindows();
        std::vector<robot::WindowInfo> shown;
        EXPECT_TRUE(WaitExit(&outcome.exitCode, &shown));
        return outcome;
    }

    // Every execute came on conversation 1 with its NUL, and the conversation was opened once
    // and closed before the Success dialog appeared.
    void ExpectOneWholeConversation(const GroupStepOutcome& outcome) {
        const std::vector<FakeEvent>& events = outcome.eventsAtSuccess;
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

    static void ExpectFailureShownOnce(const GroupStepOutcome& outcome) {
        ASSERT_EQ(outcome.boxes.size(), 1u);
        EXPECT_EQ(outcome.boxes[0].text, kGroupFailed);
        EXPECT_EQ(outcome.boxes[0].caption, "SETUP");
        EXPECT_EQ(outcome.boxes[0].buttons, std::vector<std::string>({"OK"}));
    }

    static std::string Replies(const std::vector<FakeEvent>& events) {
        std::string replies;
        for (const FakeEvent& event : events)
            if (event.kind == "execute")
                replies += event.reply + " ";
        return replies;
    }

    FakeProgman fake_;
};

TEST_F(ProgramGroup, DefaultInstallSendsTheSixCommandsOnOneConversation) {
    ASSERT_TRUE(fake_.Start());
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(fake_.Events().empty()) << "DDE traffic before the group step:\n" << fake_.Log();

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    EXPECT_TRUE(outcome.boxes.empty()) << outcome.boxes[0].text;
    EXPECT_EQ(Commands(outcome.eventsAtSuccess), kDefaultCommands) << fake_.Log();
    ExpectOneWholeConversation(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, DestinationWithASpaceIsQuotedWhereItIsAPath) {
    ASSERT_TRUE(fake_.Start());
    CleanLater("C:\\My Apps");
    HWND group = RunToGroupDialog("C:\\My Apps\\ZEL");
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    EXPECT_TRUE(outcome.boxes.empty()) << outcome.boxes[0].text;
    EXPECT_EQ(
        Commands(outcome.eventsAtSuccess),
        Texts({
            "[DeleteGroup(ZEL)]",
            "[CreateGroup(ZEL)]",
            "[ShowGroup(ZEL,1)]",
            "[AddItem(ZEL, ZEL, \"C:\\My Apps\\ZEL\\ZEL.EXE\",, -1, -1, \"C:\\My Apps\\ZEL\")]",
            "[AddItem(NOTEPAD README.TXT, README, NOTEPAD.EXE,, -1, -1, \"C:\\My Apps\\ZEL\")]",
            "[AddItem(WINHELP ZEL.HLP, ZEL Help, WINHELP.EXE,, -1, -1, \"C:\\My Apps\\ZEL\")]",
        }))
        << fake_.Log();
    ExpectOneWholeConversation(outcome);
    EXPECT_TRUE(robot::PathExists("C:\\My Apps\\ZEL\\ZEL.EXE"));
}

TEST_F(ProgramGroup, RefusedCreateGroupStopsTheGroupAndShowsTheFailureOnce) {
    ASSERT_TRUE(fake_.Start({"--refuse", "[CreateGroup("}));
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    ExpectFailureShownOnce(outcome);
    EXPECT_EQ(Commands(outcome.eventsAtSuccess),
              Texts({"[DeleteGroup(ZEL)]", "[CreateGroup(ZEL)]"}))
        << fake_.Log();
    EXPECT_EQ(Replies(outcome.eventsAtSuccess), "ack refuse ");
    ExpectOneWholeConversation(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, RefusedDeleteGroupIsNoFailure) {
    ASSERT_TRUE(fake_.Start({"--refuse", "[DeleteGroup("}));
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    EXPECT_TRUE(outcome.boxes.empty()) << outcome.boxes[0].text;
    EXPECT_EQ(Commands(outcome.eventsAtSuccess), kDefaultCommands) << fake_.Log();
    ExpectOneWholeConversation(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, RefusedProgramItemShowsTheFailureAndSendsNoOtherItem) {
    ASSERT_TRUE(fake_.Start({"--refuse", "[AddItem(ZEL,"}));
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    ExpectFailureShownOnce(outcome);
    EXPECT_EQ(Commands(outcome.eventsAtSuccess),
              Texts(kDefaultCommands.begin(), kDefaultCommands.begin() + 4))
        << fake_.Log();
    ExpectOneWholeConversation(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, RefusedReadmeItemShowsNothingAndTheHelpItemFollows) {
    ASSERT_TRUE(fake_.Start({"--refuse", "README"}));
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    EXPECT_TRUE(outcome.boxes.empty()) << outcome.boxes[0].text;
    EXPECT_EQ(Commands(outcome.eventsAtSuccess), kDefaultCommands) << fake_.Log();
    EXPECT_EQ(Replies(outcome.eventsAtSuccess), "ack ack ack ack refuse ack ");
    ExpectOneWholeConversation(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, AbsentProgramManagerShowsTheFailureOnce) {
    // The fake silences explorer's own server; once it has gone too, nobody serves PROGMAN.
    ASSERT_TRUE(fake_.Start());
    ASSERT_TRUE(fake_.Stop());
    ASSERT_FALSE(ProgmanAnswers()) << "a Program Manager still answers";
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK);
    ExpectFailureShownOnce(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, SkipMakesNoConnection) {
    ASSERT_TRUE(fake_.Start());
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDCANCEL);
    EXPECT_TRUE(outcome.boxes.empty()) << outcome.boxes[0].text;
    EXPECT_TRUE(outcome.eventsAtSuccess.empty()) << fake_.Log();
    EXPECT_TRUE(fake_.Events().empty()) << fake_.Log();
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST_F(ProgramGroup, EscapeSkipsLikeSkip) {
    ASSERT_TRUE(fake_.Start());
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, 0);
    EXPECT_TRUE(outcome.boxes.empty()) << outcome.boxes[0].text;
    EXPECT_TRUE(fake_.Events().empty()) << fake_.Log();
    EXPECT_EQ(outcome.exitCode, 0u);
}

// An unanswered command fails after the transaction's time-out of ten seconds, and counts as
// refused.
TEST_F(ProgramGroup, UnansweredProgramItemTimesOutAsAFailure) {
    ASSERT_TRUE(fake_.Start({"--block", "[AddItem(ZEL,"}));
    HWND group = RunToGroupDialog();
    ASSERT_NE(group, nullptr);

    GroupStepOutcome outcome = FinishGroupStep(group, IDOK, 40000);
    ExpectFailureShownOnce(outcome);
    EXPECT_EQ(Commands(outcome.eventsAtSuccess),
              Texts(kDefaultCommands.begin(), kDefaultCommands.begin() + 4))
        << fake_.Log();
    EXPECT_EQ(Replies(outcome.eventsAtSuccess), "ack ack ack block ");
    EXPECT_GE(outcome.elapsedMs, 9500u);
    EXPECT_LT(outcome.elapsedMs, 30000u);
    ExpectOneWholeConversation(outcome);
    EXPECT_EQ(outcome.exitCode, 0u);
}

} // namespace
