// The values clause under mutated values: whatever a value holds (apostrophes, quotes, brackets,
// comment marks, statement text, Cyrillic, control characters), the statement template stores it
// exactly as given; only a NUL character, which no database takes in a statement's text, is refused,
// with a message that says so, and then nothing is written. It never stores something else and never runs a
// statement of the value's making.
#include <QTest>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TTestDatabase.h"
#include "TMutator.h"

class TstFuzzValues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyValueRoundTrips() {
        TTestDatabase db;
        QObject owner;
        auto* connection = new TADOConnection(&owner, QStringLiteral("ADOConnection1"));
        connection->SetConnectionString(TTestDatabase::ConnectionString());
        auto* managers = new TADOQuery(&owner, QStringLiteral("ADOQuery3"));
        managers->SetConnection(connection);
        managers->SQL().Add(QStringLiteral("INSERT into manager([name], phone)"));
        managers->SQL().Add(QString());

        const QByteArrayList corpus{"Д'Артаньян",
                                    "O'Brien \"Ltd\"",
                                    "'); DROP TABLE wares; --",
                                    "[x]]",
                                    "/* */",
                                    "Ёлкина Татьяна",
                                    "+7 (812) 555-01-02",
                                    "', '",
                                    "\\'",
                                    "N'x'",
                                    ""};
        TMutator mutator(20261213, {"'", "''", "\"", "[", "]", "--", "/*", ";", ", ", "\\", "\n", "\t",
                                    QByteArray(1, '\0'), "\xD0\x81", "\xF0\x9F\x93\xBA"});
        const int rounds = TMutator::Rounds(3000);
        const int tables = db.Scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_schema")).toInt();
        int stored = 0, refused = 0;
        for (int round = 0; round < rounds; ++round) {
            const QString name = QString::fromUtf8(mutator.Mutate(corpus));
            const QString phone = QString::fromUtf8(mutator.Mutate(corpus));
            const qint64 before =
                db.Scalar(QStringLiteral("SELECT MAX(Idmanager) FROM manager")).toLongLong();
            bool accepted = true;
            try {
                ExecuteTemplate(managers, {name, phone}, QStringLiteral("', '"));
            } catch (const EDatabaseError& e) {
                accepted = false;
                // Only a NUL character is refused, and in plain words; anything else must be stored.
                QVERIFY2(
                    (name.contains(QChar(0)) || phone.contains(QChar(0))) &&
                        e.Message().startsWith(QLatin1String("A value holds a character that the database")),
                    qPrintable(name + QStringLiteral(" | ") + phone + QStringLiteral(": ") + e.Message()));
            }
            const qint64 after = db.Scalar(QStringLiteral("SELECT MAX(Idmanager) FROM manager")).toLongLong();
            if (!accepted) {
                ++refused;
                QCOMPARE(after, before);  // a refusal writes nothing
                continue;
            }
            ++stored;
            QCOMPARE(after, before + 1);
            QCOMPARE(
                db.Scalar(QStringLiteral("SELECT name FROM manager WHERE Idmanager = ?"), {after}).toString(),
                name);
            QCOMPARE(db.Scalar(QStringLiteral("SELECT phone FROM manager WHERE Idmanager = ?"), {after})
                         .toString(),
                     phone);
        }
        QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_schema")).toInt(), tables);
        qInfo("values clause: %d inputs tried, %d stored exactly, %d refused, 0 crashes", rounds, stored,
              refused);
        QVERIFY(stored > rounds * 9 / 10);
    }
};

QTEST_GUILESS_MAIN(TstFuzzValues)
#include "tst_fuzzvalues.moc"
