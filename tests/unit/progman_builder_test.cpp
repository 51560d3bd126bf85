// The program group builder with the DDE library's conversation calls played by the test: the
// calls and their arguments behind each command. What each refusal stops, and the commands' texts,
// are seen end to end (ProgramManager, ProgramGroup).
#include <gtest/gtest.h>

#include "default_group.h"
#include "progman_dde_spy.h"
#include "progman/ProgramGroupBuilder.h"

namespace {

typedef std::vector<std::string> Texts;

const HCONV kConversation = (HCONV)0x4C0;

// Plays Program Manager: answers connects with kConversation (or not at all) and acknowledges
// every execute.
class ProgramGroupBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(spy_.Installed());
        spy_.connect = [this](HSZ, HSZ, PCONVCONTEXT) {
            return reachable_ ? kConversation : nullptr;
        };
        spy_.execute = [](HCONV hConv, const std::string&) {
            return hConv == kConversation ? (HDDEDATA)1 : nullptr;
        };
        spy_.disconnect = [](HCONV) { return TRUE; };
    }

    // The texts of the executes, each checked to end with its NUL and then shown without it.
    Texts Sent() {
        Texts texts;
        for (const DdeCall& call : spy_.CallsTo("DdeClientTransaction")) {
            EXPECT_TRUE(!call.bytes.empty() && call.bytes.back() == '\0') << call.bytes;
            texts.push_back(call.bytes.substr(0, call.bytes.empty() ? 0 : call.bytes.size() - 1));
        }
        return texts;
    }

    DdeSpy spy_;
    CProgramGroupBuilder builder_;
    bool reachable_ = true;
};

TEST_F(ProgramGroupBuilderTest, MakesItsInstanceWhenConstructedAndEndsItWhenDestroyed) {
    DWORD id = 0;
    {
        CProgramGroupBuilder another;
        ASSERT_EQ(spy_.Names().back(), "DdeInitializeA");
        EXPECT_EQ(spy_.calls.back().args[2], 0x10u);
        id = *(DWORD*)spy_.calls.back().args[0];
        EXPECT_NE(id, 0u);
    }
    ASSERT_EQ(spy_.Names().back(), "DdeUninitialize");
    EXPECT_EQ(spy_.calls.back().args[0], id);
}

TEST_F(ProgramGroupBuilderTest, ConnectsToProgmanWithTheSizeOnlyContext) {
    spy_.calls.clear();
    EXPECT_TRUE(builder_.Connect());
    std::vector<DdeCall> strings = spy_.CallsTo("DdeCreateStringHandleA");
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0].bytes, "PROGMAN");
    EXPECT_EQ(strings[1].bytes, "PROGMAN");
    std::vector<DdeCall> connects = spy_.CallsTo("DdeConnect");
    ASSERT_EQ(connects.size(), 1u);
    EXPECT_EQ(spy_.CallsTo("DdeFreeStringHandle").size(), 2u);

    const CONVCONTEXT* context = (const CONVCONTEXT*)connects[0].args[3];
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->cb, 36u);
    CONVCONTEXT zero = {};
    zero.cb = 36;
    EXPECT_EQ(memcmp(context, &zero, sizeof zero), 0) << "every field but cb is 0";

    // The same record serves every connect, of any builder.
    CProgramGroupBuilder another;
    EXPECT_TRUE(another.Connect());
    connects = spy_.CallsTo("DdeConnect");
    ASSERT_EQ(connects.size(), 2u);
    EXPECT_EQ(connects[1].args[3], connects[0].args[3]);
    another.Disconnect();
}

TEST_F(ProgramGroupBuilderTest, ConnectFailsWhenNoProgramManagerAnswers) {
    reachable_ = false;
    EXPECT_FALSE(builder_.Connect());
    spy_.calls.clear();
    builder_.Disconnect();
    EXPECT_EQ(spy_.Names(), Texts()) << "nothing to disconnect";
}

TEST_F(ProgramGroupBuilderTest, SendsTheWorkedExampleOnOneConversation) {
    ASSERT_TRUE(builder_.Connect());
    EXPECT_TRUE(builder_.CreateGroup("ZEL"));
    EXPECT_TRUE(builder_.AddItem("ZEL", "ZEL", "C:\\ZEL\\\\ZEL.EXE", "C:\\ZEL\\"));
    EXPECT_TRUE(builder_.AddItem("NOTEPAD README.TXT", "README", "NOTEPAD.EXE", "C:\\ZEL\\"));
    EXPECT_TRUE(builder_.AddItem("WINHELP ZEL.HLP", "ZEL Help", "WINHELP.EXE", "C:\\ZEL\\"));
    builder_.Disconnect();

    EXPECT_EQ(Sent(), support::kDefaultGroupCommands);
    DWORD id = *(DWORD*)spy_.CallsTo("DdeInitializeA").at(0).args[0];
    std::vector<DdeCall> data = spy_.CallsTo("DdeCreateDataHandle");
    std::vector<DdeCall> executes = spy_.CallsTo("DdeClientTransaction");
    ASSERT_EQ(data.size(), 6u);
    ASSERT_EQ(executes.size(), 6u);
    for (size_t i = 0; i < executes.size(); i++) {
        EXPECT_EQ(data[i].args[0], id) << "made on the builder's instance";
        EXPECT_EQ(data[i].args[5], (ULONG_PTR)CF_TEXT);
        EXPECT_EQ(executes[i].args[0], data[i].result) << "a handle made for this command";
        EXPECT_EQ(executes[i].args[1], 0xFFFFFFFFu);
        EXPECT_EQ(executes[i].args[2], (ULONG_PTR)kConversation);
        EXPECT_EQ(executes[i].args[5], (ULONG_PTR)XTYP_EXECUTE);
        EXPECT_EQ(executes[i].args[6], 10000u);
        EXPECT_NE(executes[i].args[7], 0u) << "a result word is passed";
    }
    EXPECT_EQ(spy_.CallsTo("DdeFreeDataHandle").size(), 0u) << "the library owns sent data";
    EXPECT_EQ(spy_.CallsTo("DdeConnect").size(), 1u);
    std::vector<DdeCall> disconnects = spy_.CallsTo("DdeDisconnect");
    ASSERT_EQ(disconnects.size(), 1u);
    EXPECT_EQ(disconnects[0].args[0], (ULONG_PTR)kConversation);
    EXPECT_EQ(spy_.Names().back(), "DdeDisconnect");
}

TEST_F(ProgramGroupBuilderTest, GroupNameGoesOutUnchanged) {
    ASSERT_TRUE(builder_.Connect());
    EXPECT_TRUE(builder_.CreateGroup("My Tools/ZEL\\\\"));
    EXPECT_EQ(Sent(), Texts({"[DeleteGroup(My Tools/ZEL\\\\)]", "[CreateGroup(My Tools/ZEL\\\\)]",
                             "[ShowGroup(My Tools/ZEL\\\\,1)]"}));
}

TEST_F(ProgramGroupBuilderTest, CommandsWithoutAConversationFail) {
    EXPECT_FALSE(builder_.CreateGroup("ZEL"));
    EXPECT_FALSE(builder_.AddItem("ZEL", "ZEL", "C:\\ZEL\\ZEL.EXE", "C:\\ZEL"));
    EXPECT_EQ(Sent(), Texts({"[DeleteGroup(ZEL)]", "[CreateGroup(ZEL)]",
                             "[AddItem(ZEL, ZEL, C:\\ZEL\\ZEL.EXE,, -1, -1, C:\\ZEL)]"}));
}

TEST_F(ProgramGroupBuilderTest, DisconnectEndsTheConversationOnce) {
    ASSERT_TRUE(builder_.Connect());
    spy_.calls.clear();
    builder_.Disconnect();
    builder_.Disconnect();
    ASSERT_EQ(spy_.Names(), Texts({"DdeDisconnect"}));
    EXPECT_EQ(spy_.calls[0].args[0], (ULONG_PTR)kConversation);
    EXPECT_FALSE(builder_.CreateGroup("ZEL")) << "no conversation after Disconnect";
}

} // namespace
