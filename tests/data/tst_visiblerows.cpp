// The visible rows of a detail on packed rows without a database: a range of one key narrowed by a
// filter, as deletes, new rows and posts change the rows under it. The class's own invariant checks
// run in every step (the test build compiles them in); the cases say where the current row and its
// edges end up.
#include <QObject>
#include <QTest>

#include "TRowFilter.h"
#include "TRowOrder.h"
#include "TRowStore.h"
#include "TVisibleRows.h"

namespace {

// Rows of (key, colour, id), ranged on key 2 and filtered to red: ids 1, 3, 4 and 6 are visible.
class TDetailRows {
public:
    TDetailRows() {
        std::vector<const char*> rows;
        const QList<std::pair<qint64, const char*>> base = {{1, "red"}, {2, "red"}, {2, "blue"}, {2, "red"},
                                                            {2, "red"}, {3, "red"}, {2, "red"}};
        for (const auto& [key, colour] : base)
            rows.push_back(Row(key, QString::fromLatin1(colour)));
        Rows.Reset(std::move(rows));
        Rows.SetOrder(TRowOrder(0, QMetaType::LongLong));  // key 3 (id 5) sorts after id 6
        Rows.SetRange(qint64(2));
        TRowFilter red = TRowFilter::Parse(QStringLiteral("colour = 'red'"));
        red.Bind([](const QString&) { return 1; });
        Rows.SetFilter(red);
    }
    // A new row, or with an id the version a post of that row writes.
    const char* Row(qint64 key, const QString& colour, qint64 id = -1) {
        return m_store.AddValues({key, colour, id < 0 ? m_nextId++ : id},
                                 {QMetaType::LongLong, QMetaType::QString, QMetaType::LongLong});
    }
    QList<qint64> VisibleIds() const {
        QList<qint64> ids;
        for (int v = 0; v < Rows.Count(); ++v)
            ids << (Rows.At(v) ? TRowStore::Cell(Rows.At(v), 2).Int : -1);
        return ids;
    }
    TVisibleRows Rows;

private:
    TRowStore m_store;
    qint64 m_nextId = 0;
};

}  // namespace

class TstVisibleRows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changesUnderARangedFilteredDetail_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("start");  // visible row made current first; -1: Last()
        QTest::addColumn<QList<qint64>>("ids");
        QTest::addColumn<qint64>("current");
        QTest::addColumn<bool>("bof");
        QTest::addColumn<bool>("eof");
        using L = QList<qint64>;
        QTest::newRow("delete in the middle: the next row")
            << "delete" << 1 << L{1, 4, 6} << qint64(4) << false << false;
        QTest::newRow("delete the first: Bof stays")
            << "delete" << 0 << L{3, 4, 6} << qint64(3) << true << false;
        QTest::newRow("delete the last: the new last, at Eof")
            << "delete" << 3 << L{1, 3, 4} << qint64(4) << false << true;
        QTest::newRow("delete the last after Last")
            << "delete" << -1 << L{1, 3, 4} << qint64(4) << false << true;
        QTest::newRow("new row of the range: after its key's rows, current")
            << "store 2 red" << 1 << L{1, 3, 4, 6, 7} << qint64(7) << false << false;
        QTest::newRow("new row of another key: not shown")
            << "store 3 red" << 1 << L{1, 3, 4, 6} << qint64(3) << false << false;
        QTest::newRow("new row the filter hides")
            << "store 2 blue" << 3 << L{1, 3, 4, 6} << qint64(6) << false << false;
        QTest::newRow("appended new row dropped: the last row, not at Eof")
            << "drop appended" << 3 << L{1, 3, 4, 6} << qint64(6) << false << false;
        QTest::newRow("post moving the row to another key")
            << "post key 4" << 1 << L{1, 4, 6} << qint64(4) << false << false;
        // A post is no move: Eof set by Last() stays, as the current row still stands at the end.
        QTest::newRow("post of the last row moving it away")
            << "post key 4" << -1 << L{1, 3, 4} << qint64(4) << false << true;
    }
    void changesUnderARangedFilteredDetail() {
        QFETCH(QString, change);
        QFETCH(int, start);
        QFETCH(QList<qint64>, ids);
        QFETCH(qint64, current);
        QFETCH(bool, bof);
        QFETCH(bool, eof);
        TDetailRows d;
        QCOMPARE(d.VisibleIds(), (QList<qint64>{1, 3, 4, 6}));
        if (start < 0)
            d.Rows.Last();
        else
            d.Rows.MoveBy(start);
        const QStringList words = change.split(QLatin1Char(' '));
        if (change == QLatin1String("delete")) {
            d.Rows.EraseCurrent();
        } else if (words.first() == QLatin1String("store")) {
            d.Rows.PlaceNewRow(false);
            QCOMPARE(d.Rows.At(start), nullptr);
            d.Rows.StoreNewRow(d.Row(words.at(1).toLongLong(), words.at(2)));
        } else if (change == QLatin1String("drop appended")) {
            d.Rows.PlaceNewRow(true);
            QCOMPARE(d.Rows.Cur(), 4);
            d.Rows.DropNewRow();
        } else {  // "post key K": the current row written back with another index value
            const char* before = d.Rows.Current();
            d.Rows.ReplaceCurrent(
                d.Row(words.at(2).toLongLong(), QStringLiteral("red"), TRowStore::Cell(before, 2).Int));
        }
        QCOMPARE(d.VisibleIds(), ids);
        QCOMPARE(TRowStore::Cell(d.Rows.Current(), 2).Int, current);
        QCOMPARE(d.Rows.Bof(), bof);
        QCOMPARE(d.Rows.Eof(), eof);
    }
};

QTEST_APPLESS_MAIN(TstVisibleRows)
#include "tst_visiblerows.moc"
