// The application title rule, the error box's full-stop rule and what the box shows, and the handler
// dispatcher showing an escaped exception and letting the program go on.
#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <stdexcept>

#include "Exception.h"
#include "TApplicationTitle.h"
#include "TErrorBox.h"
#include "TForm.h"
#include "THandlerDispatch.h"
#include "TModalAnswerer.h"

class TstErrorBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void title_data();
    void title();
    void fullStop_data();
    void fullStop();
    void boxLooksAsItShould();
    void dispatchShowsAndGoesOn_data();
    void dispatchShowsAndGoesOn();
};

void TstErrorBox::title_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "Project1"
                           << "Project1";
    QTest::newRow("upper with extension") << "PROJECT1.EXE"
                                          << "Project1";
    QTest::newRow("cut at the first full stop") << "my.app.bin"
                                                << "my";
    QTest::newRow("mixed case") << "/bin/mY.App"
                                << "my";
    QTest::newRow("unix folder") << "/usr/local/bin/Project1"
                                 << "Project1";
    QTest::newRow("windows folder") << "C:\\ZIRT\\PROJECT1.EXE"
                                    << "Project1";
    QTest::newRow("dot in folder only") << "/opt/v1.2/ZIRT"
                                        << "Zirt";
    QTest::newRow("cyrillic") << "/tmp/ПРОГРАММА.exe"
                              << "Программа";
    QTest::newRow("first letter kept as is") << "project1"
                                             << "project1";
    QTest::newRow("leading full stop") << ".hidden"
                                       << "";
    QTest::newRow("one letter") << "A.exe"
                                << "A";
}

void TstErrorBox::title() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitleFromPath(path), title);
}

void TstErrorBox::fullStop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Disk full"
                            << "Disk full.";
    QTest::newRow("digit") << "Error 42"
                           << "Error 42.";
    QTest::newRow("cyrillic letter") << "Нет связи"
                                     << "Нет связи.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("double quote") << "Field \"name\""
                                  << "Field \"name\"";
    QTest::newRow("closing parenthesis") << "Bad value (x)"
                                         << "Bad value (x)";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("slash sorts after") << "a/b/"
                                       << "a/b/.";
    QTest::newRow("empty") << ""
                           << "";
}

void TstErrorBox::fullStop() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
}

void TstErrorBox::boxLooksAsItShould() {
    // A window of ours in the corner is active: the box is still centred on the screen, not on it.
    TForm corner;
    corner.SetBounds(0, 0, 200, 150);
    corner.Show();
    TModalAnswerer answer;
    QPoint centre;
    answer.Run([&](QWidget* box) {
        centre = box->frameGeometry().center();
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    // Long enough to wrap, which changes the box's size as it is shown.
    const QString message = QStringLiteral("Нет доступа к 'базе': ") +
                            QString(QStringLiteral("файл не найден, ")).repeated(12) +
                            QStringLiteral("конец");
    ShowErrorBox(message);
    QCOMPARE(answer.Seen().size(), 1);
    const TSeenModal& seen = answer.Seen().at(0);
    QCOMPARE(seen.Caption, ApplicationTitle());
    QCOMPARE(seen.Text, message + QLatin1Char('.'));
    QCOMPARE(seen.Icon, int(QMessageBox::Critical));
    QStringList buttons = seen.Buttons;
    buttons.replaceInStrings(QStringLiteral("&"), QString());
    QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((centre - screenCentre).manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
}

void TstErrorBox::dispatchShowsAndGoesOn_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("our exception") << 0 << "Нельзя.";
    QTest::newRow("database error") << 1 << "Login failed for user 'x'.";
    QTest::newRow("standard exception") << 2 << "out of range.";
    QTest::newRow("anything") << 3 << "Unknown exception.";
}

void TstErrorBox::dispatchShowsAndGoesOn() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    TModalAnswerer answer;
    int stepsRun = 0;
    const bool ok = Dispatch([&] {
        ++stepsRun;
        switch (kind) {
            case 0:
                throw EInvalidOperation(QStringLiteral("Нельзя"));
            case 1:
                throw EDatabaseError(QStringLiteral("Login failed for user 'x'."));
            case 2:
                throw std::out_of_range("out of range");
            default:
                throw 42;
        }
        ++stepsRun;
    });
    QVERIFY(!ok);
    QCOMPARE(stepsRun, 1);  // the rest of the handler is skipped
    QCOMPARE(answer.Texts(), QStringList{text});
    // The program goes on: the next handler runs normally and shows nothing.
    QVERIFY(Dispatch([&] { ++stepsRun; }));
    QCOMPARE(stepsRun, 2);
    QCOMPARE(answer.Seen().size(), 1);
}

QTEST_MAIN(TstErrorBox)
#include "tst_errorbox.moc"
