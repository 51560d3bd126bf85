// The fake Program Manager (tests/fakeprogman) as an end-to-end test drives it: started in the
// test's prefix with its options, its event log read back and parsed, and stopped again.
//
// The log lines that matter here (the fake's own source has the full format):
//   connect 1 PROGMAN PROGMAN
//   execute 1 ack 19 nul [DeleteGroup(ZEL)]
//   execute 1 refuse 19 nul [CreateGroup(ZEL)]
//   disconnect 1
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "default_group.h"
#include "progman_answers.h"

#include <string>
#include <vector>

struct FakeEvent {
    std::string kind;     // connect, connect-refused, execute or disconnect
    int conversation = 0; // 1, 2, ... in order of connection
    std::string reply;    // execute: ack, refuse or block
    size_t byteCount = 0; // execute: the data's byte count as received
    bool nul = false;     // execute: the last byte was 0
    std::string text;     // execute: the command without its final NUL, unescaped
    std::string line;     // the line as logged
};

class FakeProgman {
public:
    FakeProgman() = default;
    ~FakeProgman();
    FakeProgman(const FakeProgman&) = delete;
    FakeProgman& operator=(const FakeProgman&) = delete;

    // Starts the fake with extra options (e.g. {"--refuse", "[CreateGroup("}) and waits until it
    // serves PROGMAN in place of Wine's explorer.
    ::testing::AssertionResult Start(const std::vector<std::string>& options = {});
    // Asks the fake to end and waits for it; PROGMAN then has no server at all until explorer
    // is started anew.
    ::testing::AssertionResult Stop();

    // The conversation events (connect, connect-refused, execute, disconnect) logged so far.
    std::vector<FakeEvent> Events() const;
    // The whole log, for failure messages.
    std::string Log() const;

private:
    std::string dir_;
    HANDLE process_ = nullptr;
};

// The texts of the executes among `events`.
std::vector<std::string> Commands(const std::vector<FakeEvent>& events);

using support::kDefaultGroupCommands;
