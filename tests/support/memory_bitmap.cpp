#include "memory_bitmap.h"

namespace support {

MemoryBitmap::MemoryBitmap(int cx, int cy) : cx_(cx), cy_(cy), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    if (bitmap_ != nullptr)
        old_ = SelectObject(dc_, bitmap_);
}

MemoryBitmap::~MemoryBitmap() {
    if (old_ != nullptr)
        SelectObject(dc_, old_);
    if (bitmap_ != nullptr)
        DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF MemoryBitmap::At(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= cx_ || y >= cy_)
        return CLR_INVALID;
    GdiFlush(); // drawing may still be queued
    DWORD v = bits_[static_cast<size_t>(y) * cx_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void MemoryBitmap::Fill(COLORREF colour) {
    RECT all = {0, 0, cx_, cy_};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

bool MemoryBitmap::Grab(int x, int y) {
    HDC screen = GetDC(nullptr);
    bool done = BitBlt(dc_, 0, 0, cx_, cy_, screen, x, y, SRCCOPY) != FALSE;
    GdiFlush();
    ReleaseDC(nullptr, screen);
    return done;
}

} // namespace support
