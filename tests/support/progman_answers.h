// How a Program Manager played by a test answers: the fake Program Manager of the end-to-end
// tests (its --refuse and --block options) and the DDE servers of the unit tests use the same
// rules.
#pragma once

#include <string>
#include <vector>

namespace support {

struct ProgmanAnswers {
    enum Reply { ack, refuse, block };

    // An execute whose text contains one of `block` is never answered (the client's transaction
    // times out); else one that contains one of `refuse` is refused (DDE_FNOTPROCESSED); every
    // other is acknowledged. Matched case-sensitively; an empty text matches nothing.
    std::vector<std::string> refused;
    std::vector<std::string> blocked;

    Reply For(const std::string& text) const;
    // The reply as the fake's log names it: "ack", "refuse" or "block".
    static const char* Name(Reply reply);
    // Takes one option of the fake's command line; false when `name` is no answer option.
    bool TakeOption(const std::string& name, const std::string& value);
};

// Whether a client connect to service and topic PROGMAN succeeds now. The probe runs on a thread
// of its own: Wine (8.0) leaves the client window of a failed DdeConnect behind, and a window
// of a thread that pumps no messages blocks every later DdeConnect in the prefix at its
// WM_DDE_INITIATE broadcast; the thread's windows end with it. The calling thread's messages
// are dispatched while it waits.
bool ProgmanIsServed();

} // namespace support
