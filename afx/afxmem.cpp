// The program's heap allocation. The program throws and catches nothing, so the standard
// library's throwing operator new (and the exception machinery it brings) is replaced by the
// process heap: an allocation that fails ends the program as a string's does (AfxOutOfMemory).
#include "afxstr.h"
#include "rtlib.h"

#include <new>

static void* AfxAllocate(size_t nSize) {
    void* p = RtAlloc(nSize);
    if (p == NULL)
        AfxOutOfMemory();
    return p;
}

void* operator new(size_t nSize) {
    return AfxAllocate(nSize);
}
void* operator new[](size_t nSize) {
    return AfxAllocate(nSize);
}
void operator delete(void* p) noexcept {
    RtFree(p);
}
void operator delete[](void* p) noexcept {
    RtFree(p);
}
void operator delete(void* p, size_t) noexcept {
    RtFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    RtFree(p);
}
