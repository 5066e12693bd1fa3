// The order and sales history tabs through their real widgets: what the charts hold, that moving
// and filling leave each other alone, that the views are read once, that a view which failed to
// open leaves its tab empty, a delete asked for and refused by the view, zooming and panning, and the
// two list buttons before the password.
#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <numeric>

#include "TADOConnection.h"
#include "TADOTable.h"
#include "TDBChart.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDbConnection.h"
#include "TField.h"
#include "TRunningProgram.h"
#include "TTestChecks.h"
#include "TWriteBack.h"
#include "Unit2.h"
#include "Unit3.h"

namespace {

TDBChart* Chart(const QString& which) {
    return which == QLatin1String("orders") ? Form2->DBChart1 : Form2->DBChart2;
}

TADOTable* View(const QString& which) {
    return which == QLatin1String("orders") ? DataModule3->ADOTable1 : DataModule3->ADOTable8;
}

TDBGrid* Grid(const QString& which) {
    return which == QLatin1String("orders") ? Form2->DBGrid2 : Form2->DBGrid3;
}

void ShowTab(const QString& which) {
    Form2->PageControl1->setCurrentWidget(which == QLatin1String("orders") ? Form2->TabSheet2
                                                                           : Form2->TabSheet3);
}

// What the chart's points say, in the order of the view's rows as the chart would read them.
QStringList PointsOf(const TChartSeries& series) {
    QStringList points;
    for (const TChartPoint& p : series.Points())
        points.append(QStringLiteral("%1|%2|%3|%4").arg(p.Position).arg(p.Value).arg(p.Label).arg(p.Drawn));
    return points;
}

}  // namespace

class TstHistoryTabs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_program = std::make_unique<TRunningProgram>();
        m_program->Start();
    }
    void cleanup() { m_program.reset(); }

    void chartsHoldEveryRowOfTheirView_data() {
        QTest::addColumn<QString>("which");
        QTest::newRow("orders, bars") << "orders";
        QTest::newRow("sales, pie") << "sales";
    }
    void chartsHoldEveryRowOfTheirView() {
        QFETCH(QString, which);
        TADOTable* view = View(which);
        const TChartSeries& series = *Chart(which)->Series(0);
        QVERIFY(view->RecordCount() > 0);
        // Bars: the price over the quantity ordered, in ascending quantity; slices: the quantity
        // sold, labelled with its text, in the rows' order.
        QStringList expected;
        QVector<double> positions;
        const bool bars = which == QLatin1String("orders");
        const TField* value = view->FieldByName(bars ? QStringLiteral("Цена") : QStringLiteral("Количество"));
        const TField* other =
            view->FieldByName(bars ? QStringLiteral("Кол-во") : QStringLiteral("Количество"));
        for (int row = 0; row < view->RecordCount(); ++row) {
            const bool drawn = !view->IsNullAt(row, value->Index());
            const double v = drawn ? view->ValueAt(row, value->Index()).toDouble() : 0;
            const QString label = bars ? QString() : view->DisplayTextAt(row, other->Index());
            const double position = bars ? view->ValueAt(row, other->Index()).toDouble() : 0;
            expected.append(QStringLiteral("%1|%2|%3|%4").arg(position).arg(v).arg(label).arg(drawn));
            positions.append(position);
        }
        if (bars) {
            QVector<int> order(expected.size());
            std::iota(order.begin(), order.end(), 0);
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return positions[a] < positions[b]; });
            QStringList sorted;
            for (int i : order)
                sorted.append(expected[i]);
            expected = sorted;
        }
        QCOMPARE(PointsOf(series), expected);
        QCOMPARE(view->RecNo(), 0);  // filling returned to the first row
    }

    void movingAGridChangesNoChart_data() { chartsHoldEveryRowOfTheirView_data(); }
    void movingAGridChangesNoChart() {
        QFETCH(QString, which);
        ShowTab(which);
        TDBGrid* grid = Grid(which);
        grid->setFocus();
        TChartSeries& series = *Chart(which)->Series(0);
        const QStringList before = PointsOf(series);
        series.AddBar(1e6, 1);  // a refill would drop it
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(series.Count(), before.size() + 1);
        // And filling moves no grid: the grid's row stays where the user left it.
        const int row = View(which)->RecNo();
        Chart(which)->FillFrom(View(which));
        QCOMPARE(View(which)->RecNo(), row);
        QCOMPARE(grid->currentIndex().row(), row);
        QCOMPARE(PointsOf(series), before);
    }

    void historyGridsAskBeforeTheViewRefusesADelete_data() { chartsHoldEveryRowOfTheirView_data(); }
    void historyGridsAskBeforeTheViewRefusesADelete() {
        // Typing and Insert do nothing in a read-only grid; Ctrl+Delete asks, and the view refuses.
        QFETCH(QString, which);
        ShowTab(which);
        TDBGrid* grid = Grid(which);
        grid->setFocus();
        const int rows = View(which)->RecordCount();
        const QStringList points = PointsOf(*Chart(which)->Series(0));
        QTest::keyClicks(grid, QStringLiteral("7"));
        QTest::keyClick(grid, Qt::Key_Insert);
        m_program->Boxes.Press(QStringLiteral("OK"));
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(m_program->Boxes.WaitAllAnswered());
        TTestChecks::SettleEvents();
        const QString view = View(which)->TableName();
        QCOMPARE(m_program->Boxes.Texts(),
                 (QStringList{QStringLiteral("Delete record?"), TWriteBack::ViewNotUpdatableMessage(view)}));
        QCOMPARE(View(which)->State(), dsBrowse);
        QCOMPARE(View(which)->RecordCount(), rows);
        QCOMPARE(m_program->Db.Count(view), rows);
        QCOMPARE(PointsOf(*Chart(which)->Series(0)), points);
    }

    void recordedDuringTheRunAppearsInNeitherTab() {
        const int orders = DataModule3->ADOTable1->RecordCount();
        const int sales = DataModule3->ADOTable8->RecordCount();
        TDbConnection& db = DataModule3->ADOConnection1->Database();
        db.Execute(QStringLiteral("insert into orderitem(idorder,idwares,warescount) values (1, 1, 3)"));
        db.Execute(QStringLiteral("insert into saleitem(idsale,idwares,quantity) values (1, 1, 2)"));
        ShowTab(QStringLiteral("orders"));
        ShowTab(QStringLiteral("sales"));
        QCOMPARE(DataModule3->ADOTable1->RecordCount(), orders);
        QCOMPARE(Form2->DBChart1->Series(0)->Count(), orders);
        QCOMPARE(DataModule3->ADOTable8->RecordCount(), sales);
        QCOMPARE(Form2->DBChart2->Series(0)->Count(), sales);
    }

    void zoomAndPanOnlyOnTheBars_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<bool>("zooms");
        QTest::newRow("orders, bars") << "orders" << true;
        QTest::newRow("sales, pie") << "sales" << false;
    }
    void zoomAndPanOnlyOnTheBars() {
        QFETCH(QString, which);
        QFETCH(bool, zooms);
        ShowTab(which);
        TDBChart* chart = Chart(which);
        QVERIFY(QTest::qWaitForWindowExposed(Form2));
        const QRect plot = chart->PlotRect();
        const QPoint from = plot.topLeft() + QPoint(plot.width() / 4, plot.height() / 4);
        QTest::mousePress(chart, Qt::LeftButton, {}, from);
        QTest::mouseMove(chart, plot.center());
        QTest::mouseRelease(chart, Qt::LeftButton, {}, plot.center());
        QCOMPARE(chart->Zoomed(), zooms);
        chart->UndoZoom();
        QTest::mousePress(chart, Qt::RightButton, {}, plot.center());
        QTest::mouseMove(chart, plot.center() + QPoint(25, 15));
        QTest::mouseRelease(chart, Qt::RightButton, {}, plot.center() + QPoint(25, 15));
        QCOMPARE(chart->Zoomed(), zooms);
    }

    void listButtonsWorkBeforeThePassword_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Button5") << "Button5"
                                 << "Информация о поставщиках";
        QTest::newRow("Button6") << "Button6"
                                 << "Сроки поставок";
    }
    void listButtonsWorkBeforeThePassword() {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        ShowTab(QStringLiteral("orders"));
        auto* pressed = Form2->findChild<QPushButton*>(button);
        QVERIFY(pressed && pressed->isVisible());
        m_program->Boxes.Close();
        QTest::mouseClick(pressed, Qt::LeftButton);
        QVERIFY(m_program->Boxes.WaitAllAnswered());
        QCOMPARE(m_program->Boxes.Seen().size(), 1);
        QCOMPARE(m_program->Boxes.Seen().at(0).Caption, caption);
    }

private:
    std::unique_ptr<TRunningProgram> m_program;
};

// A view missing from the database: its data set fails to open at start (one error box); its grid
// and chart stay empty for the run and nothing more is said.
class TstHistoryViewMissing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tabStaysEmpty() {
        TRunningProgram program;
        TDbConnection(TTestDatabase::ConnectionString()).Execute(QStringLiteral("DROP VIEW orders_info"));
        program.Application.Initialize();
        CreateProgramInstances(&program.Application);
        Form2->Show();
        QCOMPARE(program.Boxes.Texts().size(), 1);
        QVERIFY2(program.Boxes.Texts().at(0).contains(QLatin1String("orders_info")),
                 qPrintable(program.Boxes.Texts().at(0)));
        QVERIFY(!DataModule3->ADOTable1->Active());
        Form2->PageControl1->setCurrentWidget(Form2->TabSheet2);
        QTest::mouseClick(Form2->DBGrid2->viewport(), Qt::LeftButton);
        TTestChecks::SettleEvents();
        QCOMPARE(Form2->DBGrid2->Model()->rowCount(), 0);
        QCOMPARE(Form2->DBChart1->Series(0)->Count(), 0);
        QCOMPARE(program.Boxes.Texts().size(), 1);
        // The other history is untouched.
        QCOMPARE(Form2->DBChart2->Series(0)->Count(), DataModule3->ADOTable8->RecordCount());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TstHistoryTabs tabs;
    TstHistoryViewMissing missing;
    return QTest::qExec(&tabs, argc, argv) | QTest::qExec(&missing, argc, argv);
}
#include "tst_historytabs.moc"
