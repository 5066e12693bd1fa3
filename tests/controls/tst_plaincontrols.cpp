// The labelled edit, the tick button and its glyph, and the message and confirmation boxes.
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "TApplicationTitle.h"
#include "TBitBtn.h"
#include "TLabeledEdit.h"
#include "TMessageBoxes.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"
#include "TTickGlyph.h"

class TstPlainControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void labelAboveTheEdit();
    void labelFollowsVisibilityAndEnabled();
    void tickButton();
    void tickGlyph();
    void tickButtonIsNeitherDefaultNorCancel_data();
    void tickButtonIsNeitherDefaultNorCancel();
    void messageBox_data();
    void messageBox();
    void confirmationBox_data();
    void confirmationBox();
    void boxesCentred_data();
    void boxesCentred();
};

void TstPlainControls::labelAboveTheEdit() {
    QWidget window;
    auto* edit = new TLabeledEdit(&window);
    edit->SetBounds(40, 60, 120, 21);
    edit->SetLabelCaption(QStringLiteral("Наименование"));
    QLabel* label = edit->EditLabel();
    QCOMPARE(label->parentWidget(), &window);
    QCOMPARE(label->x(), 40);
    QCOMPARE(label->geometry().bottom() + 1 + 3, 60);
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(QStringLiteral("Наименование")));
    window.show();
    edit->move(10, 100);
    QCOMPARE(label->x(), 10);
    QCOMPARE(label->geometry().bottom() + 1 + 3, 100);
    QCOMPARE(edit->Text(), QString());
}

void TstPlainControls::labelFollowsVisibilityAndEnabled() {
    QWidget window;
    auto* edit = new TLabeledEdit(&window);
    edit->SetLabelCaption(QStringLiteral("Цена"));
    window.show();
    QVERIFY(edit->EditLabel()->isVisible());
    edit->hide();
    QVERIFY(!edit->EditLabel()->isVisible());
    edit->show();
    QVERIFY(edit->EditLabel()->isVisible());
    edit->setEnabled(false);
    QVERIFY(!edit->EditLabel()->isEnabled());
    edit->setEnabled(true);
    QVERIFY(edit->EditLabel()->isEnabled());
    delete edit;  // its label goes with it
    QVERIFY(window.findChildren<QLabel*>().isEmpty());
}

void TstPlainControls::tickButton() {
    QWidget window;
    TBitBtn button(&window);
    QCOMPARE(button.size(), QSize(75, 35));
    QCOMPARE(button.text(), QString());
    QVERIFY(!button.icon().isNull());
}

void TstPlainControls::tickGlyph() {
    const QImage& bitmap = TickGlyphBitmap();
    QCOMPARE(bitmap.size(), QSize(75, 35));
    QCOMPARE(bitmap.colorCount(), 16);
    const QImage drawn = ::TickGlyph().toImage();
    const QRgb ground = bitmap.pixel(0, 34);
    int transparent = 0, opaque = 0;
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 75; ++x) {
            const bool clear = qAlpha(drawn.pixel(x, y)) == 0;
            QCOMPARE(clear, bitmap.pixel(x, y) == ground);
            (clear ? transparent : opaque)++;
        }
    // A tick, not an empty picture nor a filled one.
    QVERIFY(opaque > 100);
    QVERIFY(transparent > opaque);
}

void TstPlainControls::tickButtonIsNeitherDefaultNorCancel_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TstPlainControls::tickButtonIsNeitherDefaultNorCancel() {
    QFETCH(int, key);
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* tick = new TBitBtn(&dialog);
    tick->move(0, 30);
    QSignalSpy clicked(tick, &QPushButton::clicked);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!tick->isDefault());
}

void TstPlainControls::messageBox_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter presses OK") << int(Qt::Key_Return);
    QTest::newRow("Esc presses OK") << int(Qt::Key_Escape);
}

void TstPlainControls::messageBox() {
    QFETCH(int, key);
    TModalAnswerer answer;
    answer.Key(key);
    ShowMessage(QStringLiteral("Введите 'наименование' & цену"));
    QVERIFY(answer.WaitAllAnswered());
    QCOMPARE(answer.Seen().size(), 1);
    const TSeenModal& seen = answer.Seen().at(0);
    QCOMPARE(seen.Caption, ApplicationTitle());
    QCOMPARE(seen.Text, QStringLiteral("Введите 'наименование' & цену"));
    QCOMPARE(seen.Icon, int(QMessageBox::NoIcon));
    QCOMPARE(seen.Buttons, QStringList{QStringLiteral("OK")});
}

void TstPlainControls::confirmationBox_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("result");
    QTest::newRow("OK") << "OK" << true;
    QTest::newRow("Cancel") << "Cancel" << false;
    QTest::newRow("Enter: OK is the default") << "Enter" << true;
    QTest::newRow("Esc: Cancel") << "Esc" << false;
    QTest::newRow("close box") << "close" << false;
}

void TstPlainControls::confirmationBox() {
    QFETCH(QString, how);
    QFETCH(bool, result);
    TModalAnswerer answer;
    if (how == "Enter")
        answer.Key(Qt::Key_Return);
    else if (how == "Esc")
        answer.Key(Qt::Key_Escape);
    else if (how == "close")
        answer.Close();
    else
        answer.Press(how);
    QCOMPARE(ConfirmDeleteRecord(), result);
    QCOMPARE(answer.Seen().size(), 1);
    const TSeenModal& seen = answer.Seen().at(0);
    QCOMPARE(seen.Caption, QStringLiteral("Confirm"));
    QCOMPARE(seen.Text, QStringLiteral("Delete record?"));
    QCOMPARE(seen.Icon, int(QMessageBox::Question));
    QCOMPARE(seen.Buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
}

void TstPlainControls::boxesCentred_data() {
    QTest::addColumn<bool>("confirmation");
    QTest::newRow("message box") << false;
    QTest::newRow("confirmation box") << true;
}

void TstPlainControls::boxesCentred() {
    QFETCH(bool, confirmation);
    TModalAnswerer answer;
    QPoint centre, screenCentre;
    bool modal = false;
    answer.Run([&](QWidget* box) {
        // Looked at once its size has settled, as the user sees it.
        TTestChecks::SettleEvents();
        centre = box->frameGeometry().center();
        screenCentre = box->screen()->availableGeometry().center();
        modal = box->windowModality() == Qt::ApplicationModal;
        box->close();
    });
    if (confirmation)
        ConfirmDeleteRecord();
    else
        ShowMessage(QStringLiteral("Запись добавлена"));
    QVERIFY(modal);
    QVERIFY2((centre - screenCentre).manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                                                                            .arg(centre.x())
                                                                            .arg(centre.y())
                                                                            .arg(screenCentre.x())
                                                                            .arg(screenCentre.y())));
}

QTEST_MAIN(TstPlainControls)
#include "tst_plaincontrols.moc"
