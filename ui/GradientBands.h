#pragma once

#include <windows.h>

#include <vector>

// One horizontal band of the backdrop's gradient: rows nTop up to, not including, nBottom.
struct GradientBand {
    int nTop;
    int nBottom;
    COLORREF crColor;
};

// Shade (blue level) of pixel row nRow in a client area nHeight rows high: 236 at the top,
// falling toward 17 at the bottom. Also defined for rows at or below nHeight. nHeight > 0.
int GradientShade(int nRow, int nHeight);

// The bands that paint a client area nHeight rows high, top to bottom. Each band runs from the
// first row of its shade down to and including the first row of the next shade, which the
// following band then skips; so the last band may reach one row past the client area. Empty for
// nHeight <= 0.
std::vector<GradientBand> GradientBands(int nHeight);
