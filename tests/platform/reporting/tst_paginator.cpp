// Pagination and the file outputs over an in-memory connection: exact fit, the empty data set,
// page counts, headings on every page, band fields, conditions, golden pages and CSV, PDF text.
#include <QDate>
#include <QObject>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include "EReportError.h"
#include "TPaginator.h"
#include "TReportOutputs.h"
#include "TReportProject.h"
#include "TReportTestFiles.h"
#include "TVectorSource.h"
#include "TTestChecks.h"

namespace {

const QDate kPrintDate(2026, 12, 9);

TReportDefinition PriceList() {
    const TReportProject p = TReportProject::Parse(
        TReportTestFiles::ReadAll(TReportTestFiles::SharedProject()), QStringLiteral("p"));
    return p.Reports().at(p.ActiveReportIndex());
}

int RowsOn(const TPreparedPage& page) {
    return page.Rows.size();
}

int Count(const TPreparedPage& page, const QString& text) {
    int n = 0;
    for (const TPreparedItem& item : page.Items)
        n += item.Text == text;
    return n;
}

}  // namespace

class TstPaginator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageCount_data() {
        QTest::addColumn<int>("extra");  // rows beyond the first page's capacity, in whole later pages
        QTest::addColumn<int>("pages");
        QTest::newRow("first page one short") << -1 << 1;
        QTest::newRow("first page exactly full") << 0 << 1;
        QTest::newRow("one row over") << 1 << 2;
        QTest::newRow("second page exactly full") << 1000 << 2;  // 1000 stands for "one later page"
        QTest::newRow("one over two pages") << 1001 << 3;
        QTest::newRow("ten later pages") << 10000 << 11;
    }
    void pageCount() {
        QFETCH(int, extra);
        QFETCH(int, pages);
        const TReportDefinition report = PriceList();
        TPaginator probe(report, kPrintDate);
        const int first = probe.RowsPerPage(true);
        const int later = probe.RowsPerPage(false);
        QVERIFY(first > 10);
        QVERIFY(later > first);  // the title takes room on the first page only
        const int n = first + (extra / 1000) * later + extra % 1000;
        TVectorSource source(QStringLiteral("RvDataSetConnection1"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(n);
        TPaginator paginator(report, kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QCOMPARE(prepared.Pages.size(), pages);
        int total = 0;
        for (int p = 0; p < prepared.Pages.size(); ++p) {
            const TPreparedPage& page = prepared.Pages.at(p);
            total += RowsOn(page);
            QVERIFY(RowsOn(page) <= (p == 0 ? first : later));
            // Every page starts with the headings and ends with its footer.
            QCOMPARE(Count(page, QStringLiteral("Наименование")), 1);
            QCOMPARE(Count(page, QStringLiteral("Скидка, %")), 1);
            QCOMPARE(Count(page, QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages)), 1);
            QCOMPARE(Count(page, QStringLiteral("Дата печати: 09.12.2026")), 1);
            QCOMPARE(Count(page, QStringLiteral("Прайс-лист")), p == 0 ? 1 : 0);
            // Nothing is drawn below the footer's top or outside the paper.
            for (const TPreparedItem& item : page.Items) {
                QVERIFY(item.Rect.left() >= report.MarginLeft - 0.001);
                QVERIFY(item.Rect.bottom() <= prepared.PaperSize().height() - report.MarginBottom + 0.001);
            }
        }
        QCOMPARE(total, n);
        QCOMPARE(prepared.Pages.last().Rows.last().at(0), QStringLiteral("Товар %1").arg(n));
    }

    void emptyDataSetGivesOnePageWithHeadings() {
        TVectorSource source(QStringLiteral("RvDataSetConnection1"), TVectorSource::PriceColumns());
        TPaginator paginator(PriceList(), kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QCOMPARE(prepared.Pages.size(), 1);
        QCOMPARE(prepared.Pages.at(0).Rows.size(), 0);
        QCOMPARE(Count(prepared.Pages.at(0), QStringLiteral("Описание")), 1);
        QCOMPARE(Count(prepared.Pages.at(0), QStringLiteral("Страница 1 из 1")), 1);
    }

    void reportWithoutDataGivesOneEmptyPage() {
        TPaginator paginator(TReportProject::NewEmpty().Reports().at(0), kPrintDate);
        const TPreparedReport prepared = paginator.Run(nullptr);
        QCOMPARE(prepared.Pages.size(), 1);
        QVERIFY(prepared.Pages.at(0).Items.isEmpty());
    }

    void dataTextIsNotFilledIn() {
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = {{QStringLiteral("{page}"), QStringLiteral("{date}"), 1.0, 0.0}};
        TPaginator paginator(PriceList(), kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QCOMPARE(Count(prepared.Pages.at(0), QStringLiteral("{page}")), 1);
        QCOMPARE(prepared.Pages.at(0).Rows.at(0).at(1), QStringLiteral("{date}"));
    }

    void columnsMatchedWithoutCase() {
        TReportDefinition report = PriceList();
        report.Columns[0].Field = QStringLiteral("NAME");
        report.Columns[3].Heading.clear();  // falls back to the display label
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(1);
        TPaginator paginator(report, kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QCOMPARE(prepared.Headings.at(3), QStringLiteral("percent"));
        QCOMPARE(prepared.Pages.at(0).Rows.at(0).at(0), QStringLiteral("Товар 1"));
    }

    void unknownColumnIsAnError() {
        TReportDefinition report = PriceList();
        report.Columns[1].Field = QStringLiteral("colour");
        TVectorSource source(QStringLiteral("RvDataSetConnection1"), TVectorSource::PriceColumns());
        TPaginator paginator(report, kPrintDate);
        const QString message = TTestChecks::ThrownMessage([&] { paginator.Run(&source); });
        QVERIFY2(message.contains(QLatin1String("\"colour\"")), qPrintable(message));
    }

    void conditions_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("rows");
        QTest::newRow("percent = 5") << "percent"
                                     << "=" << QVariant(5) << 3;  // i % 4 == 1 among 1..12
        QTest::newRow("price >= 110.5") << "saleprice"
                                        << ">=" << QVariant(110.5) << 3;
        QTest::newRow("name, other case") << "NAME"
                                          << "=" << QVariant("товар 7") << 1;
        QTest::newRow("name <> ") << "name"
                                  << "<>" << QVariant("Товар 7") << 11;
        QTest::newRow("number against text") << "percent"
                                             << "=" << QVariant("abc") << 0;
    }
    void conditions() {
        QFETCH(QString, field);
        QFETCH(QString, op);
        QFETCH(QVariant, value);
        QFETCH(int, rows);
        TReportDefinition report = PriceList();
        report.Conditions = {{field, op, value}};
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(12);
        TPaginator paginator(report, kPrintDate);
        QCOMPARE(paginator.Run(&source).Pages.at(0).Rows.size(), rows);
    }

    void cancelStopsThePass() {
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(1000);
        TPaginator paginator(PriceList(), kPrintDate);
        int told = 0;
        paginator.SetProgressStep(10);
        paginator.SetProgress([&told](int rows, int) {
            ++told;
            return rows < 50;
        });
        const TPreparedReport prepared = paginator.Run(&source);
        QVERIFY(paginator.Cancelled());
        QCOMPARE(told, 5);
        QVERIFY(prepared.Pages.isEmpty());
    }

    void cellTexts_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("price") << QVariant(12990.5) << 2 << QStringLiteral("12\u00A0990,50") << "12990.5";
        QTest::newRow("percent") << QVariant(15.0) << 0 << "15"
                                 << "15";
        QTest::newRow("integer") << QVariant(qint64(7)) << -1 << "7"
                                 << "7";
        QTest::newRow("null") << QVariant() << 2 << ""
                              << "";
        QTest::newRow("line break") << QVariant("a\r\nb") << -1 << "a b"
                                    << "a\r\nb";
        QTest::newRow("apostrophe") << QVariant("O'Brien") << -1 << "O'Brien"
                                    << "O'Brien";
    }
    void cellTexts() {
        QFETCH(QVariant, value);
        QFETCH(int, decimals);
        QFETCH(QString, printed);
        QFETCH(QString, plain);
        QCOMPARE(ReportCellText(value, decimals), printed);
        QCOMPARE(ReportCellValue(value), plain);
    }

    void goldenPages() {
        TVectorSource source(QStringLiteral("RvDataSetConnection1"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(3);
        source.Rows.append({QStringLiteral("Чайник \"Ёлочка\", 1,7 л"), QVariant(), 1650.0, 5.0});
        TPaginator paginator(PriceList(), kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        const QString wrong = TReportTestFiles::CompareWithGolden(QStringLiteral("pricelist-4rows.txt"),
                                                                  prepared.Dump().toUtf8());
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        const QString wrongCsv =
            TReportTestFiles::CompareWithGolden(QStringLiteral("pricelist-4rows.csv"), ReportCsv(prepared));
        QVERIFY2(wrongCsv.isEmpty(), qPrintable(wrongCsv));
    }

    void csvReadsBack() {
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = {
            {QStringLiteral("Чайник \"Ёлочка\""), QStringLiteral("1,7 л\nстекло"), 1650.25, 5.0},
            {QStringLiteral("O'Brien"), QVariant(), 0.0, 0.0},
            {QStringLiteral(" пробел "), QStringLiteral("a,\"b\",c"), 1e6, 100.0},
            // Texts a spreadsheet would run as formulas; a negative number is only a number.
            {QStringLiteral("=HYPERLINK(\"http://x\",\"Скидка\")"), QStringLiteral("@SUM(A1:A9)"), -5.0, 0.0},
            {QStringLiteral("+7 дней"), QStringLiteral("-2+3"), 0.0, 0.0}};
        TPaginator paginator(PriceList(), kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("price.csv"));
        WriteReportCsv(prepared, file);
        const QVector<QStringList> rows = TReportTestFiles::ReadCsv(TReportTestFiles::ReadAll(file));
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows.at(0), (QStringList{"Наименование", "Описание", "Цена, руб.", "Скидка, %"}));
        QCOMPARE(rows.at(1), (QStringList{"Чайник \"Ёлочка\"", "1,7 л\nстекло", "1650.25", "5"}));
        QCOMPARE(rows.at(2), (QStringList{"O'Brien", "", "0", "0"}));
        QCOMPARE(rows.at(3), (QStringList{" пробел ", "a,\"b\",c", "1000000", "100"}));
        QCOMPARE(rows.at(4),
                 (QStringList{"'=HYPERLINK(\"http://x\",\"Скидка\")", "'@SUM(A1:A9)", "-5", "0"}));
        QCOMPARE(rows.at(5), (QStringList{"'+7 дней", "'-2+3", "0", "0"}));
    }

    void pdfHoldsEveryRow() {
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(130);
        TPaginator paginator(PriceList(), kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QVERIFY(prepared.Pages.size() >= 3);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("price.pdf"));
        WriteReportPdf(prepared, file);
        const QString text = TReportTestFiles::PdfText(file);
        QVERIFY2(!text.isEmpty(), "pdftotext gave nothing");
        QCOMPARE(text.count(QStringLiteral("Наименование")), prepared.Pages.size());
        QCOMPARE(text.count(QChar(12)), prepared.Pages.size());  // one form feed per page
        for (int i = 1; i <= 130; ++i) {
            const QString name = QStringLiteral("Товар %1 ").arg(i);
            QVERIFY2(text.contains(name), qPrintable(name));
        }
        QVERIFY(text.contains(QStringLiteral("Страница %1 из %1").arg(prepared.Pages.size())));
        QVERIFY(text.contains(QStringLiteral("230,50")));  // 100.5 + 130, two decimals
    }

    // The printer output over a printer that writes PDF: the same pages, paper and text.
    void printerGetsEveryPage() {
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        source.Rows = TVectorSource::PriceRows(60);
        TPaginator paginator(PriceList(), kPrintDate);
        const TPreparedReport prepared = paginator.Run(&source);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        PrintReport(prepared, printer);
        const QString text = TReportTestFiles::PdfText(printer.outputFileName());
        QCOMPARE(text.count(QChar(12)), prepared.Pages.size());
        QVERIFY(text.contains(QStringLiteral("Товар 60 ")));
        QVERIFY(text.contains(QStringLiteral("Страница 2 из 2")));
    }

    void unwritableFileIsAnError() {
        TPaginator paginator(PriceList(), kPrintDate);
        TVectorSource source(QStringLiteral("c"), TVectorSource::PriceColumns());
        const TPreparedReport prepared = paginator.Run(&source);
        QVERIFY_THROWS_EXCEPTION(EReportError,
                                 WriteReportPdf(prepared, QStringLiteral("/nonexistent/dir/x.pdf")));
        QVERIFY_THROWS_EXCEPTION(EReportError,
                                 WriteReportCsv(prepared, QStringLiteral("/nonexistent/dir/x.csv")));
    }
};

QTEST_MAIN(TstPaginator)
#include "tst_paginator.moc"
