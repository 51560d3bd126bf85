#include "progman_test_server.h"

#include "message_pump.h"

TestDdeServer::TestDdeServer(const std::string& service, const support::ProgmanAnswers& answers)
    : service_(service), answers_(answers) {
    started_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_);
    if (thread_ != nullptr && WaitForSingleObject(started_, 10000) != WAIT_OBJECT_0)
        ready_ = false;
}

TestDdeServer::~TestDdeServer() {
    if (thread_ != nullptr) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    if (started_ != nullptr)
        CloseHandle(started_);
}

DWORD WINAPI TestDdeServer::ThreadMain(LPVOID param) {
    TestDdeServer* self = static_cast<TestDdeServer*>(param);
    MSG msg;
    // Makes the thread's message queue before anyone posts WM_QUIT to it.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    support::DdeServer server(self->answers_, self);
    std::string error;
    self->ready_ = server.Register(self->service_, &error);
    SetEvent(self->started_);
    support::RunMessageLoop();
    return 0;
}

void TestDdeServer::Executed(int, const std::string& bytes, support::ProgmanAnswers::Reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    executes_.push_back(bytes);
}

std::vector<std::string> TestDdeServer::Executes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return executes_;
}

bool TestDdeServer::WaitForDisconnects(int n, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (Disconnects() < n) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

std::string TestDdeServer::UniqueName(const char* stem) {
    static LONG counter = 0;
    return std::string(stem) + std::to_string(GetCurrentProcessId()) + "x" +
           std::to_string(InterlockedIncrement(&counter));
}
