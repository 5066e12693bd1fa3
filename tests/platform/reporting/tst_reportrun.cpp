// A report run through its windows, answered as a user would: "Output Options" with the preview
// preselected, "Report Status", the modal "Report Preview"; cancelling in either window; the
// engine's "Error" box for a connection name the program does not have; output straight to a file;
// the preview's "Save..." dialog and the folder it opens in.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "EReportError.h"
#include "TModalAnswerer.h"
#include "TTestChecks.h"
#include "TOutputOptionsDialog.h"
#include "TReportConnections.h"
#include "TReportPreview.h"
#include "TReportProject.h"
#include "TReportRun.h"
#include "TReportStatusWindow.h"
#include "TReportTestFiles.h"
#include "TVectorSource.h"

namespace {

TReportDefinition PriceList() {
    const TReportProject p = TReportProject::Parse(
        TReportTestFiles::ReadAll(TReportTestFiles::SharedProject()), QStringLiteral("p"));
    return p.Reports().at(0);
}

}  // namespace

class TstReportRun : public QObject {
    Q_OBJECT

    std::unique_ptr<TVectorSource> m_source;

private Q_SLOTS:
    void init() {
        m_source = std::make_unique<TVectorSource>(QStringLiteral("RvDataSetConnection1"),
                                                   TVectorSource::PriceColumns());
        m_source->Rows = TVectorSource::PriceRows(150);
        TReportConnections::Register(m_source.get());
    }
    void cleanup() {
        TReportConnections::Unregister(m_source.get());
        m_source.reset();
    }

    void connectionsFoundWithoutCase() {
        QCOMPARE(TReportConnections::Find(QStringLiteral("rvdatasetconnection1")), m_source.get());
        QCOMPARE(TReportConnections::Find(QStringLiteral("RVDATASETCONNECTION1")), m_source.get());
        QCOMPARE(TReportConnections::Find(QStringLiteral("RvDataSetConnection2")), nullptr);
        QCOMPARE(TReportConnections::Find(QString()), nullptr);
    }

    void setupPreviewStatusPreview() {
        TModalAnswerer answer;
        bool previewChecked = false;
        bool onlyPreview = false;
        answer.Run([&](QWidget* w) {
            auto* setup = qobject_cast<TOutputOptionsDialog*>(w);
            QVERIFY(setup);
            previewChecked = setup->PreviewButton->isChecked();
            onlyPreview = !setup->PrinterButton->isEnabled() && !setup->FileButton->isEnabled();
            setup->OkButton->click();
        });
        answer.Run([](QWidget*) {});  // the status window goes away by itself
        int pages = 0;
        QString label;
        answer.Run([&](QWidget* w) {
            auto* preview = qobject_cast<TReportPreview*>(w);
            QVERIFY(preview);
            pages = preview->PageCount();
            preview->NextButton->click();
            preview->NextButton->click();
            label = preview->PageLabel->text();
            preview->CloseButton->click();
        });
        QVERIFY(RunReport(PriceList(), TReportSystem::Default()));
        QVERIFY(answer.WaitAllAnswered());
        QStringList captions;
        for (const TSeenModal& seen : answer.Seen())
            captions.append(seen.Caption);
        QCOMPARE(captions, (QStringList{"Output Options", "Report Status", "Report Preview"}));
        QVERIFY(previewChecked);
        QCOMPARE(onlyPreview, QPrinterInfo::availablePrinters().isEmpty());
        QCOMPARE(pages, 3);
        QCOMPARE(label, QStringLiteral("Page 3 of 3"));
        QCOMPARE(m_source->Passes, 1);
    }

    void cancelInSetupEndsQuietly() {
        TModalAnswerer answer;
        answer.Press(QStringLiteral("Cancel"));
        QVERIFY(!RunReport(PriceList(), TReportSystem::Default()));
        QCOMPARE(answer.Seen().size(), 1);
        QCOMPARE(m_source->Passes, 0);
        // The next run starts again with the dialog.
        answer.Close();
        QVERIFY(!RunReport(PriceList(), TReportSystem::Default()));
        QCOMPARE(answer.Seen().size(), 2);
        QCOMPARE(answer.Seen().at(1).Caption, QStringLiteral("Output Options"));
    }

    void cancelInStatusEndsQuietly() {
        m_source->Rows = TVectorSource::PriceRows(20000);
        TModalAnswerer answer;
        answer.Press(QStringLiteral("OK"));
        answer.Press(QStringLiteral("Cancel"));
        QVERIFY(!RunReport(PriceList(), TReportSystem::Default()));
        TTestChecks::SettleEvents();
        QStringList captions;
        for (const TSeenModal& seen : answer.Seen())
            captions.append(seen.Caption);
        QCOMPARE(captions, (QStringList{"Output Options", "Report Status"}));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
        QCOMPARE(m_source->Passes, 1);
        // The next run starts again with the dialog.
        answer.Press(QStringLiteral("Cancel"));
        QVERIFY(!RunReport(PriceList(), TReportSystem::Default()));
        QCOMPARE(answer.Seen().size(), 3);
        QCOMPARE(answer.Seen().at(2).Caption, QStringLiteral("Output Options"));
    }

    void unknownConnectionShowsTheEngineError() {
        TReportDefinition report = PriceList();
        report.Connection = QStringLiteral("RvDataSetConnection7");
        TModalAnswerer answer;
        answer.Press(QStringLiteral("OK"));  // Output Options
        answer.Press(QStringLiteral("OK"));  // the error
        QVERIFY(!RunReport(report, TReportSystem::Default()));
        QVERIFY(answer.WaitAllAnswered());
        QCOMPARE(answer.Seen().size(), 2);
        QCOMPARE(answer.Seen().at(1).Caption, QStringLiteral("Error"));
        QCOMPARE(answer.Seen().at(1).Text, MissingConnectionText(QStringLiteral("RvDataSetConnection7")));
        QVERIFY(answer.Seen().at(1).Text.contains(QLatin1String("\"RvDataSetConnection7\"")));
        QCOMPARE(answer.Seen().at(1).Buttons, QStringList{"OK"});
        QCOMPARE(m_source->Passes, 0);
    }

    void straightToFile_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("pdf") << int(TReportFileFormat::Pdf);
        QTest::newRow("csv") << int(TReportFileFormat::Csv);
    }
    void straightToFile() {
        QFETCH(int, format);
        QTemporaryDir dir;
        TReportSystem system;
        system.ShowSetupDialog = false;
        system.ShowStatus = false;
        system.DefaultDestination = TReportDestination::File;
        system.OutputFileFormat = TReportFileFormat(format);
        system.OutputFileName =
            dir.filePath(QStringLiteral("out.") + TReportSystem::FormatSuffix(system.OutputFileFormat));
        TModalAnswerer answer;
        QVERIFY(RunReport(PriceList(), system));
        QVERIFY(answer.Seen().isEmpty());
        const QString text = system.OutputFileFormat == TReportFileFormat::Pdf
                                 ? TReportTestFiles::PdfText(system.OutputFileName)
                                 : QString::fromUtf8(TReportTestFiles::ReadAll(system.OutputFileName));
        QVERIFY(text.contains(QStringLiteral("Товар 150")));
        QVERIFY(text.contains(QStringLiteral("Описание 1")));
    }

    void previewSavesPdfAndCsv() {
        TModalAnswerer answer;
        QTemporaryDir dir;
        answer.Press(QStringLiteral("OK"));
        answer.Run([](QWidget*) {});
        answer.Run([&dir](QWidget* w) {
            auto* preview = static_cast<TReportPreview*>(w);
            preview->SaveTo(dir.filePath(QStringLiteral("p.pdf")));
            preview->SaveTo(dir.filePath(QStringLiteral("p.csv")));
            preview->accept();
        });
        QVERIFY(RunReport(PriceList(), TReportSystem::Default()));
        QVERIFY(TReportTestFiles::PdfText(dir.filePath(QStringLiteral("p.pdf")))
                    .contains(QStringLiteral("Товар 77")));
        QCOMPARE(TReportTestFiles::ReadCsv(TReportTestFiles::ReadAll(dir.filePath(QStringLiteral("p.csv"))))
                     .size(),
                 151);
    }

    // The first "Save..." of a run opens in the user's documents folder; each later one in the folder
    // the last save went to.
    void saveDialogStartsInDocumentsThenInTheLastFolder() {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            if (oldConfig.isNull())
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        // No user-dirs.dirs in this configuration folder: the documents folder is $HOME/Documents.
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        const QString documents = home.filePath(QStringLiteral("Documents"));
        const QString chosen = home.filePath(QStringLiteral("Прайсы"));
        QVERIFY(QDir().mkpath(documents));
        QVERIFY(QDir().mkpath(chosen));

        const QStringList opensIn{documents, chosen};
        const QStringList savesTo{chosen + QStringLiteral("/прайс.pdf"),
                                  chosen + QStringLiteral("/прайс2.pdf")};
        for (int i = 0; i < savesTo.size(); ++i) {
            TModalAnswerer answer;
            QString opened, proposed;
            answer.Press(QStringLiteral("OK"));
            answer.Run([](QWidget*) {});
            answer.Run([](QWidget* w) {
                QTimer::singleShot(0, static_cast<TReportPreview*>(w)->SaveButton, &QPushButton::click);
            });
            answer.Run([&](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                QVERIFY(dialog);
                opened = dialog->directory().absolutePath();
                proposed = dialog->selectedFiles().value(0);
                // Typed into the name field, as a user gives a path of another folder.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(savesTo.at(i));
                // The preview closes once its save is written.
                QTimer::singleShot(0, dialog->parentWidget(), [preview = dialog->parentWidget()] {
                    static_cast<TReportPreview*>(preview)->accept();
                });
                static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the name
            });
            QVERIFY(RunReport(PriceList(), TReportSystem::Default()));
            QVERIFY(answer.WaitAllAnswered());
            QCOMPARE(opened, opensIn.at(i));
            QCOMPARE(QFileInfo(proposed).absolutePath(), opensIn.at(i));
            QVERIFY(TReportTestFiles::PdfText(savesTo.at(i)).contains(QStringLiteral("Товар 77")));
        }
    }

    void dataErrorEndsTheRunAndClosesTheStatus() {
        class TFailing : public TVectorSource {
        public:
            using TVectorSource::TVectorSource;
            void Pass(const QVector<TReportCondition>&, TReportPassVisitor&) override {
                throw EReportError(QStringLiteral("[SQLite] unable to open database file"));
            }
        } failing(QStringLiteral("Failing"), TVectorSource::PriceColumns());
        TReportConnections::Register(&failing);
        TReportDefinition report = PriceList();
        report.Connection = QStringLiteral("failing");
        TModalAnswerer answer;
        answer.Press(QStringLiteral("OK"));
        answer.Run([](QWidget*) {});
        QVERIFY_THROWS_EXCEPTION(EReportError, RunReport(report, TReportSystem::Default()));
        TReportConnections::Unregister(&failing);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
    }
};

QTEST_MAIN(TstReportRun)
#include "tst_reportrun.moc"
