#include "DdeClient.h"

HDDEDATA CALLBACK DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return NULL;
}

CDdeInstance::CDdeInstance() : id(0) {}

CDdeInstance::~CDdeInstance() {}

CDdeStringHandle::CDdeStringHandle(const CDdeInstance& instance, LPCSTR)
    : m_idInst(instance.id), m_hsz(NULL) {}

CDdeStringHandle::~CDdeStringHandle() {}

CDdeDataHandle::CDdeDataHandle(const CDdeInstance& instance, LPCSTR)
    : m_idInst(instance.id), m_hData(NULL) {}

CDdeConversation::CDdeConversation(CDdeInstance* pInstance)
    : m_pInstance(pInstance), m_hConv(NULL) {}

BOOL CDdeConversation::Connect(LPCSTR, LPCSTR, CONVCONTEXT*) {
    return FALSE;
}

void CDdeConversation::Disconnect() {
    m_hConv = NULL;
}

HDDEDATA CDdeConversation::Execute(CDdeDataHandle&, DWORD*) {
    return NULL;
}
