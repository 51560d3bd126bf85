#include "GradientBands.h"

int GradientShade(int nRow, int nHeight) {
    // C++ division truncates toward zero, as the shade rule requires for the negative product.
    return 236 + (-220 * nRow) / nHeight;
}

BOOL NextGradientBand(int nHeight, int nTop, GradientBand* pBand) {
    if (nTop >= nHeight)
        return FALSE;
    int s = GradientShade(nTop, nHeight);
    int r = nTop + 1;
    while (GradientShade(r, nHeight) == s)
        r++;
    *pBand = GradientBand{nTop, r + 1, RGB(0, s / 3, s)};
    return TRUE;
}
