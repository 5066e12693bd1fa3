// grid-scroll: the time per page of paging a goods grid from top to bottom with PgDn in an offscreen
// window, at 200,000 rows against the same grid at 2,000 rows (the floor). Equal figures show that
// drawing and moving never walk the whole data set. Each size gets its own database in a temporary
// XDG_DATA_HOME, filled here with sqlite3; the grid reads it through the data set engine.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "TADOConnection.h"
#include "TADOTable.h"
#include "TDBGrid.h"
#include "TDataSource.h"

namespace {

const char* const kConnection =
    "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=ZIRT;"
    "Data Source=(local)\\SQLEXPRESS";

bool FillDatabase(const QString& file, int rows) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    char* error = nullptr;
    const char* schema =
        "CREATE TABLE goods (Idwares INTEGER PRIMARY KEY, name TEXT NOT NULL, description TEXT, "
        "saleprice REAL, supplier TEXT); BEGIN;";
    bool ok = sqlite3_exec(db, schema, nullptr, nullptr, &error) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO goods VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr) ==
                   SQLITE_OK;
    for (int i = 1; ok && i <= rows; ++i) {
        const QByteArray name = QStringLiteral("Холодильник Полюс ХД-%1").arg(i).toUtf8();
        const QByteArray description =
            QStringLiteral("двухкамерный, %1 см, No Frost, белый").arg(150 + i % 60).toUtf8();
        const QByteArray supplier = QStringLiteral("ООО «Поставщик %1»").arg(i % 97).toUtf8();
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_text(insert, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, description.constData(), int(description.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 4, 1000.0 + (i * 37) % 90000);
        sqlite3_bind_text(insert, 5, supplier.constData(), int(supplier.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, &error) == SQLITE_OK;
    if (error) {
        std::fprintf(stderr, "bench-grid: %s\n", error);
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return ok;
}

// One goods grid over its own database.
struct TGridUnderTest {
    QTemporaryDir Home;
    QObject Owner;
    TADOConnection* Connection = nullptr;
    TADOTable* Table = nullptr;
    TDataSource* Source = nullptr;
    std::unique_ptr<TDBGrid> Grid;

    bool Build(int rows) {
        const QString folder = Home.path() + QStringLiteral("/zirt/SQLEXPRESS");
        if (!QDir().mkpath(folder) || !FillDatabase(folder + QStringLiteral("/ZIRT.sqlite"), rows))
            return false;
        // The embedded engine finds the catalog under XDG_DATA_HOME when the connection opens.
        qputenv("XDG_DATA_HOME", Home.path().toUtf8());
        Connection = new TADOConnection(&Owner, QStringLiteral("ADOConnection1"));
        Connection->SetConnectionString(QString::fromLatin1(kConnection));
        Table = new TADOTable(&Owner, QStringLiteral("ADOTable1"));
        Table->SetConnection(Connection);
        Table->SetTableName(QStringLiteral("goods"));
        Source = new TDataSource(&Owner, QStringLiteral("DataSource1"));
        Source->SetDataSet(Table);
        Table->Open();
        Grid = std::make_unique<TDBGrid>();
        Grid->resize(800, 600);
        Grid->SetOptions(TDBGridOptions::ReadOnly());
        Grid->SetDataSource(Source);
        Grid->show();
        Grid->setFocus();
        QApplication::processEvents();
        return Table->RecordCount() == rows;
    }

    // Pages from the first row to the last; returns seconds per page over the given passes.
    double SecondsPerPage(int passes) {
        long pages = 0;
        QElapsedTimer clock;
        qint64 elapsed = 0;
        for (int p = 0; p < passes; ++p) {
            Table->First();
            QApplication::processEvents();
            clock.start();
            while (!Table->Eof()) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
                QApplication::sendEvent(Grid.get(), &press);
                // The page is drawn before the next key, as a user would see it.
                Grid->viewport()->repaint();
                ++pages;
                if (pages > 10000000)
                    break;
            }
            elapsed += clock.nsecsElapsed();
        }
        return pages ? elapsed / 1e9 / double(pages) : 0;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    TGridUnderTest small, large;
    if (!small.Build(2000) || !large.Build(200000)) {
        std::fprintf(stderr, "bench-grid: could not build the goods grids\n");
        return 1;
    }
    qputenv("XDG_DATA_HOME", savedHome);
    // Interleaved rounds, best of each: the small grid runs enough passes to page as often as the large.
    double bestSmall = 1e9, bestLarge = 1e9;
    for (int round = 0; round < 3; ++round) {
        bestSmall = std::min(bestSmall, small.SecondsPerPage(20));
        bestLarge = std::min(bestLarge, large.SecondsPerPage(1));
    }
    const int rowsPerPage = large.Grid->VisibleRowCount();
    std::printf("grid-scroll: %.3f ms (floor %.3f ms, ratio %.2f)\n", bestLarge * 1e3, bestSmall * 1e3,
                bestSmall > 0 ? bestLarge / bestSmall : 0.0);
    std::printf("# per PgDn page of %d rows, 200,000 rows against 2,000 (floor)\n", rowsPerPage);
    return 0;
}
