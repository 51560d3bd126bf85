#include "rtlib.h"

#include <limits.h>

void* RtAlloc(size_t nSize) {
    return ::HeapAlloc(::GetProcessHeap(), 0, nSize ? nSize : 1);
}

void* RtReAlloc(void* p, size_t nSize) {
    if (p == NULL)
        return RtAlloc(nSize);
    return ::HeapReAlloc(::GetProcessHeap(), 0, p, nSize ? nSize : 1);
}

void RtFree(void* p) {
    if (p != NULL)
        ::HeapFree(::GetProcessHeap(), 0, p);
}

namespace {

// Collects the formatted text: writes what fits, counts all of it.
struct FormatSink {
    LPSTR pszBuffer;
    int cchBuffer;
    int nLength;
    bool bTooLong;

    void Put(char ch) {
        if (nLength == INT_MAX - 1) {
            bTooLong = true;
            return;
        }
        if (nLength < cchBuffer - 1)
            pszBuffer[nLength] = ch;
        nLength++;
    }
    void Put(LPCSTR psz) {
        while (*psz != 0 && !bTooLong)
            Put(*psz++);
    }
};

} // namespace

int RtFormatV(LPSTR pszBuffer, int cchBuffer, LPCSTR pszFormat, va_list args) {
    FormatSink sink = {pszBuffer, cchBuffer, 0, false};
    for (LPCSTR p = pszFormat; *p != 0 && !sink.bTooLong; p++) {
        if (*p != '%') {
            sink.Put(*p);
            continue;
        }
        switch (*++p) {
        case 's': {
            LPCSTR psz = va_arg(args, LPCSTR);
            sink.Put(psz != NULL ? psz : "(null)");
            break;
        }
        case 'd': {
            int n = va_arg(args, int);
            // Digits from the last; unsigned, so that INT_MIN has its magnitude too.
            char szDigits[12];
            int i = sizeof szDigits;
            szDigits[--i] = 0;
            unsigned int u = n < 0 ? 0u - static_cast<unsigned int>(n) : n;
            do {
                szDigits[--i] = static_cast<char>('0' + u % 10);
                u /= 10;
            } while (u != 0);
            if (n < 0)
                szDigits[--i] = '-';
            sink.Put(szDigits + i);
            break;
        }
        case 'c':
            sink.Put(static_cast<char>(va_arg(args, int)));
            break;
        case 0:
            // A lone % at the end: kept, and the walk ends at the NUL.
            sink.Put('%');
            p--;
            break;
        default:
            if (*p != '%')
                sink.Put('%');
            sink.Put(*p);
            break;
        }
    }
    if (sink.bTooLong)
        return -1;
    if (cchBuffer > 0)
        pszBuffer[sink.nLength < cchBuffer ? sink.nLength : cchBuffer - 1] = 0;
    return sink.nLength;
}

int RtCharSize(LPCSTR psz) {
    return ::IsDBCSLeadByte(static_cast<BYTE>(*psz)) && psz[1] != 0 ? 2 : 1;
}

LPSTR RtStrChr(LPCSTR psz, char ch) {
    for (;; psz++) {
        if (*psz == ch)
            return const_cast<LPSTR>(psz);
        if (*psz == 0)
            return NULL;
    }
}

LPSTR RtStrRChr(LPCSTR psz, char ch) {
    LPCSTR pszFound = NULL;
    for (; *psz != 0; psz += RtCharSize(psz))
        if (*psz == ch)
            pszFound = psz;
    return const_cast<LPSTR>(pszFound);
}

LPSTR RtStrPBrk(LPCSTR psz, LPCSTR pszSet) {
    for (; *psz != 0; psz++)
        if (RtStrChr(pszSet, *psz) != NULL)
            return const_cast<LPSTR>(psz);
    return NULL;
}

int RtStrCmp(LPCSTR psz1, LPCSTR psz2) {
    const unsigned char* p1 = reinterpret_cast<const unsigned char*>(psz1);
    const unsigned char* p2 = reinterpret_cast<const unsigned char*>(psz2);
    while (*p1 != 0 && *p1 == *p2) {
        p1++;
        p2++;
    }
    return *p1 < *p2 ? -1 : *p1 > *p2 ? 1 : 0;
}

// The next character of a multibyte string, and the position after it; a lead byte before the
// NUL ends the string.
static unsigned int NextMbc(LPCSTR& psz) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(psz);
    const int nSize = RtCharSize(psz);
    psz += nSize;
    if (nSize == 2)
        return (p[0] << 8) | p[1];
    return ::IsDBCSLeadByte(p[0]) ? 0 : p[0];
}

int RtMbsCmp(LPCSTR psz1, LPCSTR psz2) {
    for (;;) {
        unsigned int ch1 = NextMbc(psz1);
        unsigned int ch2 = NextMbc(psz2);
        if (ch1 != ch2)
            return ch1 < ch2 ? -1 : 1;
        if (ch1 == 0)
            return 0;
    }
}
