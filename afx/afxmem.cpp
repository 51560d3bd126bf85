// The program's heap allocation. The program throws and catches nothing, so the standard
// library's throwing operator new (and the exception machinery it brings) is replaced by the C
// heap: an allocation that fails ends the program as a string's does (AfxOutOfMemory).
#include "afxstr.h"

#include <new>
#include <stdlib.h>

static void* AfxAllocate(size_t nSize) {
    void* p = malloc(nSize ? nSize : 1);
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
    free(p);
}
void operator delete[](void* p) noexcept {
    free(p);
}
void operator delete(void* p, size_t) noexcept {
    free(p);
}
void operator delete[](void* p, size_t) noexcept {
    free(p);
}
