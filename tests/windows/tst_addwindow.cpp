// The add window through the running program (TEntryWindowFixture): opened from the unlocked main
// window, text typed into its edits, its tick buttons clicked, the pickers answered by moving their data
// set's current row, the discount grid driven by keys and its navigator, the database read back.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "TADOQuery.h"
#include "TADOTable.h"
#include "TBitBtn.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDBText.h"
#include "TEntryWindowFixture.h"
#include "TErrorBox.h"
#include "TField.h"
#include "TLabeledEdit.h"
#include "TRadioButton.h"
#include "TTestChecks.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"

namespace {

const QString kNotAll = QStringLiteral("Введены не все данные!");

// What the user does to replace an edit's text: select it all, then type (or delete it).
void Retype(TLabeledEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        TTestChecks::TypeText(edit, text);
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// The labelled edits of a tick button's group box, top to bottom, as the user fills them.
QList<TLabeledEdit*> GroupEdits(const QString& tick) {
    return Form4->findChild<TBitBtn*>(tick)->parentWidget()->findChildren<TLabeledEdit*>();
}

void Fill(const QString& tick, const QStringList& texts) {
    const QList<TLabeledEdit*> edits = GroupEdits(tick);
    QCOMPARE(edits.size(), texts.size());
    for (int i = 0; i < edits.size(); ++i)
        Retype(edits[i], texts[i]);
}

QStringList Texts(const QString& tick) {
    QStringList texts;
    for (TLabeledEdit* edit : GroupEdits(tick))
        texts << edit->Text();
    return texts;
}

// The four field labels and the period edit, as one text to compare.
QString GroupFour() {
    return QStringList{Form4->DBText1->Caption(), Form4->DBText2->Caption(), Form4->DBText3->Caption(),
                       Form4->DBText4->Caption(), Form4->LabeledEdit10->Text()}
        .join(QLatin1Char('|'));
}

}  // namespace

class TstAddWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<TEntryWindowFixture>(); }
    void cleanup() { m_f.reset(); }
    void insertSendsTheTypedTexts_data();
    void insertSendsTheTypedTexts();
    void emptyFieldSendsNothing_data();
    void emptyFieldSendsNothing();
    void refusedInsertKeepsTheFields_data();
    void refusedInsertKeepsTheFields();
    void longTextIsStoredWhole();
    void periodFromTheChoices_data();
    void periodFromTheChoices();
    void activationBlanksOncePerOpening_data();
    void activationBlanksOncePerOpening();
    void levelAddedInTheGridServesANewWare();
    void levelInUseIsNotDeleted_data();
    void levelInUseIsNotDeleted();

private:
    // Opens the add window with opener ("Button1" or "N4" of the main window), runs steps while it is
    // up and closes it with "Отмена" (BitBtn5).
    void WhileOpen(const std::function<void()>& steps, const QString& opener = QStringLiteral("Button1"));
    // Opens a picker with its button; while it is up, moves its data set by moves rows and closes it.
    void Pick(QPushButton* button, TDataSet* dataSet, int moves, const QString& picker);
    // The message boxes since the last call, the error box as the database's refusal of statement
    // ("error" when it is that refusal, "error: <text>" when it is another).
    QStringList TakeMessages(const QString& statement = QString());
    // The statement template that a tick button fills.
    static TADOQuery* Template(const QString& tick);
    void RunPeriodStep(const QString& step);

    std::unique_ptr<TEntryWindowFixture> m_f;
};

void TstAddWindow::WhileOpen(const std::function<void()>& steps, const QString& opener) {
    QWidget* opened = nullptr;
    if (auto* button = Form2->findChild<QPushButton*>(opener))
        opened = m_f->WhileOpen(button, steps, Form4->BitBtn5);
    else
        opened = m_f->WhileOpen(Form2->findChild<QAction*>(opener), steps, Form4->BitBtn5);
    QCOMPARE(opened, static_cast<QWidget*>(Form4));
    QVERIFY(!Form4->isVisible());
    QVERIFY(Form2->isEnabled());
}

void TstAddWindow::Pick(QPushButton* button, TDataSet* dataSet, int moves, const QString& picker) {
    QCOMPARE(m_f->PickMoved(button, dataSet, moves), picker);
}

QStringList TstAddWindow::TakeMessages(const QString& statement) {
    QStringList texts;
    for (const QString& seen : m_f->TakeMessages()) {
        if (seen != QLatin1String("error"))
            texts << seen.mid(QStringLiteral("message: ").size());
        else if (!statement.isEmpty() &&
                 m_f->LastError() == ErrorBoxText(m_f->Program().Db.Refusal(statement)))
            texts << seen;
        else
            texts << QStringLiteral("error: ") + m_f->LastError();
    }
    return texts;
}

TADOQuery* TstAddWindow::Template(const QString& tick) {
    const QHash<QString, TADOQuery*> templates{{"BitBtn1", DataModule3->ADOQuery2},
                                               {"BitBtn2", DataModule3->ADOQuery3},
                                               {"BitBtn3", DataModule3->ADOQuery4},
                                               {"BitBtn4", DataModule3->ADOQuery5}};
    return templates.value(tick);
}

// ---------------------------------------------------------------------------------------------------
// The supplier, manager and ware groups.

void TstAddWindow::insertSendsTheTypedTexts_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("texts");  // the group's edits, top to bottom
    QTest::addColumn<QString>("clause");     // line 1 of the template as sent
    QTest::addColumn<QString>("stored");     // the columns read back from the table's newest row
    QTest::addColumn<QString>("list");       // the data set of the table's picker or list

    const QString provider = QStringLiteral("name, agentname, phone FROM provider");
    const QString manager = QStringLiteral("name, phone FROM manager");
    const QString wares = QStringLiteral("name, description, orderprice, Iddiscount FROM wares");

    const QStringList quotes{"Д'Артаньян", "O'Brien \"Ltd\"", "'); DROP TABLE wares; --"};
    QTest::newRow("supplier") << "BitBtn1" << QStringList{"ООО «Ромашка»", "Иванов И. И.", "8-800-555-35-35"}
                              << "VALUES ('ООО «Ромашка»', 'Иванов И. И.', '8-800-555-35-35')" << provider
                              << "ADOTable4";
    QTest::newRow("supplier, quotes and a statement")
        << "BitBtn1" << quotes << "VALUES ('Д''Артаньян', 'O''Brien \"Ltd\"', '''); DROP TABLE wares; --')"
        << provider << "ADOTable4";
    // Spaces are text: nothing trims them and no format is checked.
    QTest::newRow("supplier, spaces only") << "BitBtn1" << QStringList{" ", "  ", "нет"}
                                           << "VALUES (' ', '  ', 'нет')" << provider << "ADOTable4";
    QTest::newRow("manager") << "BitBtn2" << QStringList{"Орлова Вера", "8-901-000-11-22"}
                             << "VALUES ('Орлова Вера', '8-901-000-11-22')" << manager << "ADOTable7";
    QTest::newRow("manager, quotes") << "BitBtn2" << QStringList{"Д'Артаньян", "'"}
                                     << "VALUES ('Д''Артаньян', '''')" << manager << "ADOTable7";
    // Numbers go as text literals; the database converts them.
    QTest::newRow("ware") << "BitBtn3" << QStringList{"Чайник Заря", "1,7 л", "990", "2"}
                          << "VALUES ('Чайник Заря', '1,7 л', '990', '2')" << wares << "ADOTable3";
    QTest::newRow("ware, quotes") << "BitBtn3" << QStringList{"Утюг \"Д'Артаньян\"", quotes[2], "10", "1"}
                                  << "VALUES ('Утюг \"Д''Артаньян\"', '''); DROP TABLE wares; --', '10', '1')"
                                  << wares << "ADOTable3";
}

void TstAddWindow::insertSendsTheTypedTexts() {
    QFETCH(QString, button);
    QFETCH(QStringList, texts);
    QFETCH(QString, clause);
    QFETCH(QString, stored);
    QFETCH(QString, list);
    QVERIFY(m_f->Start());
    const QString table = stored.section(QStringLiteral(" FROM "), 1);
    const int rows = m_f->Count(table);
    TDataSet* const shown = DataModule3->findChild<TDataSet*>(list);
    const int shownRows = shown->RecordCount();
    const QString objects = QStringLiteral("SELECT count(*), sum(length(sql)) FROM sqlite_master");
    const QStringList schema = m_f->Row(objects);
    WhileOpen([&] {
        Fill(button, texts);
        Click(Form4->findChild<TBitBtn*>(button));
        QCOMPARE(TakeMessages(), QStringList());
        QCOMPARE(Texts(button), QStringList(texts.size(), QString()));
    });
    QCOMPARE(Template(button)->SQL().Strings(1), clause);
    QCOMPARE(m_f->Count(table), rows + 1);
    QCOMPARE(m_f->Row(QStringLiteral("SELECT ") + stored + QStringLiteral(" ORDER BY rowid DESC")), texts);
    // The statement's structure is its own: no table or other object changed.
    QCOMPARE(m_f->Row(objects), schema);
    // Nothing added shows in the table's picker or list until its data set is read again.
    QCOMPARE(shown->RecordCount(), shownRows);
    shown->Close();
    shown->Open();
    QCOMPARE(shown->RecordCount(), shownRows + 1);
}

void TstAddWindow::emptyFieldSendsNothing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("empty");  // the field left empty, counted from 0
    QTest::addColumn<QString>("table");

    const std::tuple<const char*, int, const char*> groups[] = {
        {"BitBtn1", 3, "provider"}, {"BitBtn2", 2, "manager"}, {"BitBtn3", 4, "wares"}};
    for (const auto& [button, fields, table] : groups)
        for (int i = 0; i < fields; ++i)
            QTest::addRow("%s without field %d", button, i + 1) << button << fields << i << table;
}

void TstAddWindow::emptyFieldSendsNothing() {
    QFETCH(QString, button);
    QFETCH(int, fields);
    QFETCH(int, empty);
    QFETCH(QString, table);
    QVERIFY(m_f->Start());
    const int rows = m_f->Count(table);
    QStringList texts(fields, QStringLiteral("1"));
    texts[empty].clear();
    WhileOpen([&] {
        Fill(button, texts);
        Click(Form4->findChild<TBitBtn*>(button));
        QCOMPARE(TakeMessages(), QStringList{kNotAll});
        QCOMPARE(Texts(button), texts);
    });
    QCOMPARE(m_f->Count(table), rows);
    QCOMPARE(Template(button)->SQL().Strings(1), QString());
}

void TstAddWindow::refusedInsertKeepsTheFields_data() {
    QTest::addColumn<QStringList>("texts");  // LabeledEdit6 .. LabeledEdit9
    QTest::addColumn<int>("wrong");
    QTest::addColumn<QString>("correction");

    QTest::newRow("letters in the price") << QStringList{"Чайник", "1 л", "дорого", "1"} << 2 << "990";
    QTest::newRow("negative price") << QStringList{"Чайник", "1 л", "-5", "1"} << 2 << "5";
    QTest::newRow("unknown discount level") << QStringList{"Чайник", "1 л", "990", "99"} << 3 << "6";
    QTest::newRow("discount level in words") << QStringList{"Чайник", "1 л", "990", "один"} << 3 << "1";
    QTest::newRow("price too large for a number") << QStringList{"Чайник", "1 л", "1e400", "1"} << 2 << "990";
}

void TstAddWindow::refusedInsertKeepsTheFields() {
    QFETCH(QStringList, texts);
    QFETCH(int, wrong);
    QFETCH(QString, correction);
    QVERIFY(m_f->Start());
    const QString ware = QStringLiteral("BitBtn3");
    const int rows = m_f->Count(QStringLiteral("wares"));
    WhileOpen([&] {
        Fill(ware, texts);
        Click(Form4->BitBtn3);
        QCOMPARE(TakeMessages(DataModule3->ADOQuery4->SQL().Text()), QStringList{"error"});
        QCOMPARE(Texts(ware), texts);
        QCOMPARE(m_f->Count(QStringLiteral("wares")), rows);

        // Corrected and sent again: the new clause replaces the refused one.
        Retype(GroupEdits(ware)[wrong], correction);
        Click(Form4->BitBtn3);
        QCOMPARE(TakeMessages(), QStringList());
        QCOMPARE(Texts(ware), QStringList(4, QString()));
    });
    texts[wrong] = correction;
    QCOMPARE(m_f->Count(QStringLiteral("wares")), rows + 1);
    QCOMPARE(m_f->Row(QStringLiteral("SELECT name, description, orderprice, Iddiscount FROM wares "
                                     "ORDER BY Idwares DESC")),
             texts);
}

// A name longer than a line edit takes by default (32,767 characters), pasted into the edit.
void TstAddWindow::longTextIsStoredWhole() {
    QVERIFY(m_f->Start());
    const QString name = QStringLiteral("Товар ") + QString(40000, QChar(0x0416)) + QStringLiteral(" конец");
    WhileOpen([&] {
        Fill(QStringLiteral("BitBtn3"),
             {QStringLiteral("x"), QStringLiteral("1 л"), QStringLiteral("990"), QStringLiteral("1")});
        QGuiApplication::clipboard()->setText(name);
        Form4->LabeledEdit6->setFocus();
        QTest::keyClick(Form4->LabeledEdit6, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Form4->LabeledEdit6, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Form4->LabeledEdit6->Text().size(), name.size());
        Click(Form4->BitBtn3);
        QCOMPARE(TakeMessages(), QStringList());
    });
    QCOMPARE(m_f->Row(QStringLiteral("SELECT name FROM wares ORDER BY Idwares DESC")), QStringList{name});
}

// ---------------------------------------------------------------------------------------------------
// The delivery period group: the choices arrive as moves of the shared data sets.

// One step of a period case: "ware+N" / "firm+N" open a picker and move its data set by N rows
// (N may be 0 or negative), "type:X" types X after what the period edit holds, "retype:X" replaces it,
// "tick" presses BitBtn4, "show:A|B|C|D|E" compares the four labels and the period edit.
void TstAddWindow::RunPeriodStep(const QString& step) {
    const QString arg = step.section(QLatin1Char(':'), 1);
    if (step.startsWith(QLatin1String("ware")))
        Pick(Form4->Button1, DataModule3->ADOTable3, step.mid(4).toInt(), QStringLiteral("TForm5"));
    else if (step.startsWith(QLatin1String("firm")))
        Pick(Form4->Button2, DataModule3->ADOTable4, step.mid(4).toInt(), QStringLiteral("TForm6"));
    else if (step.startsWith(QLatin1String("type:"))) {
        Form4->LabeledEdit10->setFocus();
        QTest::keyClick(Form4->LabeledEdit10, Qt::Key_End);
        TTestChecks::TypeText(Form4->LabeledEdit10, arg);
    } else if (step.startsWith(QLatin1String("retype:")))
        Retype(Form4->LabeledEdit10, arg);
    else if (step == QLatin1String("tick"))
        Click(Form4->BitBtn4);
    else if (step.startsWith(QLatin1String("show:")))
        QCOMPARE(GroupFour(), arg);
    else
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
}

void TstAddWindow::periodFromTheChoices_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("boxes");  // "error" for the database's refusal of the statement sent
    QTest::addColumn<QString>("clause");     // line 1 of ADOQuery5 at the end
    QTest::addColumn<QStringList>("added");  // new rows of period: supplier/ware/day

    const QString tv = QStringLiteral("2|LED, 55\", 4K UHD, Smart TV, HDR|2|ЗАО «ТехноСнаб»");
    QTest::newRow("at once: blanks sent, refused, kept")
        << QStringList{"tick", "show: | | | | "} << QStringList{"error"} << "VALUES (' ', ' ', ' ')"
        << QStringList{};
    QTest::newRow("typed after the blank")
        << QStringList{"ware+1", "firm+1", "show:" + tv + "| ", "type:10", "tick", "show:||||"}
        << QStringList{} << "VALUES ('2', '2', ' 10')" << QStringList{"2/2/10"};
    QTest::newRow("blank overwritten") << QStringList{"ware+1", "firm+1", "retype:7", "tick"} << QStringList{}
                                       << "VALUES ('2', '2', '7')" << QStringList{"2/2/7"};
    QTest::newRow("again right after an insert")
        << QStringList{"ware+1", "firm+1", "retype:7", "tick", "retype:8", "tick", "show:||||8"}
        << QStringList{kNotAll} << "VALUES ('2', '2', '7')" << QStringList{"2/2/7"};
    QTest::newRow("after an insert, only the firm chosen again")
        << QStringList{"ware+1", "firm+1",   "retype:7", "tick",
                       "firm+1", "retype:8", "tick",     "show:||3|ООО «Бытовая техника Урала»|8"}
        << QStringList{kNotAll} << "VALUES ('2', '2', '7')" << QStringList{"2/2/7"};
    QTest::newRow("after an insert, ware picker closed on its row")
        << QStringList{"ware+1", "firm+1", "retype:7", "tick", "ware+0", "firm+1", "retype:8", "tick"}
        << QStringList{kNotAll} << "VALUES ('2', '2', '7')" << QStringList{"2/2/7"};
    QTest::newRow("ware picker closed on its row: its blank is sent")
        << QStringList{"ware+0", "firm+1", "retype:5", "tick", "show: | |2|ЗАО «ТехноСнаб»|5"}
        << QStringList{"error"} << "VALUES ('2', ' ', '5')" << QStringList{};
    QTest::newRow("moved away and back for the row's values")
        << QStringList{"ware+1", "ware-1", "firm+1", "retype:9", "tick"} << QStringList{}
        << "VALUES ('2', '1', '9')" << QStringList{"2/1/9"};
    QTest::newRow("a period the pair already has")
        << QStringList{"ware+1",   "ware-1", "firm+3",
                       "retype:9", "tick",   "show:1|LED, 43\", Full HD, Smart TV|4|ИП Григорьев А. Н.|9"}
        << QStringList{"error"} << "VALUES ('4', '1', '9')" << QStringList{};
    QTest::newRow("a statement as the period")
        << QStringList{"ware+1", "firm+1", "retype:5'); DELETE FROM period; --", "tick"}
        << QStringList{"error"} << "VALUES ('2', '2', '5''); DELETE FROM period; --')" << QStringList{};
    QTest::newRow("letters as the period")
        << QStringList{"ware+1", "firm+1", "retype:неделя", "tick", "show:" + tv + "|неделя"}
        << QStringList{"error"} << "VALUES ('2', '2', 'неделя')" << QStringList{};
}

void TstAddWindow::periodFromTheChoices() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, boxes);
    QFETCH(QString, clause);
    QFETCH(QStringList, added);
    QVERIFY(m_f->Start());
    const int last = m_f->Row(QStringLiteral("SELECT max(Idperiod) FROM period")).value(0).toInt();
    TDataSet* const periods = DataModule3->ADOTable10;  // the delivery-period list
    const int listed = periods->RecordCount();
    const int goods = DataModule3->ADOQuery1->RecordCount();
    QStringList seen;
    WhileOpen([&] {
        for (const QString& step : steps) {
            RunPeriodStep(step);
            // A refusal is the database's own answer to the statement just sent.
            seen << TakeMessages(DataModule3->ADOQuery5->SQL().Text());
        }
    });
    QCOMPARE(seen, boxes);
    QCOMPARE(DataModule3->ADOQuery5->SQL().Strings(1), clause);
    const QStringList rows = m_f->Program().Column(
        QStringLiteral("SELECT Idprovider || '/' || Idwares || '/' || day FROM period WHERE Idperiod > ?"),
        {last});
    QCOMPARE(rows, added);
    // Not in the delivery-period list nor in the goods list until they are read again; a sort choice
    // reads the goods list.
    QCOMPARE(periods->RecordCount(), listed);
    QCOMPARE(DataModule3->ADOQuery1->RecordCount(), goods);
    periods->Close();
    periods->Open();
    QCOMPARE(periods->RecordCount(), listed + rows.size());
    QTest::mouseClick(Form2->RadioButton1, Qt::LeftButton);
    QCOMPARE(DataModule3->ADOQuery1->RecordCount(), goods + rows.size());
}

// ---------------------------------------------------------------------------------------------------
// Opening.

void TstAddWindow::activationBlanksOncePerOpening_data() {
    QTest::addColumn<QString>("opener");
    QTest::newRow("Button1") << "Button1";
    QTest::newRow("N4") << "N4";
}

void TstAddWindow::activationBlanksOncePerOpening() {
    QFETCH(QString, opener);
    QVERIFY(m_f->Start());
    WhileOpen(
        [&] {
            QCOMPARE(GroupFour(), QStringLiteral(" | | | | "));
            TTestChecks::TypeText(Form4->LabeledEdit10, QStringLiteral("15"));
            Retype(Form4->LabeledEdit1, QStringLiteral("Фирма"));
            // A box and both pickers closed without a move: no activation, no report to the labels.
            Click(Form4->BitBtn1);
            QCOMPARE(TakeMessages(), QStringList{kNotAll});
            Pick(Form4->Button1, DataModule3->ADOTable3, 0, QStringLiteral("TForm5"));
            Pick(Form4->Button2, DataModule3->ADOTable4, 0, QStringLiteral("TForm6"));
            QCOMPARE(GroupFour(), QStringLiteral(" | | | | 15"));
        },
        opener);
    // Moved elsewhere while the window is hidden: the labels follow, and the next opening blanks them.
    DataModule3->ADOTable3->Next();
    QCOMPARE(Form4->DBText1->Caption(), QStringLiteral("2"));
    WhileOpen(
        [&] {
            QCOMPARE(GroupFour(), QStringLiteral(" | | | | "));
            QCOMPARE(Form4->LabeledEdit1->Text(), QStringLiteral("Фирма"));
        },
        opener);
}

// ---------------------------------------------------------------------------------------------------
// The discount levels in the grid.

// A level appended in the grid gets its id from the database; that id, typed into LabeledEdit9 as
// Label2 says, is accepted for a new ware at once.
void TstAddWindow::levelAddedInTheGridServesANewWare() {
    QVERIFY(m_f->Start());
    QString id;
    WhileOpen([&] {
        TDBGrid* grid = Form4->DBGrid1;
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Down);  // a new row after the last
        QCOMPARE(DataModule3->ADOTable2->State(), dsInsert);
        QTest::keyClick(grid, Qt::Key_Right);
        TTestChecks::TypeText(grid, QStringLiteral("25"));
        QTest::mouseClick(Form4->DBNavigator1, Qt::LeftButton, {},
                          Form4->DBNavigator1->ButtonRect(TDBNavigator::nbPost).center());
        QCOMPARE(TakeMessages(), QStringList());
        QCOMPARE(DataModule3->ADOTable2->State(), dsBrowse);
        id = DataModule3->ADOTable2->FieldByName(QStringLiteral("Iddiscount"))->DisplayText();
        QVERIFY(!id.isEmpty());
        Retype(Form4->LabeledEdit6, QStringLiteral("Пылесос"));
        Retype(Form4->LabeledEdit7, QStringLiteral("-"));
        Retype(Form4->LabeledEdit8, QStringLiteral("100"));
        Retype(Form4->LabeledEdit9, id);
        Click(Form4->BitBtn3);
        QCOMPARE(TakeMessages(), QStringList());
    });
    QCOMPARE(m_f->Row(QStringLiteral("SELECT [percent] FROM discount WHERE Iddiscount = ") + id),
             QStringList{"25"});
    QCOMPARE(m_f->Row(QStringLiteral("SELECT Iddiscount FROM wares ORDER BY Idwares DESC")), QStringList{id});
}

void TstAddWindow::levelInUseIsNotDeleted_data() {
    QTest::addColumn<int>("level");       // 1 is given to wares; 7 is given to none
    QTest::addColumn<QString>("typed");   // typed into the level's percent cell before deleting
    QTest::addColumn<bool>("navigator");  // the navigator's delete button, or Ctrl+Delete in the grid
    QTest::addColumn<bool>("deleted");

    QTest::newRow("in use, navigator") << 1 << "" << true << false;
    QTest::newRow("in use, typed into, navigator") << 1 << "42" << true << false;
    QTest::newRow("in use, typed into, Ctrl+Delete") << 1 << "42" << false << false;
    QTest::newRow("unused, navigator") << 7 << "" << true << true;
}

void TstAddWindow::levelInUseIsNotDeleted() {
    QFETCH(int, level);
    QFETCH(QString, typed);
    QFETCH(bool, navigator);
    QFETCH(bool, deleted);
    QVERIFY(m_f->Start({QStringLiteral("INSERT INTO discount ([percent]) VALUES (20)")}));
    const QString percent = QStringLiteral("SELECT [percent] FROM discount WHERE Iddiscount = %1").arg(level);
    const QStringList stored = m_f->Row(percent);
    QVERIFY(!stored.isEmpty());
    const QString deletion = QStringLiteral("DELETE FROM discount WHERE Iddiscount = %1").arg(level);
    TDataSet* levels = DataModule3->ADOTable2;
    const int count = levels->RecordCount();
    WhileOpen([&] {
        TDBGrid* grid = Form4->DBGrid1;
        grid->setFocus();
        levels->SetRecNo(level - 1);
        QTest::keyClick(grid, Qt::Key_Right);
        if (!typed.isEmpty())
            TTestChecks::TypeText(grid, typed);
        m_f->Boxes().Press(QStringLiteral("OK"));  // "Delete record?"
        if (navigator)
            QTest::mouseClick(Form4->DBNavigator1, Qt::LeftButton, {},
                              Form4->DBNavigator1->ButtonRect(TDBNavigator::nbDelete).center());
        else
            QTest::keyClick(grid->EditorMode() ? static_cast<QWidget*>(grid->InplaceEditor()) : grid,
                            Qt::Key_Delete, Qt::ControlModifier);
        QStringList expected{QStringLiteral("Delete record?")};
        if (!deleted)
            expected << QStringLiteral("error");
        QCOMPARE(TakeMessages(deletion), expected);
        QCOMPARE(levels->RecordCount(), deleted ? count - 1 : count);
        if (deleted)
            return;
        // The row stays where it was, with what was typed still in its cell.
        QCOMPARE(levels->FieldByName(QStringLiteral("Iddiscount"))->AsString(), QString::number(level));
        QCOMPARE(levels->State(), typed.isEmpty() ? dsBrowse : dsEdit);
        if (!typed.isEmpty())
            QCOMPARE(grid->InplaceEditor()->text(), typed);
        levels->Cancel();
    });
    QCOMPARE(m_f->Row(percent), deleted ? QStringList() : stored);
}

QTEST_MAIN(TstAddWindow)
#include "tst_addwindow.moc"
