#include "progman_test_server.h"

namespace {
// The callback has no context argument; one server runs at a time.
TestDdeServer* g_server = nullptr;
} // namespace

TestDdeServer::TestDdeServer(const std::string& service, const std::string& refuse)
    : m_service(service), m_refuse(refuse) {
    g_server = this;
    m_started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, &m_threadId);
    if (m_thread != nullptr && WaitForSingleObject(m_started, 10000) != WAIT_OBJECT_0)
        m_ready = false;
}

TestDdeServer::~TestDdeServer() {
    if (m_thread != nullptr) {
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
    }
    if (m_started != nullptr)
        CloseHandle(m_started);
    g_server = nullptr;
}

DWORD WINAPI TestDdeServer::ThreadMain(LPVOID param) {
    static_cast<TestDdeServer*>(param)->Run();
    return 0;
}

void TestDdeServer::Run() {
    MSG msg;
    // Makes the thread's message queue before anyone posts WM_QUIT to it.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    UINT flags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                 CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&m_inst, Callback, flags, 0) == DMLERR_NO_ERROR) {
        HSZ hsz = DdeCreateStringHandleA(m_inst, m_service.c_str(), CP_WINANSI);
        m_hszService = hsz;
        m_ready = hsz != nullptr && DdeNameService(m_inst, hsz, nullptr, DNS_REGISTER) != nullptr;
    }
    SetEvent(m_started);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (m_inst != 0) {
        if (m_hszService != nullptr) {
            DdeNameService(m_inst, m_hszService, nullptr, DNS_UNREGISTER);
            DdeFreeStringHandle(m_inst, m_hszService);
        }
        DdeUninitialize(m_inst);
    }
}

HDDEDATA CALLBACK TestDdeServer::Callback(UINT uType, UINT, HCONV, HSZ hsz1, HSZ hsz2,
                                          HDDEDATA hData, ULONG_PTR, ULONG_PTR) {
    TestDdeServer* self = g_server;
    if (self == nullptr)
        return nullptr;
    HSZ service = self->m_hszService;
    switch (uType) {
    case XTYP_CONNECT:
        return (HDDEDATA)(ULONG_PTR)(DdeCmpStringHandles(hsz1, service) == 0 &&
                                     DdeCmpStringHandles(hsz2, service) == 0);
    case XTYP_CONNECT_CONFIRM: {
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_connects++;
        return nullptr;
    }
    case XTYP_DISCONNECT: {
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_disconnects++;
        return nullptr;
    }
    case XTYP_EXECUTE: {
        DWORD size = DdeGetData(hData, nullptr, 0, 0);
        std::string bytes(size, '\0');
        if (size != 0)
            DdeGetData(hData, (LPBYTE)&bytes[0], size, 0);
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_executes.push_back(bytes);
        bool refuse = !self->m_refuse.empty() && bytes.find(self->m_refuse) != std::string::npos;
        return (HDDEDATA)(ULONG_PTR)(refuse ? DDE_FNOTPROCESSED : DDE_FACK);
    }
    default:
        return nullptr;
    }
}

std::vector<std::string> TestDdeServer::Executes() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_executes;
}

int TestDdeServer::Connects() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connects;
}

int TestDdeServer::Disconnects() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_disconnects;
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
