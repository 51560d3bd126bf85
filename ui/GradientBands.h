#pragma once

#include <windows.h>

// One horizontal band of the backdrop's gradient: rows nTop up to, not including, nBottom.
struct GradientBand {
    int nTop;
    int nBottom;
    COLORREF crColor;
};

// Shade (blue level) of pixel row nRow in a client area nHeight rows high: 236 at the top,
// falling toward 17 at the bottom. Also defined for rows at or below nHeight. nHeight > 0.
int GradientShade(int nRow, int nHeight);

// The band that starts at row nTop of a client area nHeight rows high: it runs from the first row
// of its shade down to and including the first row of the next shade, which the following band
// (starting at pBand->nBottom) then skips; so the last band may reach one row past the client
// area. FALSE when nTop is at or below the bottom: there are no more bands.
BOOL NextGradientBand(int nHeight, int nTop, GradientBand* pBand);
