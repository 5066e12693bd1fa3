// Replays prepared pages onto any paint device: preview, printer and PDF all draw through here,
// so what the preview shows is what is printed.
#pragma once

#include <QVector>

#include "TPreparedReport.h"

class QPainter;
class QPaintDevice;

class TPageRenderer {
public:
    explicit TPageRenderer(const TPreparedReport& report);
    // Draws one page with the paper's top left corner at the painter's origin; device gives the
    // resolution (dots per inch) that millimetres are converted with.
    void DrawPage(QPainter& painter, QPaintDevice* device, int page) const;

private:
    const TPreparedReport& m_report;
};
