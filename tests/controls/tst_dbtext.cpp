// The field label over a real table: caption on every report, a handler's text standing until the
// next one, hidden labels, a missing field, text drawn as is inside the box, and what a screen reader
// is told the label shows.
#include <QAccessible>
#include <QGroupBox>
#include <QImage>
#include <QTest>

#include "Exception.h"
#include "TControlsFixture.h"
#include "TDBText.h"
#include "TDataSet.h"
#include "TField.h"
#include "TForm.h"
#include "TFormBuilder.h"
#include "TTestChecks.h"

class TstDBText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void followsTheDataSet_data();
    void followsTheDataSet();
    void handlerTextStandsUntilTheRowMoves();
    void pickerClosedWithoutMovingKeepsText();
    void missingField_data();
    void missingField();
    void caseOfTheFieldName();
    void ampersandAndCutText();
    void describesWhatItShows_data();
    void describesWhatItShows();
};

namespace {

TDBText* MakeLabel(TControlsFixture& f, const QString& field, bool visible = true) {
    auto* label = new TDBText(f.Window.get());
    label->setObjectName(QStringLiteral("DBText1"));
    label->setGeometry(10, 10, 60, 17);
    label->setVisible(visible);
    label->SetDataField(field);
    label->SetDataSource(f.Source);
    return label;
}

}  // namespace

void TstDBText::followsTheDataSet_data() {
    QTest::addColumn<bool>("visible");
    QTest::newRow("visible") << true;
    QTest::newRow("hidden") << false;
}

void TstDBText::followsTheDataSet() {
    QFETCH(bool, visible);
    TControlsFixture f;
    TDBText* label = MakeLabel(f, QStringLiteral("percent"), visible);
    f.Window->show();
    QCOMPARE(label->Caption(), QString());
    f.Table->Open();
    QCOMPARE(label->Caption(), QStringLiteral("0"));
    f.Table->Last();
    QCOMPARE(label->Caption(), QStringLiteral("25"));
    f.Table->Edit();
    f.Table->FieldByName(QStringLiteral("percent"))->SetAsString(QStringLiteral("26"));
    QCOMPARE(label->Caption(), QStringLiteral("26"));  // the field's value changed
    f.Table->Cancel();
    QCOMPARE(label->Caption(), QStringLiteral("25"));
    f.Table->Delete();
    QCOMPARE(label->Caption(), QStringLiteral("20"));
    f.Table->Close();
    QCOMPARE(label->Caption(), QString());
    QCOMPARE(label->isVisible(), visible);
}

void TstDBText::handlerTextStandsUntilTheRowMoves() {
    TControlsFixture f;
    TDBText* label = MakeLabel(f, QStringLiteral("Iddiscount"), false);
    f.Table->Open();
    label->SetCaption(QStringLiteral(" "));
    QCOMPARE(label->Caption(), QStringLiteral(" "));
    f.Table->Next();
    QCOMPARE(label->Caption(), QStringLiteral("2"));
}

void TstDBText::pickerClosedWithoutMovingKeepsText() {
    TControlsFixture f;
    TDBText* label = MakeLabel(f, QStringLiteral("Iddiscount"));
    f.Table->Open();
    label->SetCaption(QStringLiteral(" "));
    f.Table->First();  // already there: no report
    QCOMPARE(label->Caption(), QStringLiteral(" "));
}

void TstDBText::missingField_data() {
    QTest::addColumn<bool>("openFirst");
    QTest::newRow("bound to an open data set") << true;
    QTest::newRow("data set opened later") << false;
}

void TstDBText::missingField() {
    QFETCH(bool, openFirst);
    TControlsFixture f;
    if (openFirst)
        f.Table->Open();
    QCOMPARE_THROWS(MakeLabel(f, QStringLiteral("nosuch"));
                    f.Table->Open(), QStringLiteral("DBText1: Field 'nosuch' not found"));
    // Told once: moving through the rows afterwards fails nothing and the label stays empty.
    auto* label = f.Window->findChild<TDBText*>(QStringLiteral("DBText1"));
    QVERIFY(label);
    f.Table->Next();
    f.Table->Last();
    f.Table->Refresh();
    QCOMPARE(label->Caption(), QString());
}

void TstDBText::caseOfTheFieldName() {
    TControlsFixture f;
    TDBText* label = MakeLabel(f, QStringLiteral("PERCENT"));
    f.Table->Open();
    f.Table->Next();
    QCOMPARE(label->Caption(), QStringLiteral("3"));
}

void TstDBText::ampersandAndCutText() {
    TControlsFixture f;
    f.Window->setBackgroundRole(QPalette::Button);  // as forms do
    TDBText* label = MakeLabel(f, QString());
    label->SetColor(Qt::white);
    f.Window->show();
    label->SetCaption(QStringLiteral("A&B"));
    QCOMPARE(label->text(), QStringLiteral("A&B"));
    // Plain text: the ampersand is drawn, not taken as a mnemonic, so "A&B" is wider than "AB".
    const auto inkWidth = [label] {
        const QImage image = label->grab().toImage();
        int right = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    right = qMax(right, x);
        return right;
    };
    const int withAmpersand = inkWidth();
    label->SetCaption(QStringLiteral("AB"));
    QVERIFY(withAmpersand > inkWidth() + 3);
    // A long text stays inside the fixed box.
    label->SetCaption(QString(200, QLatin1Char('W')));
    QCOMPARE(label->size(), QSize(60, 17));
    QCOMPARE(label->Color(), QColor(Qt::white));
    // The colour fills the box.
    label->SetCaption(QString());
    QCOMPARE(QColor(label->grab().toImage().pixel(30, 8)), QColor(Qt::white));
}


void TstDBText::describesWhatItShows_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("description");
    QTest::newRow("alone: the field's display label") << "alone" << "percent";
    QTest::newRow("a caption beside, made before") << "caption before" << "Скидка, %:";
    QTest::newRow("a caption beside, made after") << "caption after" << "Скидка, %:";
    QTest::newRow("a caption on another line is not its caption") << "caption above" << "percent";
    QTest::newRow("in a box: its caption and the display label") << "in a box" << "Скидки: percent";
}

void TstDBText::describesWhatItShows() {
    QFETCH(QString, layout);
    QFETCH(QString, description);
    TControlsFixture f;
    TForm window;
    TFormBuilder make(&window);
    make.Window("Form1", QStringLiteral("Окно"), {0, 0, 400, 300});
    QWidget* parent = &window;
    if (layout == "in a box")
        parent = make.GroupBox(&window, "GroupBox1", {10, 10, 300, 100}, QStringLiteral("Скидки"));
    const QString caption = QStringLiteral("Скидка, %:");
    if (layout == "caption before")
        make.Label(parent, "Label1", {20, 40, 60, 13}, caption);
    if (layout == "caption above")
        make.Label(parent, "Label1", {20, 10, 60, 13}, caption);
    TDBText* label = make.FieldLabel(parent, "DBText1", {90, 40, 40, 17}, QStringLiteral("percent"));
    if (layout == "caption after")
        make.Label(parent, "Label1", {20, 40, 60, 13}, caption);
    make.Bind(label, f.Source);
    f.Table->Open();
    f.Table->Last();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
    QVERIFY(face);
    QCOMPARE(face->text(QAccessible::Description), description);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("25"));  // the value, as a sighted user reads it
}

QTEST_MAIN(TstDBText)
#include "tst_dbtext.moc"
