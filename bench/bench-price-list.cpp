// The price list on the large generated database: lay ADOQuery11's rows out into pages and write
// them as PDF, as a run to a file does. The floor, measured in the same run, is a plain QPdfWriter
// loop drawing the same rows as text lines at the same places, with no engine in between.
//   bench-price-list [--keep FILE]    (FILE: keep the engine's PDF for looking at)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

#include "Exception.h"
#include "TADOQuery.h"
#include "TPaginator.h"
#include "TReportFonts.h"
#include "TReportOutputs.h"
#include "TReportProject.h"
#include "TRvDataSetConnection.h"
#include "Unit3.h"

namespace {

const double kMmPerPoint = 25.4 / 72.0;

TReportDefinition PriceList() {
    QFile f(QStringLiteral(ZIRT_SHARE_DIR "/Project1.rav"));
    f.open(QIODevice::ReadOnly);
    const TReportProject p = TReportProject::Parse(f.readAll(), f.fileName());
    return p.Reports().at(p.ActiveReportIndex());
}

// The same rows drawn straight with QPainter: fixed column places, one baseline per row, a new
// page whenever the engine's page would be full.
int Floor(const TReportDefinition& r, TADOQuery* q, const QString& file, int rowsFirst, int rowsLater,
          double firstTop, double laterTop) {
    QPdfWriter writer(file);
    writer.setResolution(300);
    writer.setPageLayout(
        QPageLayout(QPageSize(r.PageSize), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    QPainter painter(&writer);
    const double s = writer.logicalDpiX() / 25.4;
    const TReportFonts fonts(r.FontSize);
    painter.setFont(fonts.Font(TPreparedFont::Body));
    const QFontMetricsF metrics(painter.font(), &writer);
    const double rowHeight = r.FontSize * 1.5 * kMmPerPoint;
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    int page = 0;
    int onPage = 0;
    double y = firstTop;
    const int n = q->RecordCount();
    for (int row = 0; row < n; ++row) {
        if (onPage == (page == 0 ? rowsFirst : rowsLater)) {
            writer.newPage();
            ++page;
            onPage = 0;
            y = laterTop;
        }
        double x = r.MarginLeft;
        for (int c = 0; c < r.Columns.size(); ++c) {
            const TReportColumnLayout& col = r.Columns.at(c);
            const QVariant v = q->ValueAt(row, c);
            const QString text =
                col.Decimals >= 0 ? russian.toString(v.toDouble(), 'f', col.Decimals) : v.toString();
            const double left = col.Align == TReportAlign::Right
                                    ? (x + col.Width - 1) * s - metrics.horizontalAdvance(text)
                                    : (x + 1) * s;
            painter.drawText(QPointF(left, (y + rowHeight * 0.7) * s), text);
            x += col.Width;
        }
        y += rowHeight;
        ++onPage;
    }
    painter.end();
    return page + 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString keep;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--keep")
            keep = QString::fromLocal8Bit(argv[i + 1]);
    try {
        DataModule3 = new TDataModule3(nullptr);
        TADOQuery* q = DataModule3->ADOQuery11;
        if (!q->Active()) {
            std::fprintf(stderr, "bench-price-list: ADOQuery11 is not open\n");
            return 2;
        }
        const TReportDefinition report = PriceList();
        QTemporaryDir dir;
        const QString enginePdf = keep.isEmpty() ? dir.filePath(QStringLiteral("engine.pdf")) : keep;
        const QString floorPdf = dir.filePath(QStringLiteral("floor.pdf"));

        // Engine and floor take turns and each keeps its best round: the machine is shared, and the
        // best round is the one least disturbed by others.
        const int rounds = qMax(1, qEnvironmentVariableIntValue("ZIRT_BENCH_ROUNDS") ?: 3);
        double engine = 1e9, floor = 1e9, paginate = 1e9;
        int pages = 0, floorPages = 0;
        for (int round = 0; round < rounds; ++round) {
            QElapsedTimer clock;
            clock.start();
            TPaginator paginator(report, QDate::currentDate());
            const TPreparedReport prepared = paginator.Run(DataModule3->RvDataSetConnection1);
            paginate = qMin(paginate, clock.elapsed() / 1000.0);
            WriteReportPdf(prepared, enginePdf);
            engine = qMin(engine, clock.elapsed() / 1000.0);
            pages = prepared.Pages.size();

            clock.restart();
            floorPages = Floor(report, q, floorPdf, paginator.RowsPerPage(true), paginator.RowsPerPage(false),
                               paginator.BodyTop(true) + paginator.RowHeight() + 1,
                               paginator.BodyTop(false) + paginator.RowHeight() + 1);
            floor = qMin(floor, clock.elapsed() / 1000.0);
        }

        std::printf(
            "# price-list rows: %d, pages: %d (floor pages %d), best of %d: paginate %.3f s, pdf %.1f MB\n",
            q->RecordCount(), pages, floorPages, rounds, paginate, QFileInfo(enginePdf).size() / 1048576.0);
        std::printf("price-list-pdf: %.3f s (floor %.3f s, ratio %.2f)\n", engine, floor, engine / floor);
        std::printf("price-list-pdf-pages: %.1f pages/s (floor %.1f pages/s, ratio %.2f)\n", pages / engine,
                    floorPages / floor, (floorPages / floor) / (pages / engine));
        delete DataModule3;
        DataModule3 = nullptr;
    } catch (const Exception& e) {
        std::fprintf(stderr, "bench-price-list: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
