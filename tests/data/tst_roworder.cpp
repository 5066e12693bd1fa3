// The index order on packed rows without a database: a stable sort with nulls first, the place of a
// new row, the run of one key found by binary search (short and long runs) and key comparison.
#include <QObject>
#include <QTest>

#include "TRowOrder.h"
#include "TRowStore.h"

namespace {

// Rows of (key, position): the second column tells where a row stood before sorting.
class TRows {
public:
    TRows(const QVariantList& keys, QMetaType::Type type) : m_types{type, QMetaType::LongLong} {
        for (const QVariant& key : keys)
            Add(key);
    }
    const char* Add(const QVariant& key) {
        const char* row = m_store.AddValues({key, qint64(m_added++)}, m_types);
        Rows.push_back(row);
        return row;
    }
    QList<qint64> Positions() const {
        QList<qint64> positions;
        for (const char* row : Rows)
            positions << TRowStore::Cell(row, 1).Int;
        return positions;
    }
    std::vector<const char*> Rows;

private:
    TRowStore m_store;
    QVector<QMetaType::Type> m_types;
    qint64 m_added = 0;
};

QVariantList Integers(std::initializer_list<int> values) {
    QVariantList list;
    for (int v : values)
        list << (v < 0 ? QVariant() : QVariant(qint64(v)));  // -1 stands for null
    return list;
}

}  // namespace

class TstRowOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sortsStablyWithNullsFirst_data() {
        QTest::addColumn<QVariantList>("keys");
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<qint64>>("positions");
        QTest::newRow("integers with ties")
            << Integers({3, 1, 3, 2, 1}) << int(QMetaType::LongLong) << QList<qint64>{1, 4, 3, 0, 2};
        QTest::newRow("nulls first") << Integers({2, -1, 1, -1}) << int(QMetaType::LongLong)
                                     << QList<qint64>{1, 3, 2, 0};
        QTest::newRow("reals and integers by value") << QVariantList{2.5, qint64(2), 10.0, qint64(3)}
                                                     << int(QMetaType::Double) << QList<qint64>{1, 0, 3, 2};
        QTest::newRow("text by its bytes") << QVariantList{QStringLiteral("б"), QStringLiteral("a"),
                                                           QStringLiteral("B"), QStringLiteral("а")}
                                           << int(QMetaType::QString) << QList<qint64>{2, 1, 3, 0};
    }
    void sortsStablyWithNullsFirst() {
        QFETCH(QVariantList, keys);
        QFETCH(int, type);
        QFETCH(QList<qint64>, positions);
        TRows rows(keys, QMetaType::Type(type));
        const TRowOrder order(0, QMetaType::Type(type));
        order.Sort(rows.Rows);
        QCOMPARE(rows.Positions(), positions);
        QVERIFY(order.IsSorted(rows.Rows));
    }

    void newRowGoesAfterItsKey_data() {
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<int>("position");
        QTest::newRow("below every number, after the null") << QVariant(qint64(0)) << 1;
        QTest::newRow("after equal keys") << QVariant(qint64(2)) << 4;
        QTest::newRow("between keys") << QVariant(qint64(3)) << 4;
        QTest::newRow("above all") << QVariant(qint64(9)) << 5;
        QTest::newRow("null, after the nulls") << QVariant() << 1;
    }
    void newRowGoesAfterItsKey() {
        QFETCH(QVariant, key);
        QFETCH(int, position);
        TRows rows(Integers({-1, 1, 2, 2, 5}), QMetaType::LongLong);
        const TRowOrder order(0, QMetaType::LongLong);
        const char* row = rows.Add(key);
        rows.Rows.pop_back();
        QCOMPARE(order.InsertPosition(rows.Rows, row), size_t(position));
    }

    void rangeOfOneKey_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("key");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        // Sorted keys: null, 1, 2 x 3, 4, 7 x 150, 9.
        QTest::newRow("short run") << int(QMetaType::LongLong) << QVariant(qint64(2)) << 2 << 3;
        QTest::newRow("single row") << int(QMetaType::LongLong) << QVariant(qint64(4)) << 5 << 1;
        QTest::newRow("run longer than a walk")
            << int(QMetaType::LongLong) << QVariant(qint64(7)) << 6 << 150;
        QTest::newRow("absent, between") << int(QMetaType::LongLong) << QVariant(qint64(3)) << 5 << 0;
        QTest::newRow("absent, above all") << int(QMetaType::LongLong) << QVariant(qint64(10)) << 157 << 0;
        QTest::newRow("null finds the nulls") << int(QMetaType::LongLong) << QVariant() << 0 << 1;
        QTest::newRow("number as text")
            << int(QMetaType::LongLong) << QVariant(QStringLiteral("2")) << 2 << 3;
        QTest::newRow("whole real") << int(QMetaType::LongLong) << QVariant(4.0) << 5 << 1;
        QTest::newRow("no number finds nothing")
            << int(QMetaType::LongLong) << QVariant(QStringLiteral("два")) << 157 << 0;
    }
    void rangeOfOneKey() {
        QFETCH(int, type);
        QFETCH(QVariant, key);
        QFETCH(int, first);
        QFETCH(int, count);
        QVariantList keys = Integers({-1, 1, 2, 2, 2, 4});
        for (int i = 0; i < 150; ++i)
            keys << QVariant(qint64(7));
        keys << QVariant(qint64(9));
        TRows rows(keys, QMetaType::Type(type));
        const TRowOrder order(0, QMetaType::Type(type));
        const std::pair<size_t, size_t> range = order.Range(rows.Rows, key);
        QCOMPARE(int(range.first), first);
        QCOMPARE(int(range.second - range.first), count);
    }

    void sameKey_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("a");
        QTest::addColumn<QVariant>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("integer and its text")
            << int(QMetaType::LongLong) << QVariant(qint64(5)) << QVariant(QStringLiteral("5")) << true;
        QTest::newRow("integer and a whole real")
            << int(QMetaType::LongLong) << QVariant(qint64(5)) << QVariant(5.0) << true;
        QTest::newRow("both null") << int(QMetaType::LongLong) << QVariant() << QVariant() << true;
        QTest::newRow("null and zero")
            << int(QMetaType::LongLong) << QVariant() << QVariant(qint64(0)) << false;
        QTest::newRow("text is exact") << int(QMetaType::QString) << QVariant(QStringLiteral("Да"))
                                       << QVariant(QStringLiteral("да")) << false;
    }
    void sameKey() {
        QFETCH(int, type);
        QFETCH(QVariant, a);
        QFETCH(QVariant, b);
        QFETCH(bool, same);
        QCOMPARE(TRowOrder(0, QMetaType::Type(type)).SameKey(a, b), same);
    }
};

QTEST_MAIN(TstRowOrder)
#include "tst_roworder.moc"
