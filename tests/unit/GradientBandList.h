#pragma once

#include "ui/GradientBands.h"

#include <vector>

// Every band of a client area, top to bottom, as the backdrop takes them one by one; empty for
// nHeight <= 0.
inline std::vector<GradientBand> GradientBands(int nHeight) {
    std::vector<GradientBand> bands;
    GradientBand band;
    for (int nTop = 0; NextGradientBand(nHeight, nTop, &band); nTop = band.nBottom)
        bands.push_back(band);
    return bands;
}
