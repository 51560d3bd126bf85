#include "dde_server.h"

namespace support {

namespace {
DdeServer* g_server = nullptr;
} // namespace

DdeServer::DdeServer(const ProgmanAnswers& answers, Listener* listener)
    : answers_(answers), listener_(listener) {
    g_server = this;
}

DdeServer::~DdeServer() {
    if (inst_ != 0) {
        if (name_ != nullptr) {
            DdeNameService(inst_, name_, nullptr, DNS_UNREGISTER);
            DdeFreeStringHandle(inst_, name_);
        }
        DdeUninitialize(inst_);
    }
    g_server = nullptr;
}

bool DdeServer::Register(const std::string& name, std::string* error) {
    UINT flags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS |
                 CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&inst_, Callback, flags, 0) != DMLERR_NO_ERROR) {
        *error = "DdeInitializeA failed";
        return false;
    }
    name_ = DdeCreateStringHandleA(inst_, name.c_str(), CP_WINANSI);
    if (name_ == nullptr || !DdeNameService(inst_, name_, nullptr, DNS_REGISTER)) {
        *error = "DdeNameService failed, err = " + std::to_string(DdeGetLastError(inst_));
        return false;
    }
    return true;
}

HDDEDATA CALLBACK DdeServer::Callback(UINT type, UINT, HCONV conv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    return g_server == nullptr ? nullptr : g_server->Handle(type, conv, hsz1, hsz2, data);
}

std::string DdeServer::Text(HSZ hsz) const {
    char text[256] = "";
    DdeQueryStringA(inst_, hsz, text, sizeof text, CP_WINANSI);
    return text;
}

// hsz1 is the topic, hsz2 the service.
HDDEDATA DdeServer::Handle(UINT type, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data) {
    switch (type) {
    case XTYP_CONNECT:
        if (IsName(hsz1) && IsName(hsz2))
            return reinterpret_cast<HDDEDATA>(TRUE);
        listener_->ConnectRefused(Text(hsz2), Text(hsz1));
        return nullptr;
    case XTYP_WILDCONNECT: {
        if ((hsz1 != nullptr && !IsName(hsz1)) || (hsz2 != nullptr && !IsName(hsz2)))
            return nullptr;
        HSZPAIR pairs[2] = {{name_, name_}, {nullptr, nullptr}};
        return DdeCreateDataHandle(inst_, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0, nullptr,
                                   0, 0);
    }
    case XTYP_CONNECT_CONFIRM:
        conversations_[conv] = nextConversation_++;
        listener_->Connected(conversations_[conv], Text(hsz2), Text(hsz1));
        return nullptr;
    case XTYP_DISCONNECT:
        listener_->Disconnected(conversations_[conv]);
        conversations_.erase(conv);
        return nullptr;
    case XTYP_EXECUTE: {
        std::string bytes(DdeGetData(data, nullptr, 0, 0), '\0');
        if (!bytes.empty())
            DdeGetData(data, reinterpret_cast<LPBYTE>(&bytes[0]), bytes.size(), 0);
        ProgmanAnswers::Reply reply = answers_.For(bytes);
        listener_->Executed(conversations_[conv], bytes, reply);
        if (reply == ProgmanAnswers::block)
            return CBR_BLOCK;
        return reinterpret_cast<HDDEDATA>(
            static_cast<ULONG_PTR>(reply == ProgmanAnswers::ack ? DDE_FACK : DDE_FNOTPROCESSED));
    }
    default:
        return nullptr;
    }
}

} // namespace support
