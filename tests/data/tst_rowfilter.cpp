// The filter text of a data set and the row test it makes, on packed rows without a database.
#include <QObject>
#include <QTest>

#include "Exception.h"
#include "TRowFilter.h"
#include "TRowStore.h"
#include "TTestChecks.h"

namespace {

// Terms written back as "column|text" (text "<null>" for the word NULL), to compare in one go.
QStringList Spelled(const TRowFilter& filter) {
    QStringList terms;
    for (const TRowFilter::TTerm& t : filter.Terms())
        terms << t.Column + QLatin1Char('|') + (t.IsNull ? QStringLiteral("<null>") : t.Text);
    return terms;
}

const QStringList kColumns{QStringLiteral("name"), QStringLiteral("price"), QStringLiteral("Idprovider"),
                           QStringLiteral("note")};

}  // namespace

class TstRowFilter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheFilterText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("terms");  // empty with error set: refused
        QTest::addColumn<bool>("refused");
        QTest::newRow("nothing") << "  " << QStringList() << false;
        QTest::newRow("quoted value")
            << "name = 'ЗАО «ТехноСнаб»'" << QStringList{"name|ЗАО «ТехноСнаб»"} << false;
        QTest::newRow("two terms, and in lower case")
            << "Idprovider=5 and phone = '8-812'" << QStringList{"Idprovider|5", "phone|8-812"} << false;
        QTest::newRow("bracketed column")
            << "[Цена закупа] = 12,5" << QStringList{"Цена закупа|12,5"} << false;
        QTest::newRow("bracket right after AND")
            << "a = 1 AND[b c] = 2" << QStringList{"a|1", "b c|2"} << false;
        QTest::newRow("doubled quote") << "name = 'О''Нил'" << QStringList{"name|О'Нил"} << false;
        QTest::newRow("the word NULL") << "note = null" << QStringList{"note|<null>"} << false;
        QTest::newRow("NULL in quotes is text") << "note = 'NULL'" << QStringList{"note|NULL"} << false;
        QTest::newRow("no equals sign") << "name 'x'" << QStringList() << true;
        QTest::newRow("no value") << "name = " << QStringList() << true;
        QTest::newRow("unterminated quote") << "name = 'x" << QStringList() << true;
        QTest::newRow("unclosed bracket") << "[name = 'x'" << QStringList() << true;
        QTest::newRow("OR") << "a = 1 OR b = 2" << QStringList() << true;
        QTest::newRow("AND run into a column") << "a = 1 ANDb = 2" << QStringList() << true;
    }
    void readsTheFilterText() {
        QFETCH(QString, text);
        QFETCH(QStringList, terms);
        QFETCH(bool, refused);
        if (refused) {
            QCOMPARE_THROWS(TRowFilter::Parse(text), QStringLiteral("Filter cannot be read: ") + text);
            return;
        }
        const TRowFilter filter = TRowFilter::Parse(text);
        QCOMPARE(Spelled(filter), terms);
        QCOMPARE(filter.IsEmpty(), terms.isEmpty());
    }

    void testsARow_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("passes");
        QTest::newRow("text as stored") << "name = 'ЗАО «ТехноСнаб»'" << true;
        QTest::newRow("text in another case") << "name = 'зао «техноснаб»'" << true;
        QTest::newRow("other text") << "name = 'ЗАО'" << false;
        QTest::newRow("real with a comma") << "price = 12,5" << true;
        QTest::newRow("other real") << "price = 12.51" << false;
        QTest::newRow("integer") << "Idprovider = 4" << true;
        QTest::newRow("no number for a number") << "Idprovider = 'четыре'" << false;
        QTest::newRow("null cell, NULL asked") << "note = NULL" << true;
        QTest::newRow("null cell, a value asked") << "note = ''" << false;
        QTest::newRow("a value, NULL asked") << "name = NULL" << false;
        QTest::newRow("every term must pass") << "Idprovider = 4 AND price = 13" << false;
    }
    void testsARow() {
        QFETCH(QString, filter);
        QFETCH(bool, passes);
        TRowStore store;
        const char* row =
            store.AddValues({QStringLiteral("ЗАО «ТехноСнаб»"), 12.5, qint64(4), QVariant()},
                            {QMetaType::QString, QMetaType::Double, QMetaType::LongLong, QMetaType::QString});
        TRowFilter parsed = TRowFilter::Parse(filter);
        parsed.Bind([](const QString& column) {
            for (int i = 0; i < kColumns.size(); ++i) {
                if (kColumns.at(i) == column)
                    return i;
            }
            throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(column));
        });
        QCOMPARE(parsed.Matches(row), passes);
    }
};

QTEST_MAIN(TstRowFilter)
#include "tst_rowfilter.moc"
