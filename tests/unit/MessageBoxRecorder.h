#pragma once

#include "ImportPatch.h"

#include <string>
#include <vector>

// While alive, every message box of this program is recorded here instead of being shown: the
// program's call of USER32!MessageBoxA goes to the recorder, which answers IDOK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();

    struct Box {
        std::string text;
        std::string caption;
        // What the box shows: its buttons and icon (MB_TYPEMASK | MB_ICONMASK); MB_OK is 0.
        unsigned type;
        // MB_APPLMODAL, MB_SYSTEMMODAL or MB_TASKMODAL.
        unsigned modality;
    };
    static std::vector<Box> boxes;
    // The texts of the boxes, in order.
    static std::vector<std::string> Texts();

private:
    ImportPatch patch_;
};
