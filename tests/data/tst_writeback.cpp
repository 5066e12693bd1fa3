// Write-back of edited, inserted and deleted rows: by key for a table, by every original value for
// a view, per base table for a join (exactly one row or nothing), refusals keeping what was typed.
#include <QDateTime>
#include <QObject>
#include <QTest>

#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TDataSetFixture.h"
#include "TDbConnection.h"
#include "TField.h"
#include "TModuleStatements.h"
#include "TTestChecks.h"
#include "TWriteBack.h"

namespace {

const QString kNotLocated = QStringLiteral(
    "Row cannot be located for updating. Some values may have been changed since it was last read.");

// The goods list as the main window reads it after a sort by name.
QStringList GoodsList() {
    return TModuleStatements::GoodsList(QStringLiteral("ORDER BY Наименование ASC"));
}

}  // namespace

class TstWriteBack : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TDataSetFixture> m_f;

    TADOTable* Table(const QString& name) {
        TADOTable* t = m_f->Table(name, QStringLiteral("ADOTable3"));
        t->Open();
        return t;
    }
    TADOQuery* Query(const QStringList& lines) {
        TADOQuery* q = m_f->Query(lines, QStringLiteral("ADOQuery1"));
        q->Open();
        return q;
    }
    // Moves to the first row whose column shows the text.
    static void Locate(TDataSet* dataSet, const QString& column, const QString& text) {
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
            if (dataSet->FieldByName(column)->AsString() == text)
                return;
        }
        QFAIL(qPrintable(QStringLiteral("no row with %1 = %2").arg(column, text)));
    }

private Q_SLOTS:
    void init() { m_f = std::make_unique<TDataSetFixture>(); }
    void cleanup() { m_f.reset(); }

    // The database file gone while the program runs: every write says so, keeps what was typed (or
    // the row to delete), and goes through once the file is back.
    void lostDatabaseLosesNothing_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("post an edit") << "edit";
        QTest::newRow("post a new row") << "insert";
        QTest::newRow("delete") << "delete";
    }
    void lostDatabaseLosesNothing() {
        QFETCH(QString, action);
        m_f->Db.Execute(QStringLiteral("insert into manager (name) values ('Временный')"));
        TADOTable* t = Table(QStringLiteral("manager"));
        Locate(t, QStringLiteral("name"), QStringLiteral("Временный"));
        if (action == QLatin1String("edit")) {
            t->Edit();
            t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Д'Артаньян"));
        } else if (action == QLatin1String("insert")) {
            t->Append();
            t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Д'Артаньян"));
        }
        const auto act = [&] { action == QLatin1String("delete") ? t->Delete() : t->Post(); };
        const TDataSetState state = t->State();
        const int rows = t->RecordCount();
        m_f->Db.MakeUnreachable();
        const QString message = TTestChecks::ThrownMessage(act);
        QVERIFY2(message.contains(QLatin1String("was removed")), qPrintable(message));
        QCOMPARE(t->State(), state);
        QCOMPARE(t->RecordCount(), rows);
        if (action != QLatin1String("delete"))
            QCOMPARE(t->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Д'Артаньян"));
        m_f->Db.MakeReachable();
        act();
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(m_f->Db.Count(QStringLiteral("manager where name = 'Д''Артаньян'")),
                 action == QLatin1String("delete") ? 0 : 1);
        QCOMPARE(m_f->Db.Count(QStringLiteral("manager where name = 'Временный'")),
                 action == QLatin1String("insert") ? 1 : 0);
    }

    void tableRowByKey() {
        TADOTable* t = Table(QStringLiteral("provider"));
        QVERIFY(t->CanModify());
        t->SetRecNo(2);
        t->Edit();
        t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("ООО «О'Коннор»"));
        t->Post();
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(m_f->Db.Scalar(QStringLiteral("select name from provider where Idprovider = 3")).toString(),
                 QStringLiteral("ООО «О'Коннор»"));
        QCOMPARE(m_f->Db.Count(QStringLiteral("provider where name = 'ООО «О''Коннор»'")), 1);
    }

    void tableRowGoneIsNotLocated() {
        TADOTable* t = Table(QStringLiteral("manager"));
        m_f->Db.Execute(QStringLiteral("insert into manager (name) values ('Временный')"));
        t->Close();
        t->Open();
        t->Last();
        m_f->Db.Execute(QStringLiteral("delete from manager where name = 'Временный'"));
        t->Edit();
        t->FieldByName(QStringLiteral("phone"))->SetAsString(QStringLiteral("1"));
        QCOMPARE_THROWS(t->Post(), kNotLocated);
        QCOMPARE(t->State(), dsEdit);
    }

    // Two programs on one ware nothing refers to (another connection is the other program): a column changed by
    // both is refused to the later post, as is any change to a row the other deleted; changes to
    // different columns both stand, also from a null that the condition compares as null.
    void otherProgramsChangesAreNotOverwritten_data() {
        QTest::addColumn<bool>("odbc");
        QTest::addColumn<QString>("ours");    // the column we change; empty: we delete the row
        QTest::addColumn<QString>("theirs");  // the column they change first; empty: they delete it
        QTest::addColumn<bool>("refused");
        QTest::newRow("same column") << false << "orderprice" << "orderprice" << true;
        QTest::newRow("same column, ODBC") << true << "orderprice" << "orderprice" << true;
        QTest::newRow("same column, from null") << false << "description" << "description" << true;
        QTest::newRow("other columns") << false << "description" << "orderprice" << false;
        QTest::newRow("other columns, ODBC") << true << "orderprice" << "description" << false;
        QTest::newRow("row deleted, then changed") << false << "orderprice" << "" << true;
        QTest::newRow("row deleted, then deleted") << false << "" << "" << true;
        QTest::newRow("row changed, then deleted") << false << "" << "orderprice" << false;
    }
    void otherProgramsChangesAreNotOverwritten() {
        QFETCH(bool, odbc);
        QFETCH(QString, ours);
        QFETCH(QString, theirs);
        QFETCH(bool, refused);
        const auto text = [](const QString& column, bool mine) {
            if (column == QLatin1String("orderprice"))
                return QString::fromLatin1(mine ? "111" : "222");
            return QString::fromUtf8(mine ? "Наше описание" : "Их описание");
        };
        m_f->Db.Execute(QStringLiteral("update wares set description = NULL where Idwares = 40"));
        if (odbc)
            m_f->Connection->SetConnectionString(m_f->Db.OdbcConnectionString());
        auto* other = new TADOConnection(m_f->Owner(), QStringLiteral("ADOConnection2"));
        other->SetConnectionString(m_f->Connection->ConnectionString());
        TADOTable* mine = Table(QStringLiteral("wares"));
        TADOTable* their = m_f->Table(QStringLiteral("wares"), QStringLiteral("ADOTable4"));
        their->SetConnection(other);
        their->Open();
        Locate(mine, QStringLiteral("Idwares"), QStringLiteral("40"));
        Locate(their, QStringLiteral("Idwares"), QStringLiteral("40"));
        const int rows = mine->RecordCount();

        if (theirs.isEmpty()) {
            their->Delete();
        } else {
            their->Edit();
            their->FieldByName(theirs)->SetAsString(text(theirs, false));
            their->Post();
        }
        const auto ourStep = [&] {
            if (ours.isEmpty()) {
                mine->Delete();
                return;
            }
            mine->Edit();
            mine->FieldByName(ours)->SetAsString(text(ours, true));
            mine->Post();
        };
        if (!refused) {
            ourStep();
            their->Refresh();
            if (ours.isEmpty()) {
                QCOMPARE(their->RecordCount(), rows - 1);
            } else {
                QCOMPARE(their->FieldByName(ours)->AsString(), text(ours, true));
                QCOMPARE(their->FieldByName(theirs)->AsString(), text(theirs, false));
            }
            return;
        }
        QCOMPARE_THROWS(ourStep(), kNotLocated);
        QCOMPARE(mine->RecordCount(), rows);
        if (!ours.isEmpty()) {
            QCOMPARE(mine->State(), dsEdit);
            QCOMPARE(mine->FieldByName(ours)->AsString(), text(ours, true));
            mine->Cancel();
        }
        // Nothing of ours was written; a refresh shows what the other program left.
        mine->Refresh();
        if (theirs.isEmpty()) {
            QCOMPARE(mine->RecordCount(), rows - 1);
        } else {
            QCOMPARE(mine->FieldByName(QStringLiteral("Idwares"))->AsString(), QStringLiteral("40"));
            QCOMPARE(mine->FieldByName(theirs)->AsString(), text(theirs, false));
        }
    }

    // A data set over each view, on its first row: a change of one base table's columns is written and
    // read back; a change of two tables' columns, a delete and a new row are refused with the server's
    // message, nothing written and what was typed kept.
    void viewRowsWriteBackAsTheServerDoes_data() {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("action");      // update, delete or insert
        QTest::addColumn<QStringList>("typed");   // column, text, column, text...
        QTest::addColumn<QString>("written");     // the rows holding the first text typed
        QTest::addColumn<bool>("refused");
        struct TView {
            const char* Name;
            const char* Column;  // of one base table
            const char* Text;
            const char* Written;
            const char* OtherColumn;  // of another base table
            const char* OtherText;
        };
        const TView views[] = {
            {"firms_periods", "Срок ожидания", "77", "period WHERE day = 77", "Фирма",
             "Другая фирма"},
            {"new_order", "description", "Новое описание",
             "wares WHERE description = 'Новое описание'", "day", "77"},
            {"View_2", "name", "Новое имя", "wares WHERE name = 'Новое имя'", "Idprovider",
             "99"},
            {"orders_info", "Кол-во", "77", "orderitem WHERE warescount = 77", "Поставщик",
             "Другая фирма"},
            {"View_1", "Количество", "77", "saleitem WHERE quantity = 77", "Менеджер",
             "Другой менеджер"},
        };
        for (const TView& v : views) {
            const QStringList one{QString::fromUtf8(v.Column), QString::fromUtf8(v.Text)};
            const QString written = QString::fromUtf8(v.Written);
            QTest::addRow("%s: one base table", v.Name) << v.Name << "update" << one << written << false;
            QTest::addRow("%s: two base tables", v.Name)
                << v.Name << "update"
                << one + QStringList{QString::fromUtf8(v.OtherColumn), QString::fromUtf8(v.OtherText)}
                << written << true;
            QTest::addRow("%s: delete", v.Name) << v.Name << "delete" << QStringList() << QString() << true;
            QTest::addRow("%s: insert", v.Name) << v.Name << "insert" << one << written << true;
        }
    }
    void viewRowsWriteBackAsTheServerDoes() {
        QFETCH(QString, view);
        QFETCH(QString, action);
        QFETCH(QStringList, typed);
        QFETCH(QString, written);
        QFETCH(bool, refused);
        TADOTable* t = Table(view);
        const int rows = t->RecordCount();
        QVERIFY(rows > 0);
        QVERIFY(t->CanModify());
        QVERIFY(t->CanDelete());
        QVERIFY(!t->CanInsert());
        const QString message = TWriteBack::ViewNotUpdatableMessage(view);
        if (action == QLatin1String("delete")) {
            QCOMPARE_THROWS(t->Delete(), message);
        } else if (action == QLatin1String("insert")) {
            QCOMPARE_THROWS(t->Append(), message);
        } else {
            t->Edit();
            for (int i = 0; i < typed.size(); i += 2)
                t->FieldByName(typed.at(i))->SetAsString(typed.at(i + 1));
            if (refused) {
                QCOMPARE_THROWS(t->Post(), message);
                QCOMPARE(t->State(), dsEdit);
                for (int i = 0; i < typed.size(); i += 2)
                    QCOMPARE(t->FieldByName(typed.at(i))->AsString(), typed.at(i + 1));
            } else {
                t->Post();
                QCOMPARE(t->FieldByName(typed.at(0))->AsString(), typed.at(1));
            }
        }
        QCOMPARE(t->RecordCount(), rows);
        QCOMPARE(m_f->Db.Count(view), rows);
        if (!written.isEmpty())
            QCOMPARE(m_f->Db.Count(written), refused ? 0 : 1);
    }

    void viewsThroughOdbcToTheEmbeddedEngineAreReadOnly() {
        // That driver counts no row for a change a view's trigger makes, so none is offered.
        m_f->Connection->SetConnectionString(m_f->Db.OdbcConnectionString());
        TADOTable* t = Table(QStringLiteral("[firms_periods]"));
        QVERIFY(t->RecordCount() > 0);
        QVERIFY(!t->CanModify());
        QCOMPARE_THROWS(t->Edit(), QStringLiteral("ADOTable3: Cannot modify a read-only dataset"));
    }

    void joinColumnReachesExactlyOneRow_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("check");  // a count that must become 1
        QTest::newRow("ware's sale price") << "Цена продажи"
                                           << "777"
                                           << "wares where saleprice = 777";
        QTest::newRow("ware's name") << "Наименование"
                                     << "Тостер «Заря»"
                                     << "wares where name = 'Тостер «Заря»'";
        QTest::newRow("supplier's name") << "Поставщик"
                                         << "ООО «Новое имя»"
                                         << "provider where name = 'ООО «Новое имя»'";
    }
    void joinColumnReachesExactlyOneRow() {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, check);
        TADOQuery* q = Query(GoodsList());
        QVERIFY(q->CanModify());
        q->SetRecNo(3);
        const int wares = m_f->Db.Count(QStringLiteral("wares"));
        const QString otherName = q->FieldByName(QStringLiteral("Наименование"))->AsString();
        q->Edit();
        q->FieldByName(column)->SetAsString(text);
        q->Post();
        QCOMPARE(m_f->Db.Count(check), 1);
        QCOMPARE(m_f->Db.Count(QStringLiteral("wares")), wares);
        QCOMPARE(q->FieldByName(column)->AsString(), text);
        if (column != QStringLiteral("Наименование"))
            QCOMPARE(q->FieldByName(QStringLiteral("Наименование"))->AsString(), otherName);
    }

    void ambiguousMatchWritesNothing() {
        // Two wares that the goods list cannot tell apart.
        m_f->Db.Execute(
            QStringLiteral("insert into wares (name, description, orderprice, saleprice, Iddiscount) "
                           "values ('Утюг', 'Двойник', 100, 120, 1), ('Утюг', 'Двойник', 100, 120, 1)"));
        m_f->Db.Execute(
            QStringLiteral("insert into period (Idprovider, Idwares, day) select 1, Idwares, 3 from wares "
                           "where description = 'Двойник'"));
        TADOQuery* q = Query(GoodsList());
        Locate(q, QStringLiteral("Описание"), QStringLiteral("Двойник"));
        q->Edit();
        q->FieldByName(QStringLiteral("Цена продажи"))->SetAsString(QStringLiteral("99"));
        QCOMPARE_THROWS(q->Post(), kNotLocated);
        QCOMPARE(m_f->Db.Count(QStringLiteral("wares where description = 'Двойник' and saleprice = 120")), 2);
        QCOMPARE(q->State(), dsEdit);
        QCOMPARE(q->FieldByName(QStringLiteral("Цена продажи"))->AsString(), QStringLiteral("99"));
    }

    void joinChangeRefusedByOneTableWritesNothing() {
        // The ware's new name would be taken; the supplier's empty name is refused (NOT NULL).
        TADOQuery* q = Query(GoodsList());
        q->SetRecNo(2);
        const QString ware = q->FieldByName(QStringLiteral("Наименование"))->AsString();
        q->Edit();
        q->FieldByName(QStringLiteral("Наименование"))->SetAsString(QStringLiteral("Чайник «Новый»"));
        q->FieldByName(QStringLiteral("Поставщик"))->Clear();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q->Post());
        QCOMPARE(m_f->Db.Count(QStringLiteral("wares where name = 'Чайник «Новый»'")), 0);
        QCOMPARE(m_f->Db.Scalar(QStringLiteral("select count(*) from wares where name = ?"), {ware}).toInt(),
                 1);
        QCOMPARE(q->State(), dsEdit);
        QCOMPARE(q->FieldByName(QStringLiteral("Наименование"))->AsString(),
                 QStringLiteral("Чайник «Новый»"));
        // Corrected, the same change goes through whole.
        q->FieldByName(QStringLiteral("Поставщик"))->SetAsString(QStringLiteral("ООО «Исправлено»"));
        q->Post();
        QCOMPARE(m_f->Db.Count(QStringLiteral("wares where name = 'Чайник «Новый»'")), 1);
        QCOMPARE(m_f->Db.Count(QStringLiteral("provider where name = 'ООО «Исправлено»'")), 1);
    }

    void joinRefusesInsertAndDelete() {
        TADOQuery* q = Query(GoodsList());
        const int rows = q->RecordCount();
        const int periods = m_f->Db.Count(QStringLiteral("period"));
        QCOMPARE_THROWS(q->Insert(), TWriteBack::JoinInsertDeleteMessage());
        QCOMPARE(q->State(), dsBrowse);
        QCOMPARE_THROWS(q->Delete(), TWriteBack::JoinInsertDeleteMessage());
        QCOMPARE(q->RecordCount(), rows);
        QCOMPARE(m_f->Db.Count(QStringLiteral("period")), periods);
    }

    void readOnlyWithoutBaseColumns() {
        TADOQuery* q = Query({QStringLiteral("select count(*) as n, max(name) as last from provider")});
        QVERIFY(!q->CanModify());
        QVERIFY_THROWS_EXCEPTION(EInvalidOperation, q->Edit());
    }

    void refusedPostKeepsTheTypedValues() {
        TADOTable* t = Table(QStringLiteral("wares"));
        t->SetRecNo(1);
        const int id = int(t->FieldByName(QStringLiteral("Idwares"))->AsInteger());
        const double price = t->FieldByName(QStringLiteral("orderprice"))->AsFloat();
        t->Edit();
        t->FieldByName(QStringLiteral("description"))->SetAsString(QStringLiteral("Новое описание"));
        t->FieldByName(QStringLiteral("orderprice"))
            ->SetAsString(QStringLiteral("-5"));  // the CHECK refuses it
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t->Post());
        QCOMPARE(t->State(), dsEdit);
        QCOMPARE(t->FieldByName(QStringLiteral("orderprice"))->AsString(), QStringLiteral("-5"));
        QCOMPARE(t->FieldByName(QStringLiteral("description"))->AsString(), QStringLiteral("Новое описание"));
        QCOMPARE(
            m_f->Db.Scalar(QStringLiteral("select orderprice from wares where Idwares = ?"), {id}).toDouble(),
            price);
        // Leaving the row tries to post again and is refused again: the row stays.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t->Next());
        QCOMPARE(t->RecNo(), 1);
        t->FieldByName(QStringLiteral("orderprice"))->SetAsString(QStringLiteral("5"));
        t->Next();
        QCOMPARE(
            m_f->Db.Scalar(QStringLiteral("select orderprice from wares where Idwares = ?"), {id}).toDouble(),
            5.0);
    }

    // The grid converts the editor's text as the user types; a handler sets the text whole. Both
    // reach the database as a date its CHECK takes.
    void dateTypedAsShown_data() {
        QTest::addColumn<bool>("whileTyping");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        for (const bool whileTyping : {false, true}) {
            const char* path = whileTyping ? "while typing" : "as a whole";
            QTest::addRow("day, %s", path) << whileTyping << "01.02.2025"
                                           << "2025-02-01 00:00:00";
            QTest::addRow("day and time as shown, %s", path) << whileTyping << "05.03.2024 9:05:07"
                                                             << "2024-03-05 09:05:07";
            QTest::addRow("ISO, %s", path) << whileTyping << "2024-12-31 23:59:00"
                                           << "2024-12-31 23:59:00";
        }
    }
    void dateTypedAsShown() {
        QFETCH(bool, whileTyping);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        TADOTable* t = Table(QStringLiteral("[order]"));
        const qint64 id = t->FieldByName(QStringLiteral("Idorder"))->AsInteger();
        t->Edit();
        TField* date = t->FieldByName(QStringLiteral("orderdate"));
        if (whileTyping)
            date->SetValue(TField::ParseText(typed, date->DataType()));
        else
            date->SetAsString(typed);
        t->Post();
        QCOMPARE(m_f->Db.Scalar(QStringLiteral("select orderdate from [order] where Idorder = ?"), {id})
                     .toString(),
                 stored);
        QCOMPARE(t->FieldByName(QStringLiteral("orderdate"))->Value().toDateTime(),
                 QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }

    void insertedRowGetsItsKey_data() {
        QTest::addColumn<bool>("odbc");
        QTest::newRow("embedded") << false;
        QTest::newRow("ODBC") << true;
    }
    void insertedRowGetsItsKey() {
        QFETCH(bool, odbc);
        if (odbc)
            m_f->Connection->SetConnectionString(m_f->Db.OdbcConnectionString());
        TADOTable* t = Table(QStringLiteral("wares"));
        const int rows = t->RecordCount();
        t->Append();
        QVERIFY(t->FieldByName(QStringLiteral("Idwares"))->IsNull());
        t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Миксер"));
        t->FieldByName(QStringLiteral("orderprice"))->SetAsString(QStringLiteral("1000"));
        t->FieldByName(QStringLiteral("Iddiscount"))->SetAsString(QStringLiteral("1"));
        t->Post();
        QCOMPARE(t->RecordCount(), rows + 1);
        const qint64 key = t->FieldByName(QStringLiteral("Idwares"))->AsInteger();
        QCOMPARE(key, qint64(41));  // the demo data has 40 wares
        // What the database filled in shows at once (the sale price from the purchase price).
        QCOMPARE(t->FieldByName(QStringLiteral("saleprice"))->AsFloat(), 1250.0);
        // Written once, under that key, as a fresh read finds it.
        t->Close();
        t->Open();
        t->Last();
        QCOMPARE(t->RecordCount(), rows + 1);
        QCOMPARE(t->FieldByName(QStringLiteral("Idwares"))->AsInteger(), key);
        QCOMPARE(t->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("Миксер"));
    }

    void untouchedNewRowIsCancelledOnLeaving() {
        TADOTable* t = Table(QStringLiteral("discount"));
        const int rows = t->RecordCount();
        t->SetRecNo(1);
        t->Insert();
        QCOMPARE(t->RecordCount(), rows + 1);
        QCOMPARE(t->RecNo(), 1);
        t->Next();
        QCOMPARE(t->RecordCount(), rows);
        QCOMPARE(m_f->Db.Count(QStringLiteral("discount")), rows);
    }

    void deleteByKeyAndRefusedDelete() {
        TADOTable* t = Table(QStringLiteral("provider"));
        m_f->Db.Execute(QStringLiteral("insert into provider (name) values ('Без заказов')"));
        t->Close();
        t->Open();
        const int rows = t->RecordCount();
        // Referred to by orders: the database refuses and the row stays.
        t->SetRecNo(0);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t->Delete());
        QCOMPARE(t->RecordCount(), rows);
        QCOMPARE(t->FieldByName(QStringLiteral("Idprovider"))->AsInteger(), 1);
        t->Last();
        t->Delete();
        QCOMPARE(t->RecordCount(), rows - 1);
        QCOMPARE(t->RecNo(), rows - 2);  // the new last row
        QCOMPARE(m_f->Db.Count(QStringLiteral("provider where name = 'Без заказов'")), 0);
    }

    void deleteMiddleRowMakesTheNextCurrent() {
        TADOTable* t = Table(QStringLiteral("discount"));
        m_f->Db.Execute(QStringLiteral("insert into discount ([percent]) values (33), (44)"));
        t->Close();
        t->Open();
        Locate(t, QStringLiteral("percent"), QStringLiteral("33"));
        t->Delete();
        QCOMPARE(t->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("44"));
    }

    // A row being edited and then deleted: a refused delete keeps the row in editing with what was
    // typed; a delete that goes through takes the typed values with the row.
    void deleteWhileEditing_data() {
        QTest::addColumn<qint64>("level");
        QTest::addColumn<bool>("referenced");
        QTest::newRow("level the wares refer to") << qint64(2) << true;
        QTest::newRow("level nobody refers to") << qint64(6) << false;
    }
    void deleteWhileEditing() {
        QFETCH(qint64, level);
        QFETCH(bool, referenced);
        TADOTable* t = Table(QStringLiteral("discount"));
        Locate(t, QStringLiteral("Iddiscount"), QString::number(level));
        const int rows = t->RecordCount();
        const double percent = t->FieldByName(QStringLiteral("percent"))->AsFloat();
        t->Edit();
        t->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("4"));
        if (referenced) {
            const QString refusal = TTestChecks::ThrownMessage([&] { t->Delete(); });
            QVERIFY2(refusal.contains(QStringLiteral("FOREIGN KEY")), qPrintable(refusal));
            QCOMPARE(t->State(), dsEdit);
            QVERIFY(t->Modified());
            QCOMPARE(t->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("4"));
            QCOMPARE(t->RecordCount(), rows);
            QCOMPARE(
                m_f->Db.Scalar(QStringLiteral("select [percent] from discount where Iddiscount = ?"), {level})
                    .toDouble(),
                percent);
            t->Post();  // what was typed is still there to be written
            QCOMPARE(
                m_f->Db.Scalar(QStringLiteral("select [percent] from discount where Iddiscount = ?"), {level})
                    .toDouble(),
                4.0);
        } else {
            t->Delete();
            QCOMPARE(t->State(), dsBrowse);
            QCOMPARE(t->RecordCount(), rows - 1);
            QCOMPARE(m_f->Db.Count(QStringLiteral("discount where Iddiscount = %1").arg(level)), 0);
            QCOMPARE(m_f->Db.Count(QStringLiteral("discount where [percent] = 4")), 0);
        }
    }

    // An insert or delete the data set cannot write is refused before anything happens: a row being
    // edited stays in editing, unposted, with what was typed.
    void refusedInsertOrDeleteChangesNothing_data() {
        QTest::addColumn<bool>("join");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("message");
        for (const char* operation : {"insert", "append", "delete"}) {
            QTest::addRow("goods list being edited, %s", operation)
                << true << QString::fromLatin1(operation) << TWriteBack::JoinInsertDeleteMessage();
            QTest::addRow("read-only result, %s", operation)
                << false << QString::fromLatin1(operation)
                << QStringLiteral("ADOQuery1: Cannot modify a read-only dataset");
        }
    }
    void refusedInsertOrDeleteChangesNothing() {
        QFETCH(bool, join);
        QFETCH(QString, operation);
        QFETCH(QString, message);
        TADOQuery* q = Query(
            join ? GoodsList()
                 : QStringList{QStringLiteral("select count(*) as n, max(name) as last from provider")});
        QCOMPARE(q->CanInsert(), false);
        QCOMPARE(q->CanDelete(), false);
        QCOMPARE(q->CanModify(), join);
        if (join) {
            q->SetRecNo(1);
            q->Edit();
            q->FieldByName(QStringLiteral("Описание"))->SetAsString(QStringLiteral("Правка"));
        }
        const int rows = q->RecordCount();
        const TDataSetState state = q->State();
        if (operation == QLatin1String("insert"))
            QCOMPARE_THROWS(q->Insert(), message);
        else if (operation == QLatin1String("append"))
            QCOMPARE_THROWS(q->Append(), message);
        else
            QCOMPARE_THROWS(q->Delete(), message);
        QCOMPARE(q->State(), state);
        QCOMPARE(q->RecordCount(), rows);
        QCOMPARE(m_f->Db.Count(QStringLiteral("wares where description = 'Правка'")), 0);
        if (join) {
            QCOMPARE(q->RecNo(), 1);
            QCOMPARE(q->FieldByName(QStringLiteral("Описание"))->AsString(), QStringLiteral("Правка"));
        }
    }

    // After a post the row shows what the database made of it: prices rounded to cents as a
    // decimal(12,2) column stores them, the sale price its trigger computes.
    void postedRowHoldsWhatTheDatabaseHolds_data() {
        QTest::addColumn<bool>("insert");
        QTest::newRow("changed row") << false;
        QTest::newRow("new row") << true;
    }
    void postedRowHoldsWhatTheDatabaseHolds() {
        QFETCH(bool, insert);
        m_f->Db.Execute(QStringLiteral(
            "CREATE TRIGGER wares_cents AFTER UPDATE OF orderprice ON wares WHEN NEW.orderprice <> "
            "round(NEW.orderprice, 2) BEGIN UPDATE wares SET orderprice = round(NEW.orderprice, 2), "
            "saleprice = "
            "round(NEW.orderprice * 1.25, 2) WHERE Idwares = NEW.Idwares; END"));
        m_f->Db.Execute(QStringLiteral(
            "CREATE TRIGGER wares_cents_new AFTER INSERT ON wares BEGIN UPDATE wares SET orderprice = "
            "round(NEW.orderprice, 2) WHERE Idwares = NEW.Idwares; END"));
        TADOTable* t = Table(QStringLiteral("wares"));
        t->SetRecNo(4);
        if (insert) {
            t->Append();
            t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Весы кухонные"));
            t->FieldByName(QStringLiteral("Iddiscount"))->SetAsString(QStringLiteral("1"));
        } else {
            t->Edit();
        }
        t->FieldByName(QStringLiteral("orderprice"))->SetAsString(QStringLiteral("12.345"));
        t->Post();
        const qint64 id = t->FieldByName(QStringLiteral("Idwares"))->AsInteger();
        QCOMPARE(t->FieldByName(QStringLiteral("orderprice"))->AsFloat(), 12.35);
        QCOMPARE(t->FieldByName(QStringLiteral("saleprice"))->AsFloat(), 15.43);
        QCOMPARE(
            m_f->Db.Scalar(QStringLiteral("select orderprice from wares where Idwares = ?"), {id}).toDouble(),
            12.35);
        // The row is written again from what it holds now.
        t->Edit();
        t->FieldByName(QStringLiteral("description"))->SetAsString(QStringLiteral("до 5 кг"));
        t->Post();
        QCOMPARE(m_f->Db.Count(QStringLiteral("wares where description = 'до 5 кг' and orderprice = 12.35")),
                 1);
    }

    // A table without a key is written by every original value, so its row must hold what the
    // database stored, or the next write of it finds no row: it is read back by the values the
    // change left alone where they single it out.
    void keylessRowIsWrittenAgainAfterTheDatabaseChangedIt() {
        m_f->Db.Execute(QStringLiteral("CREATE TABLE tariff (name TEXT, amount REAL) STRICT"));
        m_f->Db.Execute(QStringLiteral("INSERT INTO tariff VALUES ('Доставка', 500), ('Подъём', 300)"));
        m_f->Db.Execute(QStringLiteral(
            "CREATE TRIGGER tariff_cents AFTER UPDATE OF amount ON tariff WHEN NEW.amount <> "
            "round(NEW.amount, "
            "2) BEGIN UPDATE tariff SET amount = round(NEW.amount, 2) WHERE rowid = NEW.rowid; END"));
        TADOTable* t = Table(QStringLiteral("tariff"));
        t->Edit();
        t->FieldByName(QStringLiteral("amount"))->SetAsString(QStringLiteral("12.345"));
        t->Post();
        QCOMPARE(t->FieldByName(QStringLiteral("amount"))->AsFloat(), 12.35);
        t->Edit();
        t->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Доставка до двери"));
        t->Post();
        QCOMPARE(m_f->Db.Count(QStringLiteral("tariff where name = 'Доставка до двери' and amount = 12.35")),
                 1);
    }

    // A new row that the database takes but that cannot be read back is not kept: the whole insert
    // is undone, the row stays new with what was typed, and posting it again writes it once.
    // A new level that the database drops, or whose key a trigger moves away: the post is refused,
    // nothing stays written, and once the trigger is gone the row is written once.
    void insertNotWrittenOrNotReadBackIsRefused_data() {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("message");
        QTest::newRow("dropped") << "BEFORE INSERT ON discount BEGIN SELECT RAISE(IGNORE); END"
                                 << TWriteBack::NotInsertedMessage();
        QTest::newRow("key moved") << "AFTER INSERT ON discount BEGIN UPDATE discount SET Iddiscount = "
                                      "NEW.Iddiscount + 1000 WHERE Iddiscount = NEW.Iddiscount; END"
                                   << TWriteBack::ReadBackFailedMessage();
    }
    void insertNotWrittenOrNotReadBackIsRefused() {
        QFETCH(QString, trigger);
        QFETCH(QString, message);
        m_f->Db.Execute(QStringLiteral("CREATE TRIGGER discount_probe ") + trigger);
        TADOTable* t = Table(QStringLiteral("discount"));
        const int levels = m_f->Db.Count(QStringLiteral("discount"));
        t->Append();
        t->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("42"));
        QCOMPARE_THROWS(t->Post(), message);
        QCOMPARE(m_f->Db.Count(QStringLiteral("discount")), levels);
        QCOMPARE(t->State(), dsInsert);
        QCOMPARE(t->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("42"));
        m_f->Db.Execute(QStringLiteral("DROP TRIGGER discount_probe"));
        t->Post();
        QCOMPARE(m_f->Db.Count(QStringLiteral("discount")), levels + 1);
        QCOMPARE(m_f->Db.Count(QStringLiteral("discount where [percent] = 42")), 1);
        QCOMPARE(t->FieldByName(QStringLiteral("Iddiscount"))->AsInteger(),
                 m_f->Db.Scalar(QStringLiteral("select Iddiscount from discount where [percent] = 42"))
                     .toLongLong());
    }
};

QTEST_MAIN(TstWriteBack)
#include "tst_writeback.moc"
