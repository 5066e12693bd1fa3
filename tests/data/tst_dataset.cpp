// The data set engine on a fresh demo database: moving through rows, finding columns without
// regard to case, statement lines, the values clause, typed text, filters and refresh.
#include <QDateTime>
#include <QObject>
#include <QTest>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDataLink.h"
#include "TDataSource.h"
#include "TDataSetFixture.h"
#include "TField.h"
#include "TStatementRecorder.h"
#include "TTestChecks.h"
#include "Unit3.h"

namespace {

// Records what a data source tells its controls.
class TRecordingLink : public TDataLink {
public:
    void DataEvent(TDataEvent event, int info) override { Events.append(event); }
    QVector<TDataEvent> Events;
};

// A control whose column the result lacks: it fails whenever it is told of a change.
class TFailingLink : public TDataLink {
public:
    void DataEvent(TDataEvent event, int info) override {
        if (event != TDataEvent::Closed)
            throw EDatabaseError(
                TDataSet::FieldNotFoundMessage(QStringLiteral("DBText9"), QStringLiteral("nosuch")));
    }
};

}  // namespace

Q_DECLARE_METATYPE(TValueLiterals)

class TstDataSet : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TDataSetFixture> m_f;

    TADOTable* Table(const QString& name) {
        TADOTable* t = m_f->Table(name, QStringLiteral("ADOTable1"));
        return t;
    }
    TADOQuery* Query(const QStringList& lines) {
        TADOQuery* q = m_f->Query(lines, QStringLiteral("ADOQuery9"));
        return q;
    }
private Q_SLOTS:
    void init() { m_f = std::make_unique<TDataSetFixture>(); }
    void cleanup() { m_f.reset(); }

    void beginningAndEnd() {
        TADOTable* t = Table(QStringLiteral("provider"));
        t->Open();
        QCOMPARE(t->RecordCount(), 8);
        QCOMPARE(t->RecNo(), 0);
        QVERIFY(t->Bof());
        QVERIFY(!t->Eof());
        t->Next();
        QVERIFY(!t->Bof());
        t->Prior();
        QVERIFY(!t->Bof());  // moved back onto the first row; only a move that cannot go further sets it
        t->Prior();
        QVERIFY(t->Bof());
        QCOMPARE(t->RecNo(), 0);
        t->Last();
        QVERIFY(t->Eof());
        QCOMPARE(t->RecNo(), 7);
        t->Prior();
        QVERIFY(!t->Eof());
        QCOMPARE(t->MoveBy(100), 1);
        QVERIFY(t->Eof());
        t->SetRecNo(3);
        QCOMPARE(t->RecNo(), 3);
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), 4);
    }

    // Moving off a new row nobody typed into drops it; the distance counts the rows as they were
    // shown, so the move lands beside where the new row stood.
    void leavingAnUntouchedNewRow_data() {
        QTest::addColumn<bool>("append");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("expectedRow");
        QTest::addColumn<int>("expectedId");
        QTest::newRow("up from a row appended at the end") << true << 0 << -1 << 7 << 8;
        QTest::newRow("up from a row inserted in the middle") << false << 3 << -1 << 2 << 3;
        QTest::newRow("down from a row inserted in the middle") << false << 3 << 1 << 3 << 4;
        QTest::newRow("two down from a row inserted in the middle") << false << 3 << 2 << 4 << 5;
        QTest::newRow("up from a row inserted at the top") << false << 0 << -1 << 0 << 1;
    }
    void leavingAnUntouchedNewRow() {
        QFETCH(bool, append);
        QFETCH(int, startRow);
        QFETCH(int, distance);
        QFETCH(int, expectedRow);
        QFETCH(int, expectedId);
        TADOTable* t = Table(QStringLiteral("provider"));
        t->Open();
        t->SetRecNo(startRow);
        append ? t->Append() : t->Insert();
        QCOMPARE(t->RecordCount(), 9);
        t->MoveBy(distance);
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(t->RecordCount(), 8);
        QCOMPARE(t->RecNo(), expectedRow);
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), qint64(expectedId));
        if (distance < 0 && expectedRow == 0)
            QVERIFY(t->Bof());
    }

    void emptyResultIsBothEnds() {
        TADOQuery* q = Query({QStringLiteral("select * from provider where 1 = 0")});
        q->Open();
        QVERIFY(q->Active());
        QCOMPARE(q->RecordCount(), 0);
        QCOMPARE(q->RecNo(), -1);
        QVERIFY(q->Bof() && q->Eof());
        QVERIFY(q->FieldByName(QStringLiteral("name"))->IsNull());
        QCOMPARE(q->FieldByName(QStringLiteral("name"))->DisplayText(), QString());
    }

    void columnsWithoutRegardToCase_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("as the label writes it") << "Idsale";
        QTest::newRow("as the statement writes it") << "idsale";
        QTest::newRow("upper case") << "IDSALE";
    }
    void columnsWithoutRegardToCase() {
        QFETCH(QString, name);
        TADOQuery* q = Query({QStringLiteral("select * from sale"), QStringLiteral("order by idsale desc")});
        q->Open();
        TField* field = q->FieldByName(name);
        QCOMPARE(field->Index(), 0);
        QCOMPARE(field->AsInteger(),
                 m_f->Db.Scalar(QStringLiteral("select max(Idsale) from sale")).toLongLong());
    }

    void missingColumnNamesTheDataSet() {
        TADOQuery* q = Query({QStringLiteral("select * from sale")});
        q->Open();
        QCOMPARE(q->FindField(QStringLiteral("nosuch")), nullptr);
        QCOMPARE_THROWS(q->FieldByName(QStringLiteral("nosuch")), "ADOQuery9: Field 'nosuch' not found");
    }

    void statementLines() {
        TADOQuery* q = Query({QStringLiteral("select * from sale"), QStringLiteral("order by idsale desc")});
        QCOMPARE(q->SQL().Text(), QStringLiteral("select * from sale\r\norder by idsale desc\r\n"));
        q->Open();
        const int sales = q->RecordCount();
        // Replacing a line of an open query closes it; the next open sends the new text.
        q->SQL().SetStrings(1, QStringLiteral("where idmanager = 1"));
        QVERIFY(!q->Active());
        q->SQL().SetStrings(3, QStringLiteral("order by idsale"));
        QCOMPARE(q->SQL().Count(), 4);
        QCOMPARE(q->SQL().Text(),
                 QStringLiteral("select * from sale\r\nwhere idmanager = 1\r\n\r\norder by idsale\r\n"));
        q->Open();
        QVERIFY(q->RecordCount() < sales);
        QCOMPARE(q->RecordCount(),
                 m_f->Db.Scalar(QStringLiteral("select count(*) from sale where idmanager = 1")).toInt());
    }

    void valuesClause_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<TValueLiterals>("literals");
        QTest::addColumn<QString>("clause");
        const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        const QStringList numbers{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
        const QStringList apostrophe{QStringLiteral("О'Нил"), QStringLiteral("x")};
        const TValueLiterals plain = TValueLiterals::Plain, unicode = TValueLiterals::Unicode;
        QTest::newRow("one value") << QStringList{QStringLiteral("3")} << QString() << plain
                                   << "VALUES ('3')";
        QTest::newRow("add window") << abc << "', '" << plain << "VALUES ('a', 'b', 'c')";
        QTest::newRow("order line") << numbers << "','" << plain << "VALUES ('1','2','3')";
        QTest::newRow("apostrophe doubled") << apostrophe << "', '" << plain << "VALUES ('О''Нил', 'x')";
        QTest::newRow("empty values")
            << QStringList{QString(), QString()} << "','" << plain << "VALUES ('','')";
        // SQL Server converts a plain literal to the database's code page; N'' keeps every character.
        QTest::newRow("unicode: one value")
            << QStringList{QStringLiteral("3")} << QString() << unicode << "VALUES (N'3')";
        QTest::newRow("unicode: add window") << abc << "', '" << unicode << "VALUES (N'a', N'b', N'c')";
        QTest::newRow("unicode: order line") << numbers << "','" << unicode << "VALUES (N'1',N'2',N'3')";
        QTest::newRow("unicode: apostrophe doubled")
            << apostrophe << "', '" << unicode << "VALUES (N'О''Нил', N'x')";
    }
    void valuesClause() {
        QFETCH(QStringList, values);
        QFETCH(QString, separator);
        QFETCH(TValueLiterals, literals);
        QFETCH(QString, clause);
        QCOMPARE(ValuesClause(values, separator, literals), clause);
    }

    // What each path sends for a template: the embedded engine the plain clause, ODBC (SQL Server) every
    // value as N''; the text arrives whole.
    void templateLiteralsOnEachPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("clause");
        QTest::addColumn<bool>("readBack");
        const QString latin = QStringLiteral("Müller & Café"), emoji = QStringLiteral("Чайник \U0001F375"),
                      cjk = QStringLiteral("\U00020000 株式会社");
        QTest::newRow("embedded: Latin")
            << "embedded" << latin << "VALUES ('Müller & Café', 'Агент')" << true;
        QTest::newRow("embedded: emoji")
            << "embedded" << emoji << "VALUES ('" + emoji + "', 'Агент')" << true;
        QTest::newRow("odbc: Latin") << "odbc" << latin << "VALUES (N'Müller & Café', N'Агент')" << true;
        QTest::newRow("odbc: BMP CJK")
            << "odbc" << QStringLiteral("株式会社") << "VALUES (N'株式会社', N'Агент')" << true;
        // The tests' SQLite ODBC driver garbles characters outside the basic plane in a statement's
        // text (SQL Server takes them), so there only the text sent is checked.
        QTest::newRow("odbc: emoji") << "odbc" << emoji << "VALUES (N'" + emoji + "', N'Агент')" << false;
        QTest::newRow("odbc: CJK extension B")
            << "odbc" << cjk << "VALUES (N'" + cjk + "', N'Агент')" << false;
    }
    void templateLiteralsOnEachPath() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, clause);
        QFETCH(bool, readBack);
        TStatementRecorder recorder;
        auto* connection = new TADOConnection(m_f->Owner(), QStringLiteral("ADOConnection2"));
        connection->SetConnectionString(path == "odbc" ? m_f->Db.OdbcConnectionString()
                                                       : TDataModule3::ConnectionStringText());
        TADOQuery* q = Query({QStringLiteral("INSERT into provider([name],agentname)"), QString()});
        q->SetConnection(connection);
        const auto execute = [&] {
            ExecuteTemplate(q, {name, QStringLiteral("Агент")}, QStringLiteral("', '"));
        };
        if (readBack)
            execute();
        else
            TTestChecks::ThrownMessage(execute);
        QCOMPARE(recorder.Executed(),
                 QStringList{QStringLiteral("INSERT into provider([name],agentname)\r\n") + clause +
                             QStringLiteral("\r\n")});
        if (!readBack)
            return;
        TADOQuery* check = Query({QStringLiteral("select name from provider order by Idprovider desc")});
        check->SetConnection(connection);
        check->Open();
        QCOMPARE(check->FieldByName(QStringLiteral("name"))->AsString(), name);
    }

    void typedText_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");  // empty: refused
        QTest::newRow("number") << "orderprice"
                                << "1250"
                                << "1250";
        QTest::newRow("decimal comma") << "orderprice"
                                       << "12,5"
                                       << "12.5";
        QTest::newRow("letters in a number") << "orderprice"
                                             << "abc" << QString();
        QTest::newRow("letters in a key") << "Iddiscount"
                                          << "один" << QString();
        QTest::newRow("Cyrillic text") << "name"
                                       << "Пылесос «Вихрь»"
                                       << "Пылесос «Вихрь»";
    }
    void typedText() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        TADOTable* t = Table(QStringLiteral("wares"));
        t->Open();
        t->Edit();
        TField* f = t->FieldByName(field);
        const QString before = f->DisplayText();
        if (shown.isEmpty()) {
            QCOMPARE_THROWS(f->SetAsString(text), QStringLiteral("'%1' is not a valid number").arg(text));
            QCOMPARE(f->DisplayText(), before);
            QVERIFY(!t->Modified());
        } else {
            f->SetAsString(text);
            QCOMPARE(f->DisplayText(), shown);
            t->Post();
            QCOMPARE(TField::FormatValue(
                         m_f->Db.Scalar(QStringLiteral("select %1 from wares where Idwares = 1").arg(field)),
                         f->DataType()),
                     shown);
        }
    }

    // Text typed into a cell becomes one value whichever way it reaches the field: the grid converts
    // while the user types (ParseText, then SetValue), a handler or a closing editor calls SetAsString.
    void typedTextBecomesOneValue_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("value");  // invalid: refused
        const QVariant nullNumber = QVariant(QMetaType(QMetaType::Double));
        const QVariant nullDate = QVariant(QMetaType(QMetaType::QDateTime));
        const auto date = [](int y, int m, int d, int h = 0, int min = 0, int s = 0) {
            return QVariant(QDateTime(QDate(y, m, d), QTime(h, min, s)));
        };
        QTest::newRow("decimal comma") << "wares"
                                       << "orderprice"
                                       << " 12,5 " << QVariant(12.5);
        QTest::newRow("emptied number") << "wares"
                                        << "orderprice" << QString() << nullNumber;
        QTest::newRow("letters in a number") << "wares"
                                             << "orderprice"
                                             << "abc" << QVariant();
        // No database takes these: SQL Server refuses them, SQLite stores NaN as null.
        for (const char* notFinite : {"inf", "-Infinity", "+INF", "NaN", "-nan", "1e400", "-1,5e999"})
            QTest::addRow("not finite: %s", notFinite) << "wares"
                                                       << "saleprice" << notFinite << QVariant();
        QTest::newRow("text") << "wares"
                              << "name"
                              << " Пылесос " << QVariant(QStringLiteral(" Пылесос "));
        QTest::newRow("emptied text") << "wares"
                                      << "description" << QString() << QVariant(QString(""));
        QTest::newRow("date as shown") << "[order]"
                                       << "orderdate"
                                       << "01.02.2025" << date(2025, 2, 1);
        QTest::newRow("date and time as shown") << "[order]"
                                                << "orderdate"
                                                << "05.03.2024 9:05:07" << date(2024, 3, 5, 9, 5, 7);
        QTest::newRow("ISO date and time") << "[order]"
                                           << "orderdate"
                                           << "2024-12-31 23:59:00" << date(2024, 12, 31, 23, 59);
        QTest::newRow("emptied date") << "[order]"
                                      << "orderdate" << QString() << nullDate;
    }
    void typedTextBecomesOneValue() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QVariant, value);
        TADOTable* t = Table(table);
        t->Open();
        t->Edit();
        TField* f = t->FieldByName(field);
        if (!value.isValid()) {
            const QString refusal = QStringLiteral("'%1' is not a valid number").arg(text);
            QCOMPARE_THROWS(TField::ParseText(text, f->DataType()), refusal);
            QCOMPARE_THROWS(f->SetAsString(text), refusal);
            // The same number given as a value, not as text, is refused alike.
            bool isNumber = false;
            const double number = text.toDouble(&isNumber);
            if (isNumber)
                QVERIFY_THROWS_EXCEPTION(EDatabaseError, f->SetValue(number));
            QVERIFY(!t->Modified());
            return;
        }
        const QVariant parsed = TField::ParseText(text, f->DataType());
        f->SetAsString(text);
        for (const QVariant& got : {parsed, f->Value()}) {
            QCOMPARE(got.isNull(), value.isNull());
            QCOMPARE(got.typeId(), value.typeId());
            QCOMPARE(got, value);
        }
    }

    void filterNarrowsTheRows() {
        TADOTable* t = Table(QStringLiteral("provider"));
        t->Open();
        t->SetFilter(QStringLiteral("name = 'ЗАО «ТехноСнаб»'"));
        QCOMPARE(t->RecordCount(), 8);  // not yet in force
        t->SetFiltered(true);
        QCOMPARE(t->RecordCount(), 1);
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), 2);
        t->SetFilter(QStringLiteral("Idprovider = 5 AND phone = '8-812-448-13-66'"));
        QCOMPARE(t->RecordCount(), 1);
        t->SetFilter(QStringLiteral("name = 'О''Нил'"));
        QCOMPARE(t->RecordCount(), 0);
        t->SetFiltered(false);
        QCOMPARE(t->RecordCount(), 8);
    }

    // A filter naming a column the result lacks is refused before anything changes: the filter in
    // force, the rows shown, the current row and a row being edited stay as they were.
    void refusedFilterChangesNothing_data() {
        QTest::addColumn<QString>("before");  // the filter set before
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<bool>("editing");
        QTest::newRow("a new filter while filtered") << "" << true << false;
        QTest::newRow("a new filter while filtered and editing") << "" << true << true;
        QTest::newRow("filtering by the filter set before") << "nosuch = '1'" << false << false;
        QTest::newRow("filtering by it while editing") << "nosuch = '1'" << false << true;
    }
    void refusedFilterChangesNothing() {
        QFETCH(QString, before);
        QFETCH(bool, filtered);
        QFETCH(bool, editing);
        TADOTable* t = Table(QStringLiteral("discount"));
        t->Open();
        t->SetFilter(before);
        t->SetFiltered(filtered);
        t->MoveBy(2);
        const int count = t->RecordCount();
        if (editing) {
            t->Edit();
            t->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("77"));
        }
        const QString missing = TDataSet::FieldNotFoundMessage(t->Name(), QStringLiteral("nosuch"));
        if (filtered)
            QCOMPARE_THROWS(t->SetFilter(QStringLiteral("nosuch = '1'")), missing);
        else
            QCOMPARE_THROWS(t->SetFiltered(true), missing);
        QCOMPARE(t->Filter(), before);
        QCOMPARE(t->Filtered(), filtered);
        QCOMPARE(t->RecordCount(), count);
        QCOMPARE(t->RecNo(), 2);
        QCOMPARE(t->State(), editing ? dsEdit : dsBrowse);
        if (editing)
            QCOMPARE(t->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("77"));
    }

    void cellsKeepTheirValues_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("negative integer") << "-9007199254740993" << QVariant(qint64(-9007199254740993LL));
        QTest::newRow("large integer") << "9223372036854775807" << QVariant(qint64(9223372036854775807LL));
        QTest::newRow("real") << "-2.5e-7" << QVariant(-2.5e-7);
        QTest::newRow("null") << "NULL" << QVariant();
        QTest::newRow("empty text") << "''" << QVariant(QString());
        QTest::newRow("Cyrillic text") << "'Ёлка ёжик'" << QVariant(QStringLiteral("Ёлка ёжик"));
    }
    void cellsKeepTheirValues() {
        QFETCH(QString, expression);
        QFETCH(QVariant, value);
        TADOQuery* q = Query({QStringLiteral("select 1 as a, %1 as v, 'after' as b").arg(expression)});
        q->Open();
        TField* v = q->FieldByName(QStringLiteral("v"));
        QCOMPARE(v->IsNull(), value.isNull());
        if (!value.isNull()) {
            QCOMPARE(v->Value().toString(), value.toString());
            QCOMPARE(v->Value().typeId() == QMetaType::QString, value.typeId() == QMetaType::QString);
        }
        // The cell after it is read from the right place.
        QCOMPARE(q->FieldByName(QStringLiteral("b"))->AsString(), QStringLiteral("after"));
    }

    void textLongerThanABlockOfTheSnapshot() {
        const QString name = QString(300 * 1024, QChar(0x0416));  // 600 KiB of UTF-8
        m_f->Db.Execute(QStringLiteral("insert into provider (name) values (?)"), {name});
        TADOTable* t = Table(QStringLiteral("provider"));
        t->Open();
        t->Last();
        QCOMPARE(t->FieldByName(QStringLiteral("name"))->AsString(), name);
        t->Prior();
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), 8);
    }

    void refreshKeepsTheCurrentRowAndTheRowsHeld() {
        TADOTable* t = Table(QStringLiteral("provider"));
        t->Open();
        t->SetRecNo(4);
        m_f->Db.Execute(QStringLiteral("insert into provider (name) values ('Новый')"));
        m_f->Db.Execute(QStringLiteral("update provider set phone = '000' where Idprovider = 5"));
        t->Refresh();
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), 5);
        QCOMPARE(t->FieldByName(QStringLiteral("phone"))->AsString(), QStringLiteral("000"));
        QCOMPARE(t->RecordCount(), 8);  // the new supplier is not taken in
    }

    void refreshOfAJoinRunsTheStatementAgain() {
        TADOQuery* q =
            Query({QStringLiteral("select w.name, p.name as firm from wares w join period pe on "
                                  "pe.Idwares = w.Idwares join provider p on p.Idprovider = pe.Idprovider"),
                   QStringLiteral("order by w.Idwares")});
        q->Open();
        const int rows = q->RecordCount();
        q->SetRecNo(2);
        const QString name = q->FieldByName(QStringLiteral("name"))->AsString();
        m_f->Db.Execute(QStringLiteral("insert into period (Idprovider, Idwares, day) values (1, 2, 4)"));
        q->Refresh();
        QCOMPARE(q->RecordCount(), rows + 1);
        QCOMPARE(q->FieldByName(QStringLiteral("name"))->AsString(), name);
    }

    void dataSourceRelaysEveryChange() {
        TADOTable* t = Table(QStringLiteral("manager"));
        TDataSource source(nullptr, QStringLiteral("DataSource8"));
        source.SetDataSet(t);
        TRecordingLink link;
        link.SetDataSource(&source);
        t->Open();
        t->Next();
        t->Edit();
        t->FieldByName(QStringLiteral("phone"))->SetAsString(QStringLiteral("1"));
        t->Post();
        t->Close();
        const QVector<TDataEvent> expected{TDataEvent::Opened,       TDataEvent::Scrolled,
                                           TDataEvent::StateChanged, TDataEvent::FieldChanged,
                                           TDataEvent::StateChanged, TDataEvent::RowsChanged,
                                           TDataEvent::Posted,       TDataEvent::Closed};
        QCOMPARE(link.Events, expected);
        // Held back while a report walks the rows, then told once.
        t->Open();
        link.Events.clear();
        t->DisableControls();
        t->Last();
        t->First();
        QVERIFY(link.Events.isEmpty());
        t->EnableControls();
        QCOMPARE(link.Events, QVector<TDataEvent>{TDataEvent::RowsChanged});
        link.SetDataSource(nullptr);
    }

    void failingControlDoesNotSilenceTheOthers() {
        TADOTable* t = Table(QStringLiteral("manager"));
        TDataSource source(nullptr, QStringLiteral("DataSource8"));
        source.SetDataSet(t);
        TFailingLink failing;
        TRecordingLink recording;
        failing.SetDataSource(&source);
        recording.SetDataSource(&source);
        QCOMPARE_THROWS(t->Open(), "DBText9: Field 'nosuch' not found");
        QVERIFY(t->Active());
        QCOMPARE(recording.Events, QVector<TDataEvent>{TDataEvent::Opened});
        failing.SetDataSource(nullptr);
        recording.SetDataSource(nullptr);
    }

    void closedDataSetShowsNothing() {
        TADOTable* t = Table(QStringLiteral("manager"));
        t->Open();
        t->Edit();
        t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Потеряно"));
        t->Close();  // closing discards an unposted change
        QCOMPARE(t->RecordCount(), 0);
        QCOMPARE(t->FieldCount(), 0);
        QVERIFY(
            m_f->Db.Scalar(QStringLiteral("select count(*) from manager where name = 'Потеряно'")).toInt() ==
            0);
    }
};

QTEST_MAIN(TstDataSet)
#include "tst_dataset.moc"
