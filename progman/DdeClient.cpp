#include "DdeClient.h"

// The wire form of an execute: the command's bytes with their terminating NUL, in CF_TEXT, e.g.
// the 19 bytes "[DeleteGroup(ZEL)]\0". DdeClientTransaction takes a data handle in place of a
// byte pointer when the byte count is -1.
static const DWORD kDataHandleByteCount = 0xFFFFFFFF;
static const DWORD kExecuteTimeoutMs = 10000;

HDDEDATA CALLBACK DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return NULL;
}

CDdeInstance::CDdeInstance() : id(0) {
    // A client only: no service is registered and no callback filter is asked for.
    if (::DdeInitializeA(&id, DdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        id = 0;
}

CDdeInstance::~CDdeInstance() {
    // Also ends any conversation still open on the instance.
    if (id != 0)
        ::DdeUninitialize(id);
}

CDdeStringHandle::CDdeStringHandle(const CDdeInstance& instance, LPCSTR pszText)
    : m_idInst(instance.id), m_hsz(::DdeCreateStringHandleA(instance.id, pszText, CP_WINANSI)) {}

CDdeStringHandle::~CDdeStringHandle() {
    if (m_hsz != NULL)
        ::DdeFreeStringHandle(m_idInst, m_hsz);
}

// Not HDATA_APPOWNED: the execute transaction takes the handle over, so it is never freed here.
CDdeDataHandle::CDdeDataHandle(const CDdeInstance& instance, LPCSTR pszText)
    : m_idInst(instance.id),
      m_hData(::DdeCreateDataHandle(instance.id, (LPBYTE)pszText, (DWORD)lstrlenA(pszText) + 1, 0,
                                    NULL, CF_TEXT, 0)) {}

CDdeConversation::CDdeConversation(CDdeInstance* pInstance)
    : m_pInstance(pInstance), m_hConv(NULL) {}

BOOL CDdeConversation::Connect(LPCSTR pszService, LPCSTR pszTopic, CONVCONTEXT* pContext) {
    // Both string handles are freed on the way out, topic first, whether or not the server
    // answered: an open conversation does not need them.
    CDdeStringHandle hszService(*m_pInstance, pszService);
    CDdeStringHandle hszTopic(*m_pInstance, pszTopic);
    m_hConv = ::DdeConnect(m_pInstance->id, hszService.m_hsz, hszTopic.m_hsz, pContext);
    return m_hConv != NULL;
}

void CDdeConversation::Disconnect() {
    if (m_hConv != NULL)
        ::DdeDisconnect(m_hConv);
    m_hConv = NULL;
}

HDDEDATA CDdeConversation::Execute(CDdeDataHandle& data, DWORD* pdwResult) {
    // Synchronous: returns once the server has answered, or after the time-out. Not 0 only when
    // the server acknowledged the command as processed.
    return ::DdeClientTransaction((LPBYTE)data.m_hData, kDataHandleByteCount, m_hConv, NULL, 0,
                                  XTYP_EXECUTE, kExecuteTimeoutMs, pdwResult);
}
