// The DDE client against the real DDE library: the calls it makes, their arguments and order,
// who frees what, and what a real server receives.
#include <gtest/gtest.h>

#include "progman_dde_spy.h"
#include "progman_test_server.h"
#include "progman/DdeClient.h"

namespace {

typedef std::vector<std::string> Names;

const ULONG_PTR kByteCountOfAHandle = 0xFFFFFFFF;

// String handles of this DDE library are atoms named by their text: an atom that is gone is a
// handle that was freed.
bool AtomExists(const std::string& text) {
    return FindAtomA(text.c_str()) != 0 || GlobalFindAtomA(text.c_str()) != 0;
}

BOOL CALLBACK DestroyIfDdeClientWindow(HWND hwnd, LPARAM) {
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    if (strstr(className, "DdeClient") != nullptr)
        DestroyWindow(hwnd);
    return TRUE;
}

// Wine (8.0) leaves the client window of a failed DdeConnect behind, even past DdeUninitialize.
// While this thread pumps no messages, such a window would hold up the DdeConnect of every other
// program in the prefix at its WM_DDE_INITIATE broadcast.
void DestroyLeftoverClientWindows() {
    EnumThreadWindows(GetCurrentThreadId(), DestroyIfDdeClientWindow, 0);
}

std::string WithNul(const char* text) {
    return std::string(text, strlen(text) + 1);
}

TEST(DdeCallback, AnswersNoTransaction) {
    const UINT types[] = {XTYP_CONNECT,  XTYP_WILDCONNECT, XTYP_EXECUTE,
                          XTYP_REQUEST,  XTYP_POKE,        XTYP_DISCONNECT,
                          XTYP_ADVSTART, XTYP_REGISTER,    XTYP_XACT_COMPLETE};
    for (UINT type : types)
        EXPECT_EQ(DdeCallback(type, CF_TEXT, (HCONV)1, (HSZ)2, (HSZ)3, (HDDEDATA)4, 5, 6), nullptr)
            << "transaction type 0x" << std::hex << type;
}

TEST(DdeInstance, MakesAClientOnlyInstanceAndEndsIt) {
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    DWORD id = 0;
    {
        CDdeInstance instance;
        id = instance.id;
        EXPECT_NE(id, 0u);
        ASSERT_EQ(spy.Names(), Names({"DdeInitializeA"}));
        const DdeCall& init = spy.calls[0];
        EXPECT_EQ(init.args[0], (ULONG_PTR)&instance.id);
        EXPECT_EQ(init.pointee, 0u) << "the id must be 0 when DdeInitializeA is called";
        EXPECT_EQ(init.args[1], (ULONG_PTR)DdeCallback);
        EXPECT_EQ(init.args[2], (ULONG_PTR)APPCMD_CLIENTONLY);
        EXPECT_EQ(init.args[2], 0x10u);
        EXPECT_EQ(init.args[3], 0u);
    }
    ASSERT_EQ(spy.Names(), Names({"DdeInitializeA", "DdeUninitialize"}));
    EXPECT_EQ(spy.calls[1].args, std::vector<ULONG_PTR>({id}));
    EXPECT_TRUE(spy.calls[1].result);
}

TEST(DdeInstance, FailedInitializationLeavesNoInstanceAndEndsNothing) {
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    spy.initialize = [](LPDWORD pidInst) {
        *pidInst = 0x5678;
        return (UINT)DMLERR_SYS_ERROR;
    };
    {
        CDdeInstance instance;
        EXPECT_EQ(instance.id, 0u);
    }
    EXPECT_EQ(spy.Names(), Names({"DdeInitializeA"}));
}

TEST(DdeStringHandle, MakesAnAnsiHandleAndFreesIt) {
    CDdeInstance instance;
    ASSERT_NE(instance.id, 0u);
    std::string text = TestDdeServer::UniqueName("ZelString");
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    HSZ hsz = nullptr;
    {
        CDdeStringHandle handle(instance, text.c_str());
        hsz = handle.m_hsz;
        EXPECT_NE(hsz, nullptr);
        EXPECT_EQ(handle.m_idInst, instance.id);
        ASSERT_EQ(spy.Names(), Names({"DdeCreateStringHandleA"}));
        EXPECT_EQ(spy.calls[0].args,
                  std::vector<ULONG_PTR>({instance.id, (ULONG_PTR)text.c_str(), 1004}));
        char query[256] = "";
        DdeQueryStringA(instance.id, hsz, query, sizeof query, CP_WINANSI);
        EXPECT_EQ(std::string(query), text);
        EXPECT_TRUE(AtomExists(text));
    }
    ASSERT_EQ(spy.Names(), Names({"DdeCreateStringHandleA", "DdeFreeStringHandle"}));
    EXPECT_EQ(spy.calls[1].args, std::vector<ULONG_PTR>({instance.id, (ULONG_PTR)hsz}));
    EXPECT_FALSE(AtomExists(text));
}

TEST(DdeStringHandle, OnAnEmptyInstanceIsNullAndNotFreed) {
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    spy.initialize = [](LPDWORD) { return (UINT)DMLERR_SYS_ERROR; };
    CDdeInstance instance;
    ASSERT_EQ(instance.id, 0u);
    {
        CDdeStringHandle handle(instance, "PROGMAN");
        EXPECT_EQ(handle.m_hsz, nullptr);
    }
    EXPECT_EQ(spy.Names(), Names({"DdeInitializeA", "DdeCreateStringHandleA"}));
}

TEST(DdeDataHandle, HoldsTheTextWithItsNulAndIsNeverFreed) {
    CDdeInstance instance;
    ASSERT_NE(instance.id, 0u);
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    const char text[] = "[ShowGroup(ZEL,1)]";
    HDDEDATA hData = nullptr;
    {
        CDdeDataHandle data(instance, text);
        hData = data.m_hData;
        ASSERT_NE(hData, nullptr);
        EXPECT_EQ(data.m_idInst, instance.id);
    }
    ASSERT_EQ(spy.Names(), Names({"DdeCreateDataHandle"}));
    EXPECT_EQ(spy.calls[0].args,
              std::vector<ULONG_PTR>({instance.id, (ULONG_PTR)text, 19, 0, 0, CF_TEXT, 0}));
    // Still readable after its owner object has gone: nothing freed it.
    std::string bytes = DataBytes(hData);
    ASSERT_EQ(bytes.size(), 19u);
    EXPECT_EQ(bytes, WithNul(text));
    EXPECT_EQ(bytes.back(), '\0');
    DdeFreeDataHandle(hData);
}

TEST(DdeDataHandle, EmptyTextIsOneNulByte) {
    CDdeInstance instance;
    ASSERT_NE(instance.id, 0u);
    CDdeDataHandle data(instance, "");
    ASSERT_NE(data.m_hData, nullptr);
    EXPECT_EQ(DataBytes(data.m_hData), std::string(1, '\0'));
    DdeFreeDataHandle(data.m_hData);
}

TEST(DdeConversation, DisconnectWhenNotConnectedCallsNothing) {
    CDdeInstance instance;
    CDdeConversation conversation(&instance);
    EXPECT_EQ(conversation.m_pInstance, &instance);
    EXPECT_EQ(conversation.m_hConv, nullptr);
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    conversation.Disconnect();
    EXPECT_EQ(conversation.m_hConv, nullptr);
    conversation.Disconnect();
    EXPECT_EQ(conversation.m_hConv, nullptr);
    EXPECT_EQ(spy.Names(), Names());
}

TEST(DdeConversation, ConnectToAnAbsentServiceFailsAndFreesItsStringHandles) {
    CDdeInstance instance;
    ASSERT_NE(instance.id, 0u);
    CDdeConversation conversation(&instance);
    std::string service = TestDdeServer::UniqueName("ZelAbsentService");
    std::string topic = TestDdeServer::UniqueName("ZelAbsentTopic");
    CONVCONTEXT context = {sizeof context, 0, 0, 0, 0, 0, {}};
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());

    EXPECT_FALSE(conversation.Connect(service.c_str(), topic.c_str(), &context));
    EXPECT_EQ(conversation.m_hConv, nullptr);

    ASSERT_EQ(spy.Names(), Names({"DdeCreateStringHandleA", "DdeCreateStringHandleA", "DdeConnect",
                                  "DdeFreeStringHandle", "DdeFreeStringHandle"}));
    const std::vector<DdeCall>& c = spy.calls;
    EXPECT_EQ(c[0].bytes, service);
    EXPECT_EQ(c[1].bytes, topic);
    EXPECT_EQ(c[0].args[2], 1004u);
    EXPECT_EQ(c[1].args[2], 1004u);
    ULONG_PTR hszService = c[0].result, hszTopic = c[1].result;
    EXPECT_NE(hszService, 0u);
    EXPECT_NE(hszTopic, 0u);
    EXPECT_EQ(c[2].args,
              std::vector<ULONG_PTR>({instance.id, hszService, hszTopic, (ULONG_PTR)&context}));
    EXPECT_EQ(c[2].result, 0u);
    EXPECT_EQ(c[3].args, std::vector<ULONG_PTR>({instance.id, hszTopic})) << "topic first";
    EXPECT_EQ(c[4].args, std::vector<ULONG_PTR>({instance.id, hszService}));
    EXPECT_FALSE(AtomExists(service));
    EXPECT_FALSE(AtomExists(topic));
    DestroyLeftoverClientWindows();
}

TEST(DdeConversation, ConnectOnAnEmptyInstanceFails) {
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    spy.initialize = [](LPDWORD) { return (UINT)DMLERR_SYS_ERROR; };
    CDdeInstance instance;
    ASSERT_EQ(instance.id, 0u);
    TestDdeServer server(TestDdeServer::UniqueName("ZelServer"));
    ASSERT_TRUE(server.Ready());
    CDdeConversation conversation(&instance);
    EXPECT_FALSE(conversation.Connect(server.Name().c_str(), server.Name().c_str(), nullptr));
    EXPECT_EQ(conversation.m_hConv, nullptr);
    EXPECT_EQ(server.Connects(), 0);
    EXPECT_EQ(spy.CallsTo("DdeFreeStringHandle").size(), 0u) << "null handles are not freed";
}

TEST(DdeConversation, ExecutesOnAServerAndDisconnects) {
    support::ProgmanAnswers answers;
    answers.refused = {"REFUSE"};
    TestDdeServer server(TestDdeServer::UniqueName("ZelServer"), answers);
    ASSERT_TRUE(server.Ready());
    CDdeInstance instance;
    ASSERT_NE(instance.id, 0u);
    CDdeConversation conversation(&instance);
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());

    ASSERT_TRUE(conversation.Connect(server.Name().c_str(), server.Name().c_str(), nullptr));
    HCONV hConv = conversation.m_hConv;
    ASSERT_NE(hConv, nullptr);
    EXPECT_EQ(server.Connects(), 1);
    ASSERT_EQ(spy.Names(), Names({"DdeCreateStringHandleA", "DdeCreateStringHandleA", "DdeConnect",
                                  "DdeFreeStringHandle", "DdeFreeStringHandle"}));
    EXPECT_EQ(spy.calls[2].result, (ULONG_PTR)hConv);
    spy.calls.clear();

    CDdeDataHandle accepted(instance, "[CreateGroup(ZEL)]");
    DWORD dwResult = 0;
    EXPECT_NE(conversation.Execute(accepted, &dwResult), nullptr);
    ASSERT_EQ(spy.Names(), Names({"DdeCreateDataHandle", "DdeClientTransaction"}));
    EXPECT_EQ(
        spy.calls[1].args,
        std::vector<ULONG_PTR>({(ULONG_PTR)accepted.m_hData, kByteCountOfAHandle, (ULONG_PTR)hConv,
                                0, 0, XTYP_EXECUTE, 10000, (ULONG_PTR)&dwResult}));
    EXPECT_EQ(spy.calls[1].args[5], 0x4050u);

    CDdeDataHandle refused(instance, "[REFUSE(ZEL)]");
    EXPECT_EQ(conversation.Execute(refused, &dwResult), nullptr);
    EXPECT_EQ(server.Executes(),
              std::vector<std::string>({WithNul("[CreateGroup(ZEL)]"), WithNul("[REFUSE(ZEL)]")}));
    EXPECT_EQ(conversation.m_hConv, hConv) << "a refused command leaves the conversation open";

    spy.calls.clear();
    conversation.Disconnect();
    EXPECT_EQ(conversation.m_hConv, nullptr);
    conversation.Disconnect();
    ASSERT_EQ(spy.Names(), Names({"DdeDisconnect"}));
    EXPECT_EQ(spy.calls[0].args, std::vector<ULONG_PTR>({(ULONG_PTR)hConv}));
    EXPECT_TRUE(server.WaitForDisconnects(1, 5000));
}

TEST(DdeConversation, ExecuteWhenNotConnectedFails) {
    CDdeInstance instance;
    ASSERT_NE(instance.id, 0u);
    CDdeConversation conversation(&instance);
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    CDdeDataHandle data(instance, "[ShowGroup(ZEL,1)]");
    DWORD dwResult = 0;
    EXPECT_EQ(conversation.Execute(data, &dwResult), nullptr);
    ASSERT_EQ(spy.CallsTo("DdeClientTransaction").size(), 1u);
    EXPECT_EQ(spy.CallsTo("DdeClientTransaction")[0].args[2], 0u) << "the null conversation";
}

TEST(DdeConversation, DestroyingItConnectedLeavesTheConversationToTheInstance) {
    TestDdeServer server(TestDdeServer::UniqueName("ZelServer"));
    ASSERT_TRUE(server.Ready());
    DdeSpy spy;
    ASSERT_TRUE(spy.Installed());
    {
        CDdeInstance instance;
        {
            CDdeConversation conversation(&instance);
            ASSERT_TRUE(
                conversation.Connect(server.Name().c_str(), server.Name().c_str(), nullptr));
        }
        EXPECT_EQ(spy.CallsTo("DdeDisconnect").size(), 0u);
        Sleep(100);
        EXPECT_EQ(server.Disconnects(), 0);
    }
    // DdeUninitialize ends the conversation that is still open.
    EXPECT_EQ(spy.CallsTo("DdeDisconnect").size(), 0u);
    EXPECT_EQ(spy.CallsTo("DdeUninitialize").size(), 1u);
    EXPECT_TRUE(server.WaitForDisconnects(1, 5000));
}

} // namespace
