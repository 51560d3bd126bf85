#pragma once

#include "afxstr.h"

// The arithmetic of the Installing dialog's percentage bar, kept apart from the window so that
// it can be checked on its own. The bar is a red part from the left, a white rest, and a label
// " <percent>% " centred over both.

// The completed fraction after a report of dwDone out of dwTotal bytes, given the fraction
// dCurrent shown so far. Both counts are read as signed 32-bit values (a copy of 2 GiB or more
// is outside the design). dwDone == dwTotal is complete, 1.0, also for 0 of 0; a total of 0 or
// less otherwise leaves dCurrent. Not clamped: a file that grew after it was measured takes the
// fraction past 1.0.
double ProgressAfter(double dCurrent, DWORD dwDone, DWORD dwTotal);

// Right edge of the red part of a bar nWidth pixels wide, rounded to the nearest pixel. Past 1.0
// it lies beyond the bar.
int ProgressFilledWidth(double dProgress, int nWidth);

// The number in the label, rounded: from 0.995 on it already reads 100.
int ProgressPercent(double dProgress);

// The label as drawn: " %d%% ".
CString ProgressLabel(double dProgress);

// Where the label of size sizeLabel goes so that it sits in the middle of the bar.
POINT ProgressLabelOrigin(int nWidth, int nHeight, SIZE sizeLabel);

// Whether a bar nWidth pixels wide drawn at dNew differs from one drawn at dOld, in its red part
// or in its label. Repainting a picture that does not change costs more than copying the block
// it reports, so the dialog skips those repaints.
BOOL ProgressChangesBar(double dOld, double dNew, int nWidth);
