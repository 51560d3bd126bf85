#include "MessageBoxRecorder.h"

#include "afxwin.h"

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::boxes;

static int RecordBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
    MessageBoxRecorder::boxes.push_back({lpszText, nType, nIDHelp});
    return IDOK;
}

MessageBoxRecorder::MessageBoxRecorder() {
    boxes.clear();
    AfxSetMessageBoxHook(RecordBox);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    AfxSetMessageBoxHook(NULL);
}
