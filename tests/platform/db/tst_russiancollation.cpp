// The Russian collation against ICU's Russian order (QCollator, case-insensitive) on a corpus of
// shop texts, and its use by SQLite through the schema. Relies on TTestDatabase.
#include <QtTest>

#include <QCollator>
#include <QFile>
#include <QRegularExpression>

#include "TDbConnection.h"
#include "TDbCursor.h"
#include "TRussianCollation.h"
#include "TTestDatabase.h"

namespace {

int Sign(int v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

// Every quoted text of the demo data, plus texts that probe the places where orders usually differ.
QStringList Corpus() {
    QStringList corpus{QStringLiteral("ёлка"),
                       QStringLiteral("Ёлка"),
                       QStringLiteral("елка"),
                       QStringLiteral("Елка"),
                       QStringLiteral("ель"),
                       QStringLiteral("ёж"),
                       QStringLiteral("ежа"),
                       QStringLiteral("еж"),
                       QStringLiteral("Апельсин"),
                       QStringLiteral("апельсин"),
                       QStringLiteral("Яблоко"),
                       QStringLiteral("йогурт"),
                       QStringLiteral("иголка"),
                       QStringLiteral("Ъ"),
                       QStringLiteral("ь"),
                       QStringLiteral("ы"),
                       QStringLiteral("Э"),
                       QStringLiteral("Samsung"),
                       QStringLiteral("samsung"),
                       QStringLiteral("LG 43"),
                       QStringLiteral("LG-43"),
                       QStringLiteral("LG43"),
                       QStringLiteral("10"),
                       QStringLiteral("9"),
                       QStringLiteral("1,5 л"),
                       QStringLiteral("1.5 л"),
                       QStringLiteral("А-100"),
                       QStringLiteral("А 100"),
                       QStringLiteral("А100"),
                       QStringLiteral("«Ёлочка»"),
                       QStringLiteral("\"Ёлочка\""),
                       QStringLiteral("(новинка)"),
                       QStringLiteral("№5"),
                       QStringLiteral("No5"),
                       QStringLiteral("Nо5"),
                       QStringLiteral("café"),
                       QStringLiteral("cafe"),
                       QStringLiteral("Cafe"),
                       QStringLiteral("кофе"),
                       QStringLiteral(""),
                       QStringLiteral(" "),
                       QStringLiteral("a b"),
                       QStringLiteral("ab"),
                       QStringLiteral("a_b"),
                       QStringLiteral("Д'Артаньян"),
                       QStringLiteral("Дартаньян"),
                       QStringLiteral("2×40 Вт"),
                       QStringLiteral("2x40 Вт"),
                       QStringLiteral("100%"),
                       QStringLiteral("$100"),
                       QStringLiteral("€100"),
                       QStringLiteral("м²"),
                       QStringLiteral("Ґ"),
                       QStringLiteral("Г"),
                       QStringLiteral("ї"),
                       QStringLiteral("і"),
                       QStringLiteral("є"),
                       QStringLiteral("ў"),
                       QStringLiteral("у"),
                       QStringLiteral("Ф.И.О."),
                       QStringLiteral("ФИО"),
                       QStringLiteral("8-495-214-37-80"),
                       QStringLiteral("8 495 214 37 80")};
    QFile demo(TTestDatabase::SchemaFolder() + QStringLiteral("/demo-data.sql"));
    if (demo.open(QIODevice::ReadOnly)) {
        static const QRegularExpression literal(QStringLiteral("'((?:[^']|'')*)'"));
        const QString text = QString::fromUtf8(demo.readAll());
        for (auto it = literal.globalMatch(text); it.hasNext();) {
            const QString s = it.next().captured(1).replace(QLatin1String("''"), QLatin1String("'"));
            if (!s.isEmpty() && !s.at(0).isDigit())
                corpus << s;
        }
    }
    corpus.removeDuplicates();
    return corpus;
}

}  // namespace

class TestRussianCollation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pairs_data();
    void pairs();
    void agreesWithIcuOnCorpus();
    void invalidUtf8IsOrderedConsistently();
    void schemaColumnsUseIt_data();
    void schemaColumnsUseIt();
};

void TestRussianCollation::pairs_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("Ё before А? no: А first") << QStringLiteral("Апельсин") << QStringLiteral("Ёлка") << -1;
    QTest::newRow("case does not count") << QStringLiteral("ЯБЛОКО") << QStringLiteral("яблоко") << 0;
    QTest::newRow("lower case not after capitals")
        << QStringLiteral("банан") << QStringLiteral("Вишня") << -1;
    QTest::newRow("ё beside е, after it") << QStringLiteral("еж") << QStringLiteral("ёж") << -1;
    QTest::newRow("ё only breaks ties") << QStringLiteral("ёж") << QStringLiteral("ежа") << -1;
    QTest::newRow("й its own letter") << QStringLiteral("иб") << QStringLiteral("йа") << -1;
    QTest::newRow("Cyrillic before Latin") << QStringLiteral("Яблоко") << QStringLiteral("Apple") << -1;
    QTest::newRow("digits before letters") << QStringLiteral("9") << QStringLiteral("А") << -1;
    QTest::newRow("space before letters") << QStringLiteral("a b") << QStringLiteral("ab") << -1;
    QTest::newRow("prefix first") << QStringLiteral("Чайник") << QStringLiteral("Чайники") << -1;
    QTest::newRow("empty first") << QString() << QStringLiteral("а") << -1;
}

void TestRussianCollation::pairs() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(Sign(CompareRussian(a.toUtf8(), b.toUtf8())), expected);
    QCOMPARE(Sign(CompareRussian(b.toUtf8(), a.toUtf8())), -expected);
}

void TestRussianCollation::agreesWithIcuOnCorpus() {
    QCollator icu(QLocale(QStringLiteral("ru_RU")));
    icu.setCaseSensitivity(Qt::CaseInsensitive);
    const QStringList corpus = Corpus();
    QVERIFY2(corpus.size() > 120, qPrintable(QString::number(corpus.size())));
    QStringList disagreements;
    for (const QString& a : corpus) {
        const QByteArray ua = a.toUtf8();
        for (const QString& b : corpus) {
            const int ours = Sign(CompareRussian(ua, b.toUtf8()));
            const int theirs = Sign(icu.compare(a, b));
            if (ours != theirs)
                disagreements << QStringLiteral("%1 <=> %2: %3, ICU %4").arg(a, b).arg(ours).arg(theirs);
        }
    }
    if (!disagreements.isEmpty())
        QFAIL(qPrintable(disagreements.mid(0, 20).join(QLatin1Char('\n'))));
}

void TestRussianCollation::invalidUtf8IsOrderedConsistently() {
    const QByteArray bad("\xd0\x80\xff\xd0", 4);
    const QByteArray good = QStringLiteral("я").toUtf8();
    QCOMPARE(Sign(CompareRussian(bad, good)), -Sign(CompareRussian(good, bad)));
    QCOMPARE(CompareRussian(bad, bad), 0);
}

void TestRussianCollation::schemaColumnsUseIt_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("order by") << QStringLiteral("SELECT name FROM manager ORDER BY name")
                              << QStringList{QStringLiteral("Ёлкина"), QStringLiteral("Иванова"),
                                             QStringLiteral("ильин")};
    QTest::newRow("equality without case")
        << QStringLiteral("SELECT name FROM manager WHERE name = 'ИВАНОВА'")
        << QStringList{QStringLiteral("Иванова")};
}

void TestRussianCollation::schemaColumnsUseIt() {
    QFETCH(QString, statement);
    QFETCH(QStringList, expected);
    TTestDatabase database(TTestDatabase::SchemaOnly);
    TDbConnection db(TTestDatabase::ConnectionString());
    for (const char* name : {"ильин", "Иванова", "Ёлкина"})
        db.Execute(QStringLiteral("INSERT INTO manager ([name]) VALUES (?)"), {QString::fromUtf8(name)});
    const std::unique_ptr<TDbCursor> c = db.Select(statement);
    QStringList got;
    while (c->Next())
        got << QString::fromUtf8(c->Value(0).Utf8, c->Value(0).Length);
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestRussianCollation)
#include "tst_russiancollation.moc"
