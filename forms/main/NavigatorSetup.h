#pragma once
// The look every record navigator of the main window shares: Italian hints, no delete
// confirmation of its own (the datasets ask), silver-to-grey faces.

#include "controls/NavStripKinds.h"

class TDBNavStrip;
class TDataSource;

void configureNavigator(TDBNavStrip &navigator, TDataSource &source, TNavGlyphSize glyphSize);
