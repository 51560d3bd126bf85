// Reading the screen: single pixels and whole-screen .bmp files.
#include "robot.h"

#include "memory_bitmap.h"
#include "whole_file.h"

#include <cstring>

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
    // A screen has no alpha channel, and its picture gets none: 24-bit rows, top-down, each padded
    // to whole DWORDs. Image tools take the fourth byte of a 32-bit .bmp for alpha, which the
    // screen copy leaves as it pleases.
    const size_t stride = (static_cast<size_t>(screen.cx()) * 3 + 3) & ~size_t{3};
    std::vector<BYTE> rows(stride * screen.cy());
    for (int y = 0; y < screen.cy(); y++)
        for (int x = 0; x < screen.cx(); x++) {
            const DWORD pixel = screen.bits()[static_cast<size_t>(y) * screen.cx() + x];
            BYTE* bgr = &rows[y * stride + x * 3];
            bgr[0] = static_cast<BYTE>(pixel);
            bgr[1] = static_cast<BYTE>(pixel >> 8);
            bgr[2] = static_cast<BYTE>(pixel >> 16);
        }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = screen.cx();
    info.biHeight = -screen.cy();
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rows.size());
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
              WriteFile(file, rows.data(), info.biSizeImage, &written[2], nullptr) &&
              written[0] == sizeof header && written[1] == sizeof info &&
              written[2] == info.biSizeImage;
    if (!ok)
        *error = "writing " + path + " failed: " + LastErrorText();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

bool ReadScreenshot(const std::string& path, Picture* picture, std::string* error) {
    const std::string data = support::ReadWholeFile(path);
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER info;
    if (data.size() < sizeof header + sizeof info) {
        *error = path + " holds " + std::to_string(data.size()) + " bytes, no .bmp headers";
        return false;
    }
    memcpy(&header, data.data(), sizeof header);
    memcpy(&info, data.data() + sizeof header, sizeof info);
    const int bytesPerPixel = info.biBitCount / 8;
    if (header.bfType != 0x4D42 || info.biCompression != BI_RGB ||
        (info.biBitCount != 24 && info.biBitCount != 32) || info.biWidth <= 0) {
        *error = path + " is no uncompressed 24- or 32-bit .bmp file";
        return false;
    }
    picture->cx = info.biWidth;
    picture->cy = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    picture->bitsPerPixel = info.biBitCount;
    const size_t stride = (static_cast<size_t>(picture->cx) * bytesPerPixel + 3) & ~size_t{3};
    if (header.bfOffBits + stride * picture->cy > data.size()) {
        *error = path + " ends before its last row";
        return false;
    }
    picture->pixels.clear();
    for (int y = 0; y < picture->cy; y++) {
        const char* row = data.data() + header.bfOffBits + y * stride;
        for (int x = 0; x < picture->cx; x++) {
            const auto* bgr = reinterpret_cast<const BYTE*>(row + x * bytesPerPixel);
            picture->pixels.push_back(RGB(bgr[2], bgr[1], bgr[0]));
        }
    }
    return true;
}

} // namespace robot
