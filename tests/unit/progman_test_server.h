// A DDE server for the DDE client's tests: it runs on a thread of its own with its own message
// loop, as another program would, under a service name of its own so that no other server in the
// prefix (Wine's explorer answers PROGMAN) can take its conversations.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <mutex>
#include <string>
#include <vector>

class TestDdeServer {
public:
    // Registers `service` (topic: the same name) and waits until it answers. Executes whose text
    // contains `refuse` (when not empty) are answered DDE_FNOTPROCESSED, all others DDE_FACK.
    TestDdeServer(const std::string& service, const std::string& refuse = std::string());
    ~TestDdeServer();
    TestDdeServer(const TestDdeServer&) = delete;
    TestDdeServer& operator=(const TestDdeServer&) = delete;

    bool Ready() const { return m_ready; }
    const std::string& Name() const { return m_service; }
    // Every execute's data bytes, NUL included, in order of arrival.
    std::vector<std::string> Executes();
    int Connects();
    // Waits up to timeoutMs for the count of ended conversations to reach n.
    bool WaitForDisconnects(int n, DWORD timeoutMs);
    int Disconnects();

    // A service name no other test or program uses.
    static std::string UniqueName(const char* stem);

private:
    static DWORD WINAPI ThreadMain(LPVOID param);
    static HDDEDATA CALLBACK Callback(UINT uType, UINT uFmt, HCONV hConv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA hData, ULONG_PTR dwData1, ULONG_PTR dwData2);
    void Run();

    std::string m_service;
    std::string m_refuse;
    bool m_ready = false;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    HANDLE m_started = nullptr;
    DWORD m_inst = 0;
    HSZ m_hszService = nullptr;

    std::mutex m_mutex;
    std::vector<std::string> m_executes;
    int m_connects = 0;
    int m_disconnects = 0;
};
