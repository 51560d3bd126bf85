// Reading the screen: single pixels and whole-screen .bmp files.
#include "robot.h"

#include "memory_bitmap.h"

namespace robot {

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return CLR_INVALID;
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool SaveScreenshot(const std::string& path, std::string* error) {
    support::MemoryBitmap screen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!screen.ok() || !screen.Grab(0, 0)) {
        *error = "capturing the screen failed: " + LastErrorText();
        return false;
    }
    // A .bmp file holds the same 32-bit top-down rows behind its two headers.
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = screen.cx();
    info.biHeight = -screen.cy();
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(screen.cx()) * screen.cy() * 4;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + info.biSizeImage;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written[3] = {};
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, &header, sizeof header, &written[0], nullptr) &&
              WriteFile(file, &info, sizeof info, &written[1], nullptr) &&
              WriteFile(file, screen.bits(), info.biSizeImage, &written[2], nullptr) &&
              written[0] == sizeof header && written[1] == sizeof info &&
              written[2] == info.biSizeImage;
    if (!ok)
        *error = "writing " + path + " failed: " + LastErrorText();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

} // namespace robot
