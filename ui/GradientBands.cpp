#include "GradientBands.h"

int GradientShade(int nRow, int nHeight) {
    // C++ division truncates toward zero, as the shade rule requires for the negative product.
    return 236 + (-220 * nRow) / nHeight;
}

std::vector<GradientBand> GradientBands(int nHeight) {
    std::vector<GradientBand> bands;
    for (int t = 0; t < nHeight;) {
        int s = GradientShade(t, nHeight);
        int r = t + 1;
        while (GradientShade(r, nHeight) == s)
            r++;
        bands.push_back(GradientBand{t, r + 1, RGB(0, s / 3, s)});
        t = r + 1;
    }
    return bands;
}
