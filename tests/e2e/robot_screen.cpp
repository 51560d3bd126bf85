// Reading the screen: single pixels and whole-screen .bmp files.
#include "robot.h"

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
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    // Rows of a 24-bit DIB are padded to a multiple of four bytes.
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageSize = stride * static_cast<DWORD>(height);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as a .bmp file stores its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = imageSize;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (!ok)
        *error = "capturing the screen failed: " + LastErrorText();

    if (ok) {
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42; // "BM"
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + imageSize;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written[3] = {};
        ok = file != INVALID_HANDLE_VALUE &&
             WriteFile(file, &header, sizeof header, &written[0], nullptr) &&
             WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written[1], nullptr) &&
             WriteFile(file, bits, imageSize, &written[2], nullptr) &&
             written[0] == sizeof header && written[1] == sizeof info.bmiHeader &&
             written[2] == imageSize;
        if (!ok)
            *error = "writing " + path + " failed: " + LastErrorText();
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }

    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

} // namespace robot
