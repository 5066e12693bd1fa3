// The one font of every window and control: "MS Sans Serif" at 8 points (11 pixels at 96 dpi).
// The face is substituted on hosts that lack it (TApplication::Initialize registers a Cyrillic-capable one).
#pragma once

class QFont;

QFont WindowFont();
