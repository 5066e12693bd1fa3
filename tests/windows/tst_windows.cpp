// Every secondary window's caption and stored place: opened at its position with its outer size,
// created hidden, closing hides, and the add window's calendar where the hand-over expects it.
#include <QCalendarWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit13.h"
#include "Unit14.h"
#include "Unit15.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"
#include "Unit9.h"

using TFactory = std::function<TForm*()>;
Q_DECLARE_METATYPE(TFactory)

class TstWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void CaptionAndPlace_data();
    void CaptionAndPlace();
    void AddWindowCalendar();
};

void TstWindows::CaptionAndPlace_data() {
    QTest::addColumn<TFactory>("create");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("bounds");
    QTest::newRow("Form4") << TFactory([] { return new TForm4; }) << "Добавление"
                           << QRect(177, 158, 884, 640);
    QTest::newRow("Form5") << TFactory([] { return new TForm5; }) << "Выбрать товар"
                           << QRect(443, 192, 571, 318);
    QTest::newRow("Form6") << TFactory([] { return new TForm6; }) << "Выбор поставщика"
                           << QRect(477, 194, 244, 355);
    QTest::newRow("Form7") << TFactory([] { return new TForm7; }) << "База данных"
                           << QRect(281, 202, 714, 243);
    QTest::newRow("Form8") << TFactory([] { return new TForm8; }) << "База данных"
                           << QRect(320, 424, 467, 282);
    QTest::newRow("Form9") << TFactory([] { return new TForm9; }) << "Оформить продажу"
                           << QRect(399, 124, 257, 283);
    QTest::newRow("Form10") << TFactory([] { return new TForm10; }) << "Выбор менеджера"
                            << QRect(422, 442, 446, 329);
    QTest::newRow("Form11") << TFactory([] { return new TForm11; }) << "О программе"
                            << QRect(373, 258, 558, 190);
    QTest::newRow("Form12") << TFactory([] { return new TForm12; }) << "Информация о поставщиках"
                            << QRect(409, 228, 428, 351);
    QTest::newRow("Form13") << TFactory([] { return new TForm13; }) << "Сроки поставок"
                            << QRect(387, 385, 682, 332);
    QTest::newRow("Form14") << TFactory([] { return new TForm14; }) << "Выберите товар"
                            << QRect(318, 278, 471, 228);
    QTest::newRow("Form15") << TFactory([] { return new TForm15; }) << "Удаление"
                            << QRect(288, 268, 592, 302);
}

void TstWindows::CaptionAndPlace() {
    QFETCH(TFactory, create);
    QFETCH(QString, caption);
    QFETCH(QRect, bounds);
    std::unique_ptr<TForm> form(create());
    QCOMPARE(form->objectName(), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(form->Caption(), caption);
    QVERIFY(!form->isVisible());
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->frameGeometry().topLeft(), bounds.topLeft());
    QTRY_COMPARE(form->frameGeometry().size(), bounds.size());
    form->close();
    QVERIFY(!form->isVisible());
}

void TstWindows::AddWindowCalendar() {
    TForm4 form;
    QCOMPARE(form.MonthCalendar1->parentWidget(), &form);
    QCOMPARE(form.MonthCalendar1->geometry(), QRect(608, 280, 177, 185));
}

QTEST_MAIN(TstWindows)
#include "tst_windows.moc"
