#pragma once

#include <string>
#include <vector>

// While alive, every AfxMessageBox is recorded here instead of being shown.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();

    struct Box {
        std::string text;
        unsigned type;
        unsigned helpId;
    };
    static std::vector<Box> boxes;
};
