// A 32-bit picture in memory with a device context to draw into it: for a window's paint handler
// in place of its own device context, for a copy of the screen, and for an expected picture.
#pragma once

#include <windows.h>

namespace support {

class MemoryBitmap {
public:
    // Rows top-down; every pixel starts black.
    MemoryBitmap(int cx, int cy);
    ~MemoryBitmap();
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

    bool ok() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    int cx() const { return cx_; }
    int cy() const { return cy_; }
    COLORREF At(int x, int y) const;
    void Fill(COLORREF colour);
    // Copies the screen rectangle whose top-left corner is (x, y).
    bool Grab(int x, int y);
    // The pixels, rows top-down, each 0x00RRGGBB; drawing must be flushed (GdiFlush) first.
    const DWORD* bits() const { return bits_; }

private:
    int cx_, cy_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

} // namespace support
