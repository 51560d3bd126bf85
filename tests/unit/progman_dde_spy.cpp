#include "progman_dde_spy.h"

#include "ImportPatch.h"

#include <string.h>

namespace {

DdeSpy* g_spy = nullptr;
DWORD g_thread = 0;

struct Real {
    decltype(&DdeInitializeA) initialize;
    decltype(&DdeUninitialize) uninitialize;
    decltype(&DdeCreateStringHandleA) createString;
    decltype(&DdeFreeStringHandle) freeString;
    decltype(&DdeCreateDataHandle) createData;
    decltype(&DdeFreeDataHandle) freeData;
    decltype(&DdeConnect) connect;
    decltype(&DdeDisconnect) disconnect;
    decltype(&DdeClientTransaction) transaction;
    decltype(&DdeQueryStringA) queryString;
} g_real;

bool Recording() {
    return g_spy != nullptr && GetCurrentThreadId() == g_thread;
}

template <typename T> ULONG_PTR N(T value) {
    return (ULONG_PTR)value;
}

void Record(const char* name, std::vector<ULONG_PTR> args, ULONG_PTR result,
            std::string bytes = std::string()) {
    if (!Recording())
        return;
    DdeCall call;
    call.name = name;
    call.args = std::move(args);
    call.result = result;
    call.bytes = std::move(bytes);
    g_spy->calls.push_back(call);
}

UINT WINAPI SpyInitialize(LPDWORD pidInst, PFNCALLBACK pfn, DWORD afCmd, DWORD ulRes) {
    DWORD before = pidInst != nullptr ? *pidInst : 0;
    UINT result = Recording() && g_spy->initialize ? g_spy->initialize(pidInst)
                                                   : g_real.initialize(pidInst, pfn, afCmd, ulRes);
    Record("DdeInitializeA", {N(pidInst), N(pfn), afCmd, ulRes}, result);
    if (Recording())
        g_spy->calls.back().pointee = before;
    return result;
}

BOOL WINAPI SpyUninitialize(DWORD idInst) {
    BOOL result = g_real.uninitialize(idInst);
    Record("DdeUninitialize", {idInst}, result);
    return result;
}

HSZ WINAPI SpyCreateString(DWORD idInst, LPCSTR psz, int iCodePage) {
    HSZ result = g_real.createString(idInst, psz, iCodePage);
    Record("DdeCreateStringHandleA", {idInst, N(psz), N(iCodePage)}, N(result), psz ? psz : "");
    return result;
}

BOOL WINAPI SpyFreeString(DWORD idInst, HSZ hsz) {
    char text[256] = "";
    g_real.queryString(idInst, hsz, text, sizeof text, CP_WINANSI);
    BOOL result = g_real.freeString(idInst, hsz);
    Record("DdeFreeStringHandle", {idInst, N(hsz)}, result, text);
    return result;
}

HDDEDATA WINAPI SpyCreateData(DWORD idInst, LPBYTE pSrc, DWORD cb, DWORD cbOff, HSZ hszItem,
                              UINT wFmt, UINT afCmd) {
    HDDEDATA result = g_real.createData(idInst, pSrc, cb, cbOff, hszItem, wFmt, afCmd);
    Record("DdeCreateDataHandle", {idInst, N(pSrc), cb, cbOff, N(hszItem), wFmt, afCmd}, N(result),
           DataBytes(result));
    return result;
}

BOOL WINAPI SpyFreeData(HDDEDATA hData) {
    BOOL result = g_real.freeData(hData);
    Record("DdeFreeDataHandle", {N(hData)}, result);
    return result;
}

HCONV WINAPI SpyConnect(DWORD idInst, HSZ hszService, HSZ hszTopic, PCONVCONTEXT pCC) {
    HCONV result = Recording() && g_spy->connect
                       ? g_spy->connect(hszService, hszTopic, pCC)
                       : g_real.connect(idInst, hszService, hszTopic, pCC);
    Record("DdeConnect", {idInst, N(hszService), N(hszTopic), N(pCC)}, N(result));
    return result;
}

BOOL WINAPI SpyDisconnect(HCONV hConv) {
    BOOL result =
        Recording() && g_spy->disconnect ? g_spy->disconnect(hConv) : g_real.disconnect(hConv);
    Record("DdeDisconnect", {N(hConv)}, result);
    return result;
}

HDDEDATA WINAPI SpyTransaction(LPBYTE pData, DWORD cbData, HCONV hConv, HSZ hszItem, UINT wFmt,
                               UINT wType, DWORD dwTimeout, LPDWORD pdwResult) {
    std::string bytes = cbData == 0xFFFFFFFF ? DataBytes((HDDEDATA)pData) : std::string();
    HDDEDATA result;
    if (Recording() && g_spy->execute) {
        result = g_spy->execute(hConv, bytes);
        if (cbData == 0xFFFFFFFF && pData != nullptr)
            g_real.freeData((HDDEDATA)pData);
    } else {
        result =
            g_real.transaction(pData, cbData, hConv, hszItem, wFmt, wType, dwTimeout, pdwResult);
    }
    Record("DdeClientTransaction",
           {N(pData), cbData, N(hConv), N(hszItem), wFmt, wType, dwTimeout, N(pdwResult)},
           N(result), bytes);
    return result;
}

template <typename F> bool Resolve(F* out, const char* name) {
    *out = (F)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), name);
    return *out != nullptr;
}

} // namespace

std::string DataBytes(HDDEDATA hData) {
    if (hData == nullptr)
        return std::string();
    DWORD size = DdeGetData(hData, nullptr, 0, 0);
    std::string bytes(size, '\0');
    if (size != 0)
        DdeGetData(hData, (LPBYTE)&bytes[0], size, 0);
    return bytes;
}

DdeSpy::DdeSpy() {
    if (g_spy != nullptr)
        return;
    bool resolved = Resolve(&g_real.initialize, "DdeInitializeA") &&
                    Resolve(&g_real.uninitialize, "DdeUninitialize") &&
                    Resolve(&g_real.createString, "DdeCreateStringHandleA") &&
                    Resolve(&g_real.freeString, "DdeFreeStringHandle") &&
                    Resolve(&g_real.createData, "DdeCreateDataHandle") &&
                    Resolve(&g_real.freeData, "DdeFreeDataHandle") &&
                    Resolve(&g_real.connect, "DdeConnect") &&
                    Resolve(&g_real.disconnect, "DdeDisconnect") &&
                    Resolve(&g_real.transaction, "DdeClientTransaction") &&
                    Resolve(&g_real.queryString, "DdeQueryStringA");
    if (!resolved)
        return;
    const std::pair<const char*, void*> hooks[] = {
        {"DdeInitializeA", (void*)SpyInitialize},
        {"DdeUninitialize", (void*)SpyUninitialize},
        {"DdeCreateStringHandleA", (void*)SpyCreateString},
        {"DdeFreeStringHandle", (void*)SpyFreeString},
        {"DdeCreateDataHandle", (void*)SpyCreateData},
        {"DdeFreeDataHandle", (void*)SpyFreeData},
        {"DdeConnect", (void*)SpyConnect},
        {"DdeDisconnect", (void*)SpyDisconnect},
        {"DdeClientTransaction", (void*)SpyTransaction},
    };
    installed_ = true;
    for (const auto& hook : hooks) {
        void** slot = ImportSlot("user32.dll", hook.first);
        if (slot == nullptr) {
            installed_ = false;
            continue;
        }
        saved_.push_back({slot, *slot});
        installed_ = Patch(slot, hook.second) && installed_;
    }
    g_spy = this;
    g_thread = GetCurrentThreadId();
}

DdeSpy::~DdeSpy() {
    if (g_spy != this)
        return;
    for (const auto& saved : saved_)
        Patch(saved.first, saved.second);
    g_spy = nullptr;
}

std::vector<std::string> DdeSpy::Names() const {
    std::vector<std::string> names;
    for (const DdeCall& call : calls)
        names.push_back(call.name);
    return names;
}

std::vector<DdeCall> DdeSpy::CallsTo(const std::string& name) const {
    std::vector<DdeCall> found;
    for (const DdeCall& call : calls)
        if (call.name == name)
            found.push_back(call);
    return found;
}
