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
        : m_slot(ImportSlot(dll, function)) {
        if (m_slot != nullptr) {
            m_original = *m_slot;
            m_installed = Patch(m_slot, replacement);
        }
    }
    ~ImportPatch() {
        if (m_installed)
            Patch(m_slot, m_original);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the program does not import the function, or the slot could not be written.
    bool Installed() const { return m_installed; }

private:
    void** m_slot;
    void* m_original = nullptr;
    bool m_installed = false;
};
