#include "MessageBoxRecorder.h"

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::boxes;

static int WINAPI RecordBox(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    MessageBoxRecorder::boxes.push_back({lpText ? lpText : "", lpCaption ? lpCaption : "",
                                         uType & (MB_TYPEMASK | MB_ICONMASK), uType & MB_MODEMASK});
    return IDOK;
}

MessageBoxRecorder::MessageBoxRecorder()
    : patch_("user32.dll", "MessageBoxA", reinterpret_cast<void*>(RecordBox)) {
    boxes.clear();
}

std::vector<std::string> MessageBoxRecorder::Texts() {
    std::vector<std::string> texts;
    for (const Box& box : boxes)
        texts.push_back(box.text);
    return texts;
}
