#pragma once

#include "widgets/AdvProgressBar.h"

// The level bar of the main window as its layout configures it: 28 x 89, upright, 100 steps,
// thresholds 110 and 120, no text, the window's colours.
inline void configureMainBar(TAdvProgressBar& bar)
{
    bar.resize(28, 89);
    bar.setOrientation(TAdvProgressBar::goVertical);
    bar.setSteps(100);
    bar.setLevel1Perc(110);
    bar.setLevel2Perc(120);
    bar.setShowPercentage(false);
    bar.setLevel1Color(0x0053A9FF);
    bar.setLevel1ColorTo(0x00A8D3FF);
    bar.setLevel2Color(clRed);
    bar.setLevel2ColorTo(0x00CACAFF);
    bar.setLevel3Color(clBlack);
    bar.setLevel3ColorTo(clSilver);
}
