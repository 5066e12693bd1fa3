// The price list as the program runs it: DataModule3's RvProject1 and RvDataSetConnection1 over
// ADOQuery11 of a fresh demo database, driven as Button4Click does (Open, Close, Execute) with
// the handler dispatcher around it, every box answered as a user would.
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

#include "EReportError.h"
#include "Exception.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TADOTable.h"
#include "TErrorBox.h"
#include "TField.h"
#include "THandlerDispatch.h"
#include "THostPath.h"
#include "TModalAnswerer.h"
#include "TOutputOptionsDialog.h"
#include "TReportPreview.h"
#include "TReportSystem.h"
#include "TReportTestFiles.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"
#include "TTestDatabase.h"
#include "Unit3.h"
#include "TTestChecks.h"

namespace {

// What Button4Click does.
bool Click() {
    return Dispatch([] {
        DataModule3->RvProject1->Open();
        DataModule3->RvProject1->Close();
        DataModule3->RvProject1->Execute();
    });
}

QString ProjectPath() {
    return HostPath(QStringLiteral("C:\\ZIRT\\kelvor\\Project1.rav"));
}

void WriteProject(const QByteArray& bytes) {
    QFile f(ProjectPath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList Captions(const TModalAnswerer& answer) {
    QStringList captions;
    for (const TSeenModal& seen : answer.Seen())
        captions.append(seen.Caption);
    return captions;
}

qint64 Exec(const QString& sql) {
    TADOQuery q(nullptr, QStringLiteral("ADOQueryTest"));
    q.SetConnection(DataModule3->ADOConnection1);
    q.SQL().Add(sql);
    return q.ExecSQL();
}

QStringList Column(const QString& sql) {
    TADOQuery q(nullptr, QStringLiteral("ADOQueryTest"));
    q.SetConnection(DataModule3->ADOConnection1);
    q.SQL().Add(sql);
    q.Open();
    QStringList values;
    for (q.First(); !q.Eof(); q.Next())
        values.append(q.Field(0)->AsString());
    return values;
}

}  // namespace

class TstRvProject : public QObject {
    Q_OBJECT

    std::unique_ptr<TTestDatabase> m_db;
    TReportSystem m_toFile;
    QTemporaryDir m_out;

    void CreateModule() {
        TModalAnswerer answer;  // a database that cannot be reached shows its boxes; they are pressed
        DataModule3 = new TDataModule3(nullptr);
    }
    void DestroyModule() {
        TModalAnswerer answer;  // its exit step's boxes (a refused pending change) are answered too
        delete DataModule3;
        DataModule3 = nullptr;
    }
    // Runs the click straight to a file (no windows) and returns the CSV rows, headings first.
    QVector<QStringList> ClickToCsv() {
        m_toFile.OutputFileFormat = TReportFileFormat::Csv;
        m_toFile.OutputFileName = m_out.filePath(QStringLiteral("price.csv"));
        QFile::remove(m_toFile.OutputFileName);
        DataModule3->RvProject1->SetEngine(&m_toFile);
        Click();
        DataModule3->RvProject1->SetEngine(nullptr);
        return TReportTestFiles::ReadCsv(TReportTestFiles::ReadAll(m_toFile.OutputFileName));
    }

private Q_SLOTS:
    void init() {
        m_db = std::make_unique<TTestDatabase>();
        m_db->InstallSharedFiles();
        m_toFile = TReportSystem();
        m_toFile.ShowSetupDialog = false;
        m_toFile.ShowStatus = false;
        m_toFile.DefaultDestination = TReportDestination::File;
        CreateModule();
    }
    void cleanup() {
        DestroyModule();
        m_db.reset();
    }

    void settings() {
        TRvProject* project = DataModule3->RvProject1;
        QCOMPARE(project->objectName(), QStringLiteral("RvProject1"));
        QCOMPARE(project->ProjectFile(), QStringLiteral("C:\\ZIRT\\kelvor\\Project1.rav"));
        QCOMPARE(project->FullProjectPath(), QFileInfo(ProjectPath()).absoluteFilePath());
        QCOMPARE(project->Engine(), nullptr);
        QVERIFY(!project->Loaded());
        TRvDataSetConnection* connection = DataModule3->RvDataSetConnection1;
        QCOMPARE(connection->DataSet(), DataModule3->ADOQuery11);
        QCOMPARE(connection->RuntimeVisibility(), rtDeveloper);
        // Creation order: the two report components sit after View_1's table and before ADOQuery11.
        const QObjectList children = DataModule3->children();
        const int at = children.indexOf(static_cast<QObject*>(connection));
        QVERIFY(children.indexOf(static_cast<QObject*>(DataModule3->ADOTable8)) < at);
        QCOMPARE(children.indexOf(static_cast<QObject*>(project)), at + 1);
        QVERIFY(children.indexOf(static_cast<QObject*>(DataModule3->ADOQuery11)) > at + 1);
    }

    void projectFileRule_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no full stop") << "Project1"
                                      << "Project1.rav";
        QTest::newRow("fixed path") << "C:\\ZIRT\\kelvor\\Project1.rav"
                                    << "C:\\ZIRT\\kelvor\\Project1.rav";
        QTest::newRow("full stop in a folder") << "C:\\v1.2\\Project1"
                                               << "C:\\v1.2\\Project1";
        QTest::newRow("other extension") << "prices.txt"
                                         << "prices.txt";
        QTest::newRow("trailing full stop") << "Project1."
                                            << "Project1.";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("folder without stop") << "C:\\ZIRT\\kelvor\\Project1"
                                             << "C:\\ZIRT\\kelvor\\Project1.rav";
    }
    void projectFileRule() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        TRvProject project(nullptr, QStringLiteral("RvProject2"));
        project.SetProjectFile(name);
        QCOMPARE(project.ProjectFile(), stored);
    }

    void columnsOfTheConnection() {
        const QVector<TReportColumn> columns = DataModule3->RvDataSetConnection1->Columns();
        QStringList names;
        for (const TReportColumn& c : columns) {
            names.append(c.Name);
            QCOMPARE(c.DisplayLabel, c.Name);
        }
        QCOMPARE(names, (QStringList{"name", "description", "saleprice", "percent"}));
        QVERIFY(columns.at(0).Type == QMetaType::QString);
        QVERIFY(columns.at(2).Type == QMetaType::Double);
    }

    void missingFileShowsTheErrorAndNothingElse() {
        QVERIFY(QFile::remove(ProjectPath()));
        TModalAnswerer answer;
        QVERIFY(!Click());
        QCOMPARE(answer.Seen().size(), 1);
        const TSeenModal& box = answer.Seen().at(0);
        const QString expected = QStringLiteral("The following reporting project does not exist:\r\"") +
                                 QFileInfo(ProjectPath()).absoluteFilePath() + QLatin1Char('"');
        QCOMPARE(box.Text, expected);  // no full stop added after the closing quote
        QCOMPARE(ErrorBoxText(expected), expected);
        QCOMPARE(box.Icon, int(QMessageBox::Critical));
        QCOMPARE(box.Buttons, QStringList{"OK"});
        QVERIFY(!DataModule3->RvProject1->Loaded());
        // The next click tries again and finds the file.
        m_db->InstallSharedFiles();
        answer.Press(QStringLiteral("Cancel"));
        QVERIFY(Click());
        QCOMPARE(answer.Seen().size(), 2);
        QCOMPARE(answer.Seen().at(1).Caption, QStringLiteral("Output Options"));
    }

    void clickLeadsThroughTheWindows() {
        TModalAnswerer answer;
        bool preview = false;
        answer.Run([&preview](QWidget* w) {
            auto* setup = qobject_cast<TOutputOptionsDialog*>(w);
            QVERIFY(setup);
            preview = setup->PreviewButton->isChecked();
            setup->OkButton->click();
        });
        answer.Run([](QWidget*) {});
        int pages = 0;
        answer.Run([&pages](QWidget* w) {
            auto* p = qobject_cast<TReportPreview*>(w);
            QVERIFY(p);
            QVERIFY(p->isModal());
            pages = p->PageCount();
            p->CloseButton->click();
        });
        QVERIFY(Click());
        QVERIFY(answer.WaitAllAnswered());
        QCOMPARE(Captions(answer), (QStringList{"Output Options", "Report Status", "Report Preview"}));
        QVERIFY(preview);
        QCOMPARE(pages, 1);
        QVERIFY(DataModule3->RvProject1->Loaded());  // stays loaded after the run
    }

    void cancelInSetupEndsQuietlyAndTheNextClickStartsAgain() {
        TModalAnswerer answer;
        answer.Press(QStringLiteral("Cancel"));
        answer.Close();
        QVERIFY(Click());
        QVERIFY(Click());
        QCOMPARE(Captions(answer), (QStringList{"Output Options", "Output Options"}));
    }

    void fileChangedBetweenClicksChangesTheReport() {
        const QVector<QStringList> first = ClickToCsv();
        QVERIFY(first.size() > 10);
        QCOMPARE(first.at(0).at(0), QStringLiteral("Наименование"));
        QByteArray bytes = TReportTestFiles::ReadAll(ProjectPath());
        bytes.replace("\"Наименование\"", "\"Товар\"");
        bytes.replace(
            "{ \"field\": \"percent\", \"heading\": \"Скидка, %\", \"width\": 22, \"align\": \"right\", "
            "\"decimals\": 0 }",
            "{ \"field\": \"percent\", \"heading\": \"Скидка\", \"width\": 22 }");
        bytes.replace("\"data\": { \"connection\": \"RvDataSetConnection1\" }",
                      "\"data\": { \"connection\": \"rvdatasetconnection1\", \"conditions\": "
                      "[{ \"field\": \"percent\", \"op\": \">=\", \"value\": 10 }] }");
        WriteProject(bytes);
        const QVector<QStringList> second = ClickToCsv();
        QCOMPARE(second.at(0), (QStringList{"Товар", "Описание", "Цена, руб.", "Скидка"}));
        QVERIFY(second.size() < first.size());
        for (int i = 1; i < second.size(); ++i)
            QVERIFY(second.at(i).at(3).toDouble() >= 10);
    }

    void joinsDecideWhatIsListed() {
        const QVector<QStringList> rows = ClickToCsv();
        QStringList names;
        for (int i = 1; i < rows.size(); ++i)
            names.append(rows.at(i).at(0));
        QCOMPARE(names.size(), DataModule3->ADOQuery11->RecordCount());
        const QStringList twice =
            Column(QStringLiteral("SELECT w.name FROM wares w JOIN period p ON p.Idwares = w.Idwares GROUP "
                                  "BY w.Idwares HAVING COUNT(*) = 2"));
        QVERIFY(!twice.isEmpty());
        for (const QString& name : twice)
            QCOMPARE(names.count(name), 2);
        const QStringList absent =
            Column(QStringLiteral("SELECT name FROM wares WHERE Iddiscount IS NULL OR Idwares NOT IN (SELECT "
                                  "Idwares FROM period)"));
        QVERIFY(absent.size() >= 2);
        for (const QString& name : absent)
            QCOMPARE(names.count(name), 0);
    }

    void wareAddedDuringTheRunIsMissingUntilRestart() {
        Exec(
            QStringLiteral("INSERT INTO wares (name, description, orderprice, saleprice, Iddiscount) "
                           "VALUES ('Тостер О''Нил', 'новинка', 100, 150, 1)"));
        Exec(
            QStringLiteral("INSERT INTO period (Idprovider, Idwares, day) "
                           "SELECT 1, MAX(Idwares), 3 FROM wares"));
        auto names = [this] {
            QStringList n;
            for (const QStringList& row : ClickToCsv())
                n.append(row.at(0));
            return n;
        };
        QVERIFY(!names().contains(QStringLiteral("Тостер О'Нил")));
        DestroyModule();
        CreateModule();
        QVERIFY(names().contains(QStringLiteral("Тостер О'Нил")));
    }

    void passPutsTheDataSetBack() {
        TADOQuery* q = DataModule3->ADOQuery11;
        QVERIFY(q->Active());
        q->SetFilter(QStringLiteral("percent = '5'"));
        q->SetFiltered(true);
        const int visible = q->RecordCount();
        QVERIFY(visible > 1 && visible < 40);
        q->SetRecNo(1);
        class TCount : public TReportPassVisitor {
        public:
            void Columns(const QVector<TReportColumn>&) override {}
            bool Row(const QVector<QVariant>&) override { return ++Rows > 0; }
            int Rows = 0;
        } count;
        // The report's condition is applied by the connection; the data set's filter stays as it is.
        DataModule3->RvDataSetConnection1->Pass({{QStringLiteral("saleprice"), QStringLiteral(">"), 0}},
                                                count);
        QCOMPARE(count.Rows, visible);
        QVERIFY(q->Active());
        QCOMPARE(q->Filter(), QStringLiteral("percent = '5'"));
        QVERIFY(q->Filtered());
        QCOMPARE(q->RecNo(), 1);
        QVERIFY(!q->ControlsDisabled());
        // Closed before, closed after; an unknown column is an error and still puts it back.
        q->Close();
        DataModule3->RvDataSetConnection1->Pass({}, count);
        QVERIFY(!q->Active());
        QVERIFY_THROWS_EXCEPTION(EReportError,
                                 DataModule3->RvDataSetConnection1->Pass(
                                     {{QStringLiteral("colour"), QStringLiteral("="), 1}}, count));
        QVERIFY(!q->Active());
        QVERIFY(!q->ControlsDisabled());
    }

    void closedAndUnopenableShowsTheDatabaseMessage() {
        DestroyModule();
        m_db->MakeUnreachable();
        CreateModule();
        QVERIFY(!DataModule3->ADOQuery11->Active());
        m_toFile.OutputFileName = m_out.filePath(QStringLiteral("none.csv"));
        DataModule3->RvProject1->SetEngine(&m_toFile);
        const QString message = TTestChecks::ThrownMessage([] { DataModule3->RvProject1->Execute(); });
        QVERIFY2(message != QLatin1String("<no exception>") && !message.startsWith(QLatin1String("<foreign")),
                 qPrintable(message));
        TModalAnswerer answer;
        QVERIFY(!Click());
        QCOMPARE(answer.Texts(), QStringList{ErrorBoxText(message)});
        QVERIFY(!QFile::exists(m_toFile.OutputFileName));
        QVERIFY(!DataModule3->ADOQuery11->Active());
        // Reachable again: each print opens it, reads it afresh and closes it again.
        m_db->MakeReachable();
        const QVector<QStringList> rows = ClickToCsv();
        QVERIFY(rows.size() > 10);
        QVERIFY(!DataModule3->ADOQuery11->Active());
    }

    void emptyFileRunsTheNewEmptyProject() {
        WriteProject(QByteArray());
        TModalAnswerer answer;
        answer.Press(QStringLiteral("OK"));
        answer.Run([](QWidget*) {});
        int pages = 0;
        answer.Run([&pages](QWidget* w) {
            pages = static_cast<TReportPreview*>(w)->PageCount();
            static_cast<TReportPreview*>(w)->accept();
        });
        QVERIFY(Click());
        QCOMPARE(Captions(answer), (QStringList{"Output Options", "Report Status", "Report Preview"}));
        QCOMPARE(pages, 1);
    }

    void badFilesAreErrors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fragment");
        const QByteArray shared = TReportTestFiles::ReadAll(TReportTestFiles::SharedProject());
        QTest::newRow("no report") << QByteArray(
                                          R"({"format":"zirt-report-project","version":1,"reports":[]})")
                                   << "holds no report";
        QTest::newRow("truncated") << shared.left(shared.size() / 2) << "cannot be read";
        QTest::newRow("binary") << QByteArray("\x00\xFF\xFE garbage", 12) << "cannot be read";
    }
    void badFilesAreErrors() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fragment);
        WriteProject(bytes);
        TModalAnswerer answer;
        QVERIFY(!Click());
        QCOMPARE(answer.Seen().size(), 1);
        QVERIFY2(answer.Seen().at(0).Text.contains(fragment), qPrintable(answer.Seen().at(0).Text));
        QVERIFY(answer.Seen().at(0).Text.contains(QFileInfo(ProjectPath()).absoluteFilePath()));
    }

    void notARegularFileIsAnError() {
        QVERIFY(QFile::remove(ProjectPath()));
        QVERIFY(mkfifo(QFile::encodeName(ProjectPath()).constData(), 0600) == 0);
        TModalAnswerer answer;
        QVERIFY(!Click());  // must not block reading the pipe
        QCOMPARE(answer.Seen().size(), 1);
        QVERIFY2(answer.Seen().at(0).Text.contains(QLatin1String("not a report project")),
                 qPrintable(answer.Seen().at(0).Text));
    }

    void unknownConnectionNameShowsTheEngineError() {
        QByteArray bytes = TReportTestFiles::ReadAll(ProjectPath());
        bytes.replace("RvDataSetConnection1", "RvDataSetConnection2");
        WriteProject(bytes);
        TModalAnswerer answer;
        answer.Press(QStringLiteral("OK"));
        answer.Press(QStringLiteral("OK"));
        QVERIFY(Click());
        QCOMPARE(Captions(answer), (QStringList{"Output Options", "Error"}));
        QVERIFY(answer.Seen().at(1).Text.contains(QLatin1String("\"RvDataSetConnection2\"")));
    }

    void pdfHoldsEveryRow() {
        m_toFile.OutputFileFormat = TReportFileFormat::Pdf;
        m_toFile.OutputFileName = m_out.filePath(QStringLiteral("price.pdf"));
        DataModule3->RvProject1->SetEngine(&m_toFile);
        QVERIFY(Click());
        const QString text = TReportTestFiles::PdfText(m_toFile.OutputFileName);
        TADOQuery* q = DataModule3->ADOQuery11;
        QVERIFY(q->RecordCount() > 30);
        for (int row = 0; row < q->RecordCount(); ++row) {
            // In full: a price list whose model names are cut off tells two models apart no more.
            const QString name = q->DisplayTextAt(row, 0);
            const QString description = q->DisplayTextAt(row, 1);
            QVERIFY2(text.contains(name), qPrintable(name));
            QVERIFY2(text.contains(description), qPrintable(description));
        }
        QVERIFY(text.contains(QStringLiteral("Прайс-лист")));
        QVERIFY(text.contains(QStringLiteral("Дата печати: ") +
                              QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))));
    }

    void listenerServesTheSameRows() {
        const QString server = DataModule3->RvDataSetConnection1->ListenerName();
        QVERIFY(!server.isEmpty());
        QLocalSocket socket;
        socket.connectToServer(server);
        QVERIFY(socket.waitForConnected(3000));
        socket.write(R"({"connection":"RvDataSetConnection1","request":"rows"})"
                     "\n");
        QByteArray answer;
        for (int i = 0; i < 500 && !answer.contains('\n'); ++i) {
            QTest::qWait(10);
            answer += socket.readAll();
        }
        const QJsonArray rows =
            QJsonDocument::fromJson(answer).object().value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), DataModule3->ADOQuery11->RecordCount());
    }
};

QTEST_MAIN(TstRvProject)
#include "tst_rvproject.moc"
