// The navigator's pictures: triangles, bars, plus, minus, upward triangle, tick, cross and circling
// arrows, each drawn in an enabled (black) and a disabled (grey with a white relief) state.
#pragma once

class QPixmap;

// Index: the navigator button (TDBNavigator::TNavigateBtn order).
QPixmap NavigatorGlyph(int button, bool enabled);
