// What a screen reader sees of a window: a frame while it runs beside the others, a dialog while it
// is shown modally, named by its caption. Without this a window is a bare filler to a reader.
#pragma once

// Installs the accessibility factory for windows once; every window calls it when made.
void InstallFormAccessibility();
