// A DDE server for the DDE client's tests: it runs on a thread of its own with its own message
// loop, as another program would, under a service name of its own so that no other server in the
// prefix (Wine's explorer answers PROGMAN) can take its conversations.
#pragma once

#include "dde_server.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class TestDdeServer : private support::DdeServer::Listener {
public:
    // Registers `service` (topic: the same name) and waits until it answers; executes are
    // answered as `answers` says.
    explicit TestDdeServer(const std::string& service, const support::ProgmanAnswers& answers = {});
    ~TestDdeServer();
    TestDdeServer(const TestDdeServer&) = delete;
    TestDdeServer& operator=(const TestDdeServer&) = delete;

    bool Ready() const { return ready_; }
    const std::string& Name() const { return service_; }
    // Every execute's data bytes, NUL included, in order of arrival.
    std::vector<std::string> Executes();
    int Connects() const { return connects_; }
    // Waits up to timeoutMs for the count of ended conversations to reach n.
    bool WaitForDisconnects(int n, DWORD timeoutMs);
    int Disconnects() const { return disconnects_; }

    // A service name no other test or program uses.
    static std::string UniqueName(const char* stem);

private:
    static DWORD WINAPI ThreadMain(LPVOID param);
    void Connected(int, const std::string&, const std::string&) override { connects_++; }
    void Executed(int, const std::string& bytes, support::ProgmanAnswers::Reply) override;
    void Disconnected(int) override { disconnects_++; }

    std::string service_;
    support::ProgmanAnswers answers_;
    bool ready_ = false;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE started_ = nullptr;

    std::mutex mutex_;
    std::vector<std::string> executes_;
    std::atomic<int> connects_{0};
    std::atomic<int> disconnects_{0};
};
