#pragma once

#include "DdeClient.h"
#include "install/InstallLog.h"

// Makes the product's Program Manager group by sending Program Manager (DDE service and topic
// PROGMAN) its commands. The one object lives for the whole run: its instance is made before the
// application object and ended after it.
class CProgramGroupBuilder {
public:
    BOOL Connect();
    // Deletes any group of that name, then creates and shows it; TRUE when created and shown.
    BOOL CreateGroup(LPCSTR pszGroupName);
    // TRUE when Program Manager accepted the item.
    BOOL AddItem(LPCSTR pszCommandLine, LPCSTR pszItemName, LPCSTR pszIconPath,
                 LPCSTR pszDefaultDirectory);
    // Safe when not connected.
    void Disconnect();

    // Where the connection and every command with Program Manager's answer are logged; NULL
    // for none.
    CInstallLog* m_pLog = NULL;

private:
    BOOL SendCommand(LPCSTR pszCommand);

    CDdeInstance m_instance;
    CDdeConversation m_conversation{&m_instance};
};
