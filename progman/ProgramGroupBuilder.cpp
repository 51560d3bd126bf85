#include "ProgramGroupBuilder.h"

BOOL CProgramGroupBuilder::Connect() {
    return m_conversation.Connect("PROGMAN", "PROGMAN", NULL);
}

BOOL CProgramGroupBuilder::CreateGroup(LPCSTR) {
    return FALSE;
}

BOOL CProgramGroupBuilder::AddItem(LPCSTR, LPCSTR, LPCSTR, LPCSTR) {
    return FALSE;
}

void CProgramGroupBuilder::Disconnect() {
    m_conversation.Disconnect();
}

BOOL CProgramGroupBuilder::SendCommand(LPCSTR) {
    return FALSE;
}
