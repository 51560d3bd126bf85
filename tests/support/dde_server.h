// A DDE server on the calling thread, as Program Manager is one: it registers a name as its
// service, accepts the conversations whose service and topic are both that name, and answers
// executes as its ProgmanAnswers say. Its owner hears of every event, on the same thread, while
// the thread dispatches messages. One server per process: the DDE callback has no context.
#pragma once

#include "progman_answers.h"

#include <windows.h>

#include <ddeml.h>

#include <map>
#include <string>

namespace support {

class DdeServer {
public:
    struct Listener {
        virtual ~Listener() = default;
        virtual void Connected(int /*conversation*/, const std::string& /*service*/,
                               const std::string& /*topic*/) {}
        virtual void ConnectRefused(const std::string& /*service*/, const std::string& /*topic*/) {}
        // `bytes`: the data as received, its final NUL included.
        virtual void Executed(int /*conversation*/, const std::string& /*bytes*/,
                              ProgmanAnswers::Reply /*reply*/) {}
        virtual void Disconnected(int /*conversation*/) {}
    };

    DdeServer(const ProgmanAnswers& answers, Listener* listener);
    ~DdeServer();
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    // Makes the DDE instance and registers `name`; false with the reason in `error`.
    bool Register(const std::string& name, std::string* error);

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR);
    HDDEDATA Handle(UINT type, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data);
    std::string Text(HSZ hsz) const;
    bool IsName(HSZ hsz) const { return hsz != nullptr && DdeCmpStringHandles(hsz, name_) == 0; }

    ProgmanAnswers answers_;
    Listener* listener_;
    DWORD inst_ = 0;
    HSZ name_ = nullptr;
    std::map<HCONV, int> conversations_; // numbered 1, 2, ... in order of connection
    int nextConversation_ = 1;
};

} // namespace support
