// Records every call that this test program's own code makes to the DDE management library, with
// its arguments and result, by redirecting the program's import table entries while a DdeSpy
// lives. Calls go on to the real library unless a test replaces one with a scripted answer
// (to make DdeInitializeA fail, or to play a server without any other process).
#pragma once

#include <windows.h>

#include <ddeml.h>

#include <functional>
#include <string>
#include <vector>

struct DdeCall {
    std::string name;            // "DdeConnect", ...
    std::vector<ULONG_PTR> args; // every argument, in order, as a number
    ULONG_PTR result = 0;        // what the caller got back
    DWORD pointee = 0;           // DdeInitializeA: the instance id its pointer held at the call
    std::string bytes;           // string handles: the text; data handles and executes: the
                                 // data bytes, NUL included
};

class DdeSpy {
public:
    // Records only calls made on the thread that makes the spy; a server thread of the test
    // calls the same imports unrecorded.
    DdeSpy();
    ~DdeSpy();
    DdeSpy(const DdeSpy&) = delete;
    DdeSpy& operator=(const DdeSpy&) = delete;

    // False when an import could not be redirected; the tests check it first.
    bool Installed() const { return installed_; }
    // Names of the recorded calls, in order.
    std::vector<std::string> Names() const;
    // The recorded calls of one name, in order.
    std::vector<DdeCall> CallsTo(const std::string& name) const;

    std::vector<DdeCall> calls;

    // Scripted answers; each, when set, replaces the real call.
    std::function<UINT(LPDWORD pidInst)> initialize;
    std::function<HCONV(HSZ hszService, HSZ hszTopic, PCONVCONTEXT pContext)> connect;
    // Given the data bytes of an execute; the handle is freed for the caller, as the library
    // would.
    std::function<HDDEDATA(HCONV hConv, const std::string& bytes)> execute;
    std::function<BOOL(HCONV hConv)> disconnect;

private:
    bool installed_ = false;
    std::vector<std::pair<void**, void*>> saved_;
};

// The bytes of a data handle, read without changing it; empty for a null handle.
std::string DataBytes(HDDEDATA hData);
