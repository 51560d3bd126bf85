#include "progman_answers.h"

#include "message_pump.h"

#include <windows.h>

#include <ddeml.h>

namespace support {

namespace {

bool ContainsAny(const std::string& text, const std::vector<std::string>& parts) {
    for (const std::string& part : parts)
        if (!part.empty() && text.find(part) != std::string::npos)
            return true;
    return false;
}

HDDEDATA CALLBACK ProbeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

DWORD WINAPI ProbeProgman(LPVOID) {
    DWORD inst = 0;
    if (DdeInitializeA(&inst, ProbeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return FALSE;
    HSZ progman = DdeCreateStringHandleA(inst, "PROGMAN", CP_WINANSI);
    HCONV conv = DdeConnect(inst, progman, progman, nullptr);
    if (conv != nullptr)
        DdeDisconnect(conv);
    DdeFreeStringHandle(inst, progman);
    DdeUninitialize(inst);
    return conv != nullptr;
}

} // namespace

ProgmanAnswers::Reply ProgmanAnswers::For(const std::string& text) const {
    if (ContainsAny(text, blocked))
        return block;
    return ContainsAny(text, refused) ? refuse : ack;
}

const char* ProgmanAnswers::Name(Reply reply) {
    return reply == block ? "block" : reply == refuse ? "refuse" : "ack";
}

bool ProgmanAnswers::TakeOption(const std::string& name, const std::string& value) {
    if (name != "--refuse" && name != "--block")
        return false;
    (name == "--refuse" ? refused : blocked).push_back(value);
    return true;
}

bool ProgmanIsServed() {
    HANDLE thread = CreateThread(nullptr, 0, ProbeProgman, nullptr, 0, nullptr);
    if (thread == nullptr)
        return false;
    // The probe's connect is a broadcast sent to every top-level window, this thread's too: the
    // wait dispatches what is sent meanwhile.
    const DWORD start = GetTickCount();
    DWORD waited = WAIT_TIMEOUT;
    while (waited != WAIT_OBJECT_0 && GetTickCount() - start < 30000) {
        waited = MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_ALLINPUT);
        PumpMessages();
    }
    DWORD answered = FALSE;
    if (waited != WAIT_OBJECT_0 || !GetExitCodeThread(thread, &answered))
        answered = FALSE;
    CloseHandle(thread);
    return answered == TRUE;
}

} // namespace support
