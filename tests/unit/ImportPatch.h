// Redirects this test program's own calls to a system function by rewriting its import table
// entry, so that a test can make a call fail or answer as the system rarely would.
#pragma once

#include <windows.h>

// The import table slot through which this program calls dll!function, or null.
void** ImportSlot(const char* dll, const char* function);
// Writes value into the slot; false when the page could not be made writable.
bool Patch(void** slot, void* value);

// While alive, this program's calls to dll!function go to `replacement`.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement)
        : slot_(ImportSlot(dll, function)) {
        if (slot_ != nullptr) {
            original_ = *slot_;
            installed_ = Patch(slot_, replacement);
        }
    }
    ~ImportPatch() {
        if (installed_)
            Patch(slot_, original_);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the program does not import the function, or the slot could not be written.
    bool Installed() const { return installed_; }

private:
    void** slot_;
    void* original_ = nullptr;
    bool installed_ = false;
};
