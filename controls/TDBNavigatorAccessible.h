// What a screen reader sees of a navigator: a tool bar whose children are its visible buttons, each
// named by its action, disabled and focused as drawn, and pressable. The buttons are drawn by the
// navigator, not widgets of their own, so they are told to the accessibility layer here.
#pragma once

// Installs the accessibility factory for navigators once; every navigator calls it when made.
void InstallNavigatorAccessibility();
