// What a screen reader sees of a chart: a chart named by its title, with one child per drawn point
// (a bar, a slice) named as the eye reads it. The points are drawn, not widgets of their own, so
// they are told to the accessibility layer here.
#pragma once

// Installs the accessibility factory for charts once; every chart calls it when made.
void InstallChartAccessibility();
