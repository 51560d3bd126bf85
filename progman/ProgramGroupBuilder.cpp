#include "ProgramGroupBuilder.h"

#include "ProgmanCommands.h"

// Program Manager answers as service and topic PROGMAN.
static const char kProgmanService[] = "PROGMAN";
static const char kProgmanTopic[] = "PROGMAN";

// Every Connect passes this record: its size and nothing else, so the library's defaults hold
// (code page, country, language, security and quality of service all 0).
static CONVCONTEXT s_convContext = {sizeof(CONVCONTEXT), 0, 0, 0, 0, 0, {}};
static_assert(sizeof(CONVCONTEXT) == 36, "CONVCONTEXT is 36 bytes on 32-bit Windows");

BOOL CProgramGroupBuilder::Connect() {
    const BOOL bOk = m_conversation.Connect(kProgmanService, kProgmanTopic, &s_convContext);
    if (m_pLog != NULL)
        m_pLog->Write(bOk ? "Program Manager: connected" : "Program Manager could not be reached");
    return bOk;
}

// A group left by an earlier run is deleted first, so it is made again empty. Program Manager
// refuses to delete a group that does not exist; that is no failure.
BOOL CProgramGroupBuilder::CreateGroup(LPCSTR pszGroupName) {
    SendCommand(FormatDeleteGroup(pszGroupName));
    if (!SendCommand(FormatCreateGroup(pszGroupName)))
        return FALSE;
    return SendCommand(FormatShowGroup(pszGroupName));
}

BOOL CProgramGroupBuilder::AddItem(LPCSTR pszCommandLine, LPCSTR pszItemName, LPCSTR pszIconPath,
                                   LPCSTR pszDefaultDirectory) {
    return SendCommand(
        FormatAddItem(pszCommandLine, pszItemName, pszIconPath, pszDefaultDirectory));
}

void CProgramGroupBuilder::Disconnect() {
    m_conversation.Disconnect();
}

// One synchronous execute. The data handle goes to the library with the transaction; the result
// word is not needed: a non-zero return already means Program Manager processed the command.
BOOL CProgramGroupBuilder::SendCommand(LPCSTR pszCommand) {
    CDdeDataHandle data(m_instance, pszCommand);
    DWORD dwResult = 0;
    const BOOL bOk = m_conversation.Execute(data, &dwResult) != NULL;
    if (m_pLog != NULL)
        m_pLog->WriteFormat("Program Manager %s: %s", bOk ? "accepted" : "did not accept",
                            pszCommand);
    return bOk;
}
