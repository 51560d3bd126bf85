#include "Progress.h"

#include <limits.h>

// A value rounded to a double. The 32-bit build computes on the x87 unit, which keeps results in
// a wider format until they are stored: without this, 995 of 1000 bytes (a fraction times 100 that
// is 99.5 as a double) would label the bar 99 there and 100 everywhere else.
static double AsDouble(double dValue) {
    volatile double dStored = dValue;
    return dStored;
}

// Adds one half and truncates toward zero, each step in double precision: the rounding of the
// bar's width and of its label. Saturates instead of overflowing for a fraction far past 1.0 (a
// file that grew by far more than its measured size), where the conversion to int would otherwise
// be undefined.
static int RoundHalfUp(double dValue) {
    double dRounded = AsDouble(AsDouble(dValue) + 0.5);
    if (dRounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (dRounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(dRounded);
}

double ProgressAfter(double dCurrent, DWORD dwDone, DWORD dwTotal) {
    if (dwDone == dwTotal)
        return 1.0;
    LONG lTotal = static_cast<LONG>(dwTotal);
    if (lTotal <= 0)
        return dCurrent;
    return static_cast<double>(static_cast<LONG>(dwDone)) / static_cast<double>(lTotal);
}

int ProgressFilledWidth(double dProgress, int nWidth) {
    return RoundHalfUp(dProgress * nWidth);
}

int ProgressPercent(double dProgress) {
    return RoundHalfUp(dProgress * 100);
}

CString ProgressLabel(double dProgress) {
    CString strLabel;
    strLabel.Format(" %d%% ", ProgressPercent(dProgress));
    return strLabel;
}

POINT ProgressLabelOrigin(int nWidth, int nHeight, SIZE sizeLabel) {
    POINT pt;
    pt.x = (nWidth - sizeLabel.cx) / 2;
    pt.y = (nHeight - sizeLabel.cy) / 2;
    return pt;
}

// The part of the bar that shows red: a red part past the right edge looks like a full bar.
static int VisibleFill(double dProgress, int nWidth) {
    int nFill = ProgressFilledWidth(dProgress, nWidth);
    if (nFill > nWidth)
        return nWidth;
    return nFill < 0 ? 0 : nFill;
}

BOOL ProgressChangesBar(double dOld, double dNew, int nWidth) {
    return VisibleFill(dOld, nWidth) != VisibleFill(dNew, nWidth) ||
           ProgressPercent(dOld) != ProgressPercent(dNew);
}
