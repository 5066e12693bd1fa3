// Prepared pages: paper size and the text form golden files compare.
#include "TPreparedReport.h"

#include <QTextStream>

QSizeF TPreparedReport::PaperSize() const {
    const QSizeF size = QPageSize::size(PageSize, QPageSize::Millimeter);
    return Landscape ? size.transposed() : size;
}

QString TPreparedReport::Dump() const {
    QString out;
    QTextStream s(&out);
    s.setRealNumberNotation(QTextStream::FixedNotation);
    s.setRealNumberPrecision(1);
    const QSizeF paper = PaperSize();
    s << "report " << Name << " paper " << paper.width() << "x" << paper.height() << " pages " << Pages.size()
      << "\n";
    s << "headings " << Headings.join(QLatin1Char('|')) << "\n";
    for (int p = 0; p < Pages.size(); ++p) {
        s << "page " << (p + 1) << "\n";
        for (const TPreparedItem& item : Pages.at(p).Items) {
            if (item.ItemKind == TPreparedItem::LineItem) {
                s << "  line " << item.Rect.left() << "," << item.Rect.top() << " " << item.Rect.right()
                  << "," << item.Rect.bottom() << "\n";
            } else {
                static const char* fonts[] = {"body", "heading", "title", "small"};
                static const char* aligns[] = {"left", "center", "right"};
                s << "  text " << fonts[int(item.Font)] << " " << aligns[int(item.Align)] << " "
                  << item.Rect.left() << "," << item.Rect.top() << " " << item.Rect.width() << "x"
                  << item.Rect.height() << " \"" << item.Text << "\"\n";
            }
        }
        for (const QStringList& row : Pages.at(p).Rows)
            s << "  row " << row.join(QLatin1Char('|')) << "\n";
    }
    return out;
}
