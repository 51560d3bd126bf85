// The program's own run-time layer, beneath the framework: heap, formatting and the few string
// routines it needs, on KERNEL32 and USER32 alone. SETUP.EXE links no C run-time library, so
// that the loader finds every library it imports on the barest system.
#pragma once

#include <windows.h>

#include <stdarg.h>

// The process heap. Each returns NULL on failure; the callers decide what a failure means.
void* RtAlloc(size_t nSize);
void* RtReAlloc(void* p, size_t nSize);
void RtFree(void* p);

// Formats into pszBuffer (cchBuffer bytes, at least 1): %s (NULL as "(null)"), %d, %c and %%,
// without flags, width or precision; any other character after a % is copied as it stands.
// Writes at most cchBuffer - 1 characters and a NUL; returns the length of the whole text, so
// a result of cchBuffer or more means that the buffer was too small. -1 when the text would be
// INT_MAX characters or longer.
int RtFormatV(LPSTR pszBuffer, int cchBuffer, LPCSTR pszFormat, va_list args);

// The bytes of the character at psz: 2 for a lead byte of the ANSI code page's double-byte
// characters (code pages 932, 936, 949 and 950 have them) followed by its trail byte, else 1.
int RtCharSize(LPCSTR psz);

// Byte-wise, as the C library's routines of the same names without the "Rt".
LPSTR RtStrChr(LPCSTR psz, char ch);
LPSTR RtStrPBrk(LPCSTR psz, LPCSTR pszSet);
int RtStrCmp(LPCSTR psz1, LPCSTR psz2);
// The last ch (not NUL) in psz, or NULL, stepping over a double-byte character of the ANSI code
// page whole: its trail byte may be the byte of '\' (ソ is 83 5C in code page 932), which then
// splits no path.
LPSTR RtStrRChr(LPCSTR psz, char ch);
// Compares character by character in the system's ANSI code page: a lead byte and the byte after
// it are one character (a lead byte before the NUL ends the string); <0, 0, >0. Byte-exact: no
// letter case or locale order.
int RtMbsCmp(LPCSTR psz1, LPCSTR psz2);
