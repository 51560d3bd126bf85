#include "message_pump.h"

namespace support {

void PumpMessages(PreTranslate preTranslate) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (preTranslate == nullptr || !preTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void PumpMessagesFor(DWORD ms, PreTranslate preTranslate) {
    for (DWORD waited = 0; waited < ms; waited += 10) {
        PumpMessages(preTranslate);
        Sleep(10);
    }
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace support
