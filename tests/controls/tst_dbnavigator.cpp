// The navigator over a real table: the enabled set in each state, the delete confirmation, refusals
// by the database, equal widths, the keys and a real click.
#include <QAccessible>
#include <QMessageBox>
#include <QTest>

#include "TControlsFixture.h"
#include "TDBNavigator.h"
#include "TDataSet.h"
#include "TField.h"
#include "THandlerDispatch.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"

using Nav = TDBNavigator;

class TstDBNavigator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enabledSet_data();
    void enabledSet();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void deleteWhileInsertingOnlyCancels();
    void refusedPostAndDelete();
    void priorFromAnUntouchedNewRow();
    void clickOnAClosedDataSetDoesNothing();
    void equalWidths_data();
    void equalWidths();
    void keysMoveFocusAndPress();
    void mouseClick();
    void joinOffersNoInsertOrDelete();
    void buttonsToldByAction_data();
    void buttonsToldByAction();
};

namespace {

// A navigator of ten buttons on the fixture's data source, in the fixture's window.
struct TNavigatorFixture : TControlsFixture {
    TDBNavigator* Nav = new TDBNavigator(Window.get());
    TNavigatorFixture() {
        Nav->setObjectName(QStringLiteral("DBNavigator1"));
        Nav->setGeometry(10, 10, 240, 25);
        Nav->SetDataSource(Source);
    }
};

Nav::TButtonSet Enabled(TDBNavigator* nav) {
    Nav::TButtonSet set = 0;
    for (int b = 0; b < Nav::ButtonCount; ++b)
        if (nav->ButtonEnabled(Nav::TNavigateBtn(b)))
            set |= 1u << b;
    return set;
}

constexpr Nav::TButtonSet Bits(std::initializer_list<Nav::TNavigateBtn> buttons) {
    Nav::TButtonSet set = 0;
    for (auto b : buttons)
        set |= 1u << b;
    return set;
}

}  // namespace

void TstDBNavigator::enabledSet_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<unsigned>("enabled");
    using N = TDBNavigator;
    QTest::newRow("closed") << "closed" << 0u;
    QTest::newRow("open but empty") << "empty" << Bits({N::nbInsert, N::nbEdit, N::nbRefresh});
    QTest::newRow("first row") << "first"
                               << Bits({N::nbNext, N::nbLast, N::nbInsert, N::nbDelete, N::nbEdit,
                                        N::nbRefresh});
    QTest::newRow("last row") << "last"
                              << Bits({N::nbFirst, N::nbPrior, N::nbInsert, N::nbDelete, N::nbEdit,
                                       N::nbRefresh});
    QTest::newRow("middle row") << "middle"
                                << Bits({N::nbFirst, N::nbPrior, N::nbNext, N::nbLast, N::nbInsert,
                                         N::nbDelete, N::nbEdit, N::nbRefresh});
    QTest::newRow("editing") << "editing"
                             << Bits({N::nbFirst, N::nbPrior, N::nbNext, N::nbLast, N::nbInsert, N::nbDelete,
                                      N::nbPost, N::nbCancel, N::nbRefresh});
    QTest::newRow("prior cannot go further")
        << "prior at the beginning"
        << Bits({N::nbNext, N::nbLast, N::nbInsert, N::nbDelete, N::nbEdit, N::nbRefresh});
    QTest::newRow("navigator disabled") << "disabled" << 0u;
}

void TstDBNavigator::enabledSet() {
    QFETCH(QString, situation);
    QFETCH(unsigned, enabled);
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    if (situation == "empty") {
        f.Table->SetFilter(QStringLiteral("percent = '99'"));
        f.Table->SetFiltered(true);
    }
    if (situation != "closed")
        f.Table->Open();
    if (situation == "last")
        f.Table->Last();
    if (situation == "middle")
        f.Table->MoveBy(3);
    if (situation == "editing") {
        f.Table->MoveBy(3);
        f.Table->Edit();
    }
    if (situation == "prior at the beginning") {
        f.Table->Next();
        f.Table->Prior();
        f.Table->Prior();
    }
    if (situation == "disabled")
        nav->setEnabled(false);
    if (Enabled(nav) != enabled)
        qWarning("enabled %x, expected %x", Enabled(nav), enabled);
    QCOMPARE(Enabled(nav), enabled);
    if (situation == "disabled") {
        nav->setEnabled(true);
        QVERIFY(Enabled(nav) != 0);
    }
}

void TstDBNavigator::deleteAsksFirst_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("current");
    QTest::newRow("Cancel leaves the row") << 6 << "Cancel" << 8 << "20";
    QTest::newRow("close box leaves the row") << 6 << "" << 8 << "20";
    QTest::newRow("OK: the next row becomes current") << 6 << "OK" << 7 << "25";
    QTest::newRow("OK on the last row: the new last row") << 7 << "OK" << 7 << "20";
}

void TstDBNavigator::deleteAsksFirst() {
    QFETCH(int, row);
    QFETCH(QString, answer);
    QFETCH(int, count);
    QFETCH(QString, current);
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    TModalAnswerer answerer;
    if (answer.isEmpty())
        answerer.Close();
    else
        answerer.Press(answer);
    f.Table->Open();
    f.Table->MoveBy(row);
    Dispatch([nav] { nav->BtnClick(Nav::nbDelete); });
    QVERIFY(answerer.WaitAllAnswered());
    QCOMPARE(answerer.Seen().size(), 1);
    QCOMPARE(answerer.Seen().at(0).Caption, QStringLiteral("Confirm"));
    QCOMPARE(answerer.Seen().at(0).Text, QStringLiteral("Delete record?"));
    QCOMPARE(answerer.Seen().at(0).Icon, int(QMessageBox::Question));
    QCOMPARE(f.Table->RecordCount(), count);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), current);
    // Without ConfirmDelete no box is shown.
    nav->SetConfirmDelete(false);
    answerer.ClearSeen();
    const int before = f.Table->RecordCount();
    f.Table->Last();
    nav->BtnClick(Nav::nbDelete);
    QCOMPARE(f.Table->RecordCount(), before - 1);
    QVERIFY(answerer.Seen().isEmpty());
}

void TstDBNavigator::deleteWhileInsertingOnlyCancels() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    nav->SetConfirmDelete(false);
    f.Table->Open();
    f.Table->MoveBy(2);
    nav->BtnClick(Nav::nbInsert);
    QCOMPARE(f.Table->State(), dsInsert);
    nav->BtnClick(Nav::nbDelete);
    QCOMPARE(f.Table->State(), dsBrowse);
    QCOMPARE(f.Table->RecordCount(), 8);
    f.Table->Close();
    f.Table->Open();
    QCOMPARE(f.Table->RecordCount(), 8);
}

void TstDBNavigator::refusedPostAndDelete() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    TModalAnswerer answer;
    answer.Press(QStringLiteral("OK"));  // the confirmation; the error boxes get their default
    f.Table->Open();
    f.Table->MoveBy(1);
    nav->BtnClick(Nav::nbEdit);
    f.Table->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("101"));
    QVERIFY(!Dispatch([nav] { nav->BtnClick(Nav::nbPost); }));
    QCOMPARE(answer.Seen().size(), 1);
    QCOMPARE(answer.Seen().at(0).Icon, int(QMessageBox::Critical));
    QCOMPARE(f.Table->State(), dsEdit);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("101"));
    QVERIFY(nav->ButtonEnabled(Nav::nbPost));
    nav->BtnClick(Nav::nbCancel);
    // A level that wares refer to cannot go.
    QVERIFY(!Dispatch([nav] { nav->BtnClick(Nav::nbDelete); }));
    QVERIFY(answer.WaitAllAnswered());
    QCOMPARE(answer.Seen().size(), 3);
    QCOMPARE(answer.Seen().at(2).Icon, int(QMessageBox::Critical));
    QCOMPARE(f.Table->RecordCount(), 8);
    QCOMPARE(f.Table->RecNo(), 1);
}

void TstDBNavigator::priorFromAnUntouchedNewRow() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    f.Table->Open();
    f.Table->MoveBy(4);  // 10 %
    nav->BtnClick(Nav::nbInsert);
    nav->BtnClick(Nav::nbPrior);
    QCOMPARE(f.Table->RecordCount(), 8);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("7"));
    nav->BtnClick(Nav::nbInsert);
    nav->BtnClick(Nav::nbNext);
    QCOMPARE(f.Table->FieldByName(QStringLiteral("percent"))->AsString(), QStringLiteral("7"));
}

void TstDBNavigator::clickOnAClosedDataSetDoesNothing() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    for (int b = 0; b < Nav::ButtonCount; ++b)
        QVERIFY(Dispatch([nav, b] { nav->BtnClick(Nav::TNavigateBtn(b)); }));
    QVERIFY(!f.Table->Active());
}

void TstDBNavigator::equalWidths_data() {
    QTest::addColumn<unsigned>("visible");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("buttonWidth");
    QTest::newRow("ten in 240") << Nav::AllButtons << 240 << 24;
    QTest::newRow("ten in 245: narrowed to 240") << Nav::AllButtons << 245 << 24;
    QTest::newRow("four in 250: narrowed to 248")
        << Bits({Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast}) << 250 << 62;
    QTest::newRow("one") << Bits({Nav::nbRefresh}) << 33 << 33;
}

void TstDBNavigator::equalWidths() {
    QFETCH(unsigned, visible);
    QFETCH(int, width);
    QFETCH(int, buttonWidth);
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    nav->SetVisibleButtons(visible);
    nav->SetBounds(10, 10, width, 25);
    int n = 0, x = 0;
    for (int b = 0; b < Nav::ButtonCount; ++b) {
        const QRect r = nav->ButtonRect(Nav::TNavigateBtn(b));
        if (!(visible & (1u << b))) {
            QVERIFY(r.isEmpty());
            continue;
        }
        ++n;
        QCOMPARE(r.width(), buttonWidth);
        QCOMPARE(r.left(), x);  // in enumeration order, side by side
        x += buttonWidth;
    }
    QCOMPARE(nav->width(), n * buttonWidth);
}

void TstDBNavigator::keysMoveFocusAndPress() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    nav->SetVisibleButtons(Bits({Nav::nbFirst, Nav::nbNext, Nav::nbLast, Nav::nbRefresh}));
    f.Table->Open();
    QVERIFY(f.ShowWindow());
    nav->setFocus();
    QCOMPARE(nav->FocusedButton(), int(Nav::nbFirst));
    QTest::keyClick(nav, Qt::Key_Left);  // nothing before the first
    QCOMPARE(nav->FocusedButton(), int(Nav::nbFirst));
    QTest::keyClick(nav, Qt::Key_Right);  // hidden nbPrior skipped
    QCOMPARE(nav->FocusedButton(), int(Nav::nbNext));
    QTest::keyClick(nav, Qt::Key_Space);
    QTest::keyClick(nav, Qt::Key_Space);
    QCOMPARE(f.Table->RecNo(), 2);
    QTest::keyClick(nav, Qt::Key_Right);
    QTest::keyClick(nav, Qt::Key_Space);
    QCOMPARE(f.Table->RecNo(), 7);
    QTest::keyClick(nav, Qt::Key_Right);
    QTest::keyClick(nav, Qt::Key_Right);  // nothing after the last visible one
    QCOMPARE(nav->FocusedButton(), int(Nav::nbRefresh));
}

void TstDBNavigator::mouseClick() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    f.Table->Open();
    QVERIFY(f.ShowWindow());
    QTest::mouseClick(nav, Qt::LeftButton, {}, nav->ButtonRect(Nav::nbLast).center());
    QCOMPARE(f.Table->RecNo(), 7);
    QVERIFY(!nav->ButtonEnabled(Nav::nbNext));
    // A disabled button does nothing.
    QTest::mouseClick(nav, Qt::LeftButton, {}, nav->ButtonRect(Nav::nbPost).center());
    QCOMPARE(f.Table->State(), dsBrowse);
    QTest::mouseClick(nav, Qt::LeftButton, {}, nav->ButtonRect(Nav::nbEdit).center());
    QCOMPARE(f.Table->State(), dsEdit);
}

void TstDBNavigator::joinOffersNoInsertOrDelete() {
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    auto* goods = new TADOQuery(f.Owner.get(), QStringLiteral("ADOQuery2"));
    goods->SetConnection(f.Connection);
    goods->SQL().Add(
        QStringLiteral("SELECT dbo.wares.name AS Наименование, dbo.discount.[percent] AS Скидка "
                       "FROM dbo.discount INNER JOIN dbo.wares ON dbo.discount.Iddiscount = "
                       "dbo.wares.Iddiscount"));
    f.Source->SetDataSet(goods);
    TModalAnswerer answer;
    answer.Press(QStringLiteral("OK"));
    goods->Open();
    QVERIFY(goods->CanModify());
    QCOMPARE(Enabled(nav), Bits({Nav::nbNext, Nav::nbLast, Nav::nbEdit, Nav::nbRefresh}));
    const int rows = goods->RecordCount();
    QVERIFY(Dispatch([nav] { nav->BtnClick(Nav::nbInsert); }));
    QVERIFY(Dispatch([nav] { nav->BtnClick(Nav::nbDelete); }));
    TTestChecks::SettleEvents();
    QCOMPARE(answer.Texts(), QStringList());
    QCOMPARE(goods->State(), dsBrowse);
    QCOMPARE(goods->RecordCount(), rows);
    // Editing stays: the changed value is written to its own table.
    nav->BtnClick(Nav::nbEdit);
    goods->FieldByName(QStringLiteral("Скидка"))->SetAsString(QStringLiteral("3"));
    QVERIFY(nav->ButtonEnabled(Nav::nbPost));
    QVERIFY(!nav->ButtonEnabled(Nav::nbInsert));
    nav->BtnClick(Nav::nbPost);
    QCOMPARE(goods->State(), dsBrowse);
}

void TstDBNavigator::buttonsToldByAction_data() {
    QTest::addColumn<unsigned>("visible");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("all ten") << Nav::AllButtons
                             << QStringList{"Первая запись",    "Предыдущая запись",   "Следующая запись",
                                            "Последняя запись", "Добавить запись",     "Удалить запись",
                                            "Изменить запись",  "Сохранить изменения", "Отменить изменения",
                                            "Обновить данные"};
    QTest::newRow("without delete, as on the goods tab")
        << (Nav::AllButtons & ~Bits({Nav::nbDelete}))
        << QStringList{"Первая запись",       "Предыдущая запись",  "Следующая запись",
                       "Последняя запись",    "Добавить запись",    "Изменить запись",
                       "Сохранить изменения", "Отменить изменения", "Обновить данные"};
}

void TstDBNavigator::buttonsToldByAction() {
    QFETCH(unsigned, visible);
    QFETCH(QStringList, names);
    TNavigatorFixture f;
    TDBNavigator* nav = f.Nav;
    nav->SetVisibleButtons(visible);
    f.Table->Open();
    QVERIFY(f.ShowWindow());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(nav);
    QVERIFY(face);
    QStringList told;
    for (int i = 0; i < face->childCount(); ++i)
        told << face->child(i)->text(QAccessible::Name);
    QCOMPARE(told, names);
    const auto button = [&](const QString& name) { return face->child(int(names.indexOf(name))); };
    // Pressed from an assistive tool as a click would; a disabled one does nothing.
    QVERIFY(button("Сохранить изменения")->state().disabled);
    button("Сохранить изменения")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(f.Table->State(), dsBrowse);
    button("Последняя запись")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(f.Table->RecNo(), 7);
    QVERIFY(button("Последняя запись")->state().disabled);
    QCOMPARE(
        button("Последняя запись")->rect(),
        QRect(nav->mapToGlobal(nav->ButtonRect(Nav::nbLast).topLeft()), nav->ButtonRect(Nav::nbLast).size()));
}

QTEST_MAIN(TstDBNavigator)
#include "tst_dbnavigator.moc"
