#pragma once

#include <windows.h>

#include <ddeml.h>

// A thin client over the DDE management library: owners of the instance, of string handles and
// of one conversation. The layer only ever acts as a client and reports every failure as a false
// or null result.

// The callback of a client-only instance: it answers nothing.
HDDEDATA CALLBACK DdeCallback(UINT uType, UINT uFmt, HCONV hConv, HSZ hsz1, HSZ hsz2,
                              HDDEDATA hData, ULONG_PTR dwData1, ULONG_PTR dwData2);

// Owns the program's DDE instance: made in the constructor, ended in the destructor.
class CDdeInstance {
public:
    CDdeInstance();
    ~CDdeInstance();
    CDdeInstance(const CDdeInstance&) = delete;
    CDdeInstance& operator=(const CDdeInstance&) = delete;

    DWORD id; // 0 when there is no instance
};

// Owns one string handle for the life of the object.
class CDdeStringHandle {
public:
    CDdeStringHandle(const CDdeInstance& instance, LPCSTR pszText);
    ~CDdeStringHandle();
    CDdeStringHandle(const CDdeStringHandle&) = delete;
    CDdeStringHandle& operator=(const CDdeStringHandle&) = delete;

    DWORD m_idInst;
    HSZ m_hsz; // 0 when creation failed
};

// Makes a data handle from a text and its NUL. It does not own the handle: the execute
// transaction hands it to the DDE library.
class CDdeDataHandle {
public:
    CDdeDataHandle(const CDdeInstance& instance, LPCSTR pszText);
    CDdeDataHandle(const CDdeDataHandle&) = delete;
    CDdeDataHandle& operator=(const CDdeDataHandle&) = delete;

    DWORD m_idInst;
    HDDEDATA m_hData; // 0 when creation failed
};

// One conversation on an instance it does not own. Destroying it does not disconnect.
class CDdeConversation {
public:
    explicit CDdeConversation(CDdeInstance* pInstance);
    CDdeConversation(const CDdeConversation&) = delete;
    CDdeConversation& operator=(const CDdeConversation&) = delete;

    // TRUE when the conversation is open. Call only when not connected.
    BOOL Connect(LPCSTR pszService, LPCSTR pszTopic, CONVCONTEXT* pContext);
    void Disconnect();
    // A synchronous execute with a 10000 ms time-out; not 0 when the server accepted the command.
    HDDEDATA Execute(CDdeDataHandle& data, DWORD* pdwResult);

    CDdeInstance* m_pInstance;
    HCONV m_hConv; // null when not connected
};
