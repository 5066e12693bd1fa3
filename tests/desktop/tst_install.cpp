// The installation as a user meets it: "cmake --install" of this build into a temporary prefix; the
// desktop entry, icon and metainfo naming each other and what was installed, and passing their
// validators; zirt-provision without arguments creating the demo data once and keeping it after;
// the installed program titled "Project1" in its boxes, showing its main window and exiting with 0.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "TXClient.h"

namespace {

struct TRun {
    int ExitCode = -1;
    QString Output;
};

// Runs a program to its end with XDG_DATA_HOME set; a crash or a hang is an exit code of -1.
TRun RunToEnd(const QString& program, const QStringList& arguments, const QString& dataHome = QString()) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!dataHome.isEmpty())
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    TRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.Output = process.errorString();
        return run;
    }
    run.Output = QString::fromUtf8(process.readAll());
    if (process.exitStatus() == QProcess::NormalExit)
        run.ExitCode = process.exitCode();
    return run;
}

QByteArray Digest(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

QString ReadAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A key of the [Desktop Entry] group (QSettings would take the ';' lists and locales apart).
QString DesktopKey(const QString& entry, const QString& key) {
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    const QString text = entry.section(QStringLiteral("\n["), 0, 0);
    return line.match(text).captured(1).trimmed();
}

const QString Caption = QStringLiteral("База данных");

}  // namespace

class TstInstall : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void desktopFilesNameWhatIsInstalled();
    void validatorsPass_data();
    void validatorsPass();
    void provisionCreatesOnceAndKeepsAfter();
    void provisionWithoutItsScriptsFailsAndLeavesNothing();
    void provisionAnswersHelpAndVersion_data();
    void provisionAnswersHelpAndVersion();
    void programWithoutADisplaySaysSo();
    void installedProgramIsProject1AndExitsWithZero();

private:
    QString Installed(const QString& relative) const { return m_prefix + QLatin1Char('/') + relative; }
    QString DesktopFile() const {
        return Installed(QStringLiteral(DATADIR "/applications/" APP_ID ".desktop"));
    }
    QString MetainfoFile() const {
        return Installed(QStringLiteral(DATADIR "/metainfo/" APP_ID ".metainfo.xml"));
    }
    QString Provision() const { return Installed(QStringLiteral(BINDIR "/zirt-provision")); }
    QString Program() const { return Installed(QStringLiteral(BINDIR "/zirt")); }

    QTemporaryDir m_root;
    QString m_prefix;
};

void TstInstall::initTestCase() {
    QVERIFY(m_root.isValid());
    m_prefix = m_root.filePath(QStringLiteral("usr"));
    const TRun install = RunToEnd(
        QStringLiteral(CMAKE_COMMAND),
        {QStringLiteral("--install"), QStringLiteral(BUILD_DIR), QStringLiteral("--prefix"), m_prefix});
    QVERIFY2(install.ExitCode == 0, qPrintable(install.Output));
}

void TstInstall::desktopFilesNameWhatIsInstalled() {
    const QString entry = ReadAll(DesktopFile());
    QVERIFY2(!entry.isEmpty(), qPrintable(DesktopFile()));
    // Exec and the action's Exec are commands found on PATH, i.e. in the installed bin folder.
    const QRegularExpression exec(QStringLiteral("^Exec=(\\S+)"), QRegularExpression::MultilineOption);
    auto commands = exec.globalMatch(entry);
    int count = 0;
    while (commands.hasNext()) {
        const QString command = commands.next().captured(1);
        ++count;
        QVERIFY2(QFileInfo(Installed(QStringLiteral(BINDIR "/") + command)).isExecutable(),
                 qPrintable(command));
    }
    QCOMPARE(count, 2);
    const QString icon = DesktopKey(entry, QStringLiteral("Icon"));
    QVERIFY(QFileInfo::exists(
        Installed(QStringLiteral(DATADIR "/icons/hicolor/scalable/apps/") + icon + ".svg")));
    // The window class Qt gives the program is the name it was started by.
    QCOMPARE(DesktopKey(entry, QStringLiteral("StartupWMClass")), QFileInfo(Program()).fileName());

    const QString metainfo = ReadAll(MetainfoFile());
    const QRegularExpression launchable(
        QStringLiteral("<launchable type=\"desktop-id\">([^<]+)</launchable>"));
    QCOMPARE(launchable.match(metainfo).captured(1), QFileInfo(DesktopFile()).fileName());
    auto binaries = QRegularExpression(QStringLiteral("<binary>([^<]+)</binary>")).globalMatch(metainfo);
    QVERIFY(binaries.hasNext());
    while (binaries.hasNext()) {
        const QString binary = binaries.next().captured(1);
        QVERIFY2(QFileInfo(Installed(QStringLiteral(BINDIR "/") + binary)).isExecutable(),
                 qPrintable(binary));
    }
    QVERIFY(!metainfo.contains(QLatin1Char('@')));  // every configured value filled in
}

void TstInstall::validatorsPass_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << QStringLiteral(DESKTOP_FILE_VALIDATE) << QStringList() << DesktopFile();
    QTest::newRow("metainfo") << QStringLiteral(APPSTREAMCLI) << QStringList{"validate", "--no-net"}
                              << MetainfoFile();
}

void TstInstall::validatorsPass() {
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    if (tool.isEmpty() || tool.endsWith(QLatin1String("-NOTFOUND")))
        QSKIP("the validator is not installed (scripts/bootstrap installs it)");
    const TRun run = RunToEnd(tool, arguments << file);
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Output));
}

void TstInstall::provisionCreatesOnceAndKeepsAfter() {
    QTemporaryDir home;
    const QString database = home.filePath(QStringLiteral("zirt/SQLEXPRESS/ZIRT.sqlite"));
    const QString kelvor = home.filePath(QStringLiteral("zirt/drive_c/ZIRT/kelvor"));
    const TRun first = RunToEnd(Provision(), {}, home.path());
    QVERIFY2(first.ExitCode == 0, qPrintable(first.Output));
    QFile file(database);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(16), QByteArray("SQLite format 3\0", 16));
    file.close();
    QVERIFY(!QFileInfo::exists(database + QStringLiteral(".part")));
    const QStringList shared = QDir(QStringLiteral(SOURCE_DIR "/share")).entryList(QDir::Files);
    QVERIFY(!shared.isEmpty());
    for (const QString& name : shared)
        QCOMPARE(Digest(kelvor + QLatin1Char('/') + name),
                 Digest(QStringLiteral(SOURCE_DIR "/share/") + name));

    // What the user has since changed stays, and a removed report file comes back.
    {
        QFile project(kelvor + QStringLiteral("/Project1.rav"));
        QVERIFY(project.open(QIODevice::Append));
        project.write("\n");
    }
    QString document;
    for (const QString& name : shared)
        if (name != QLatin1String("Project1.rav"))
            document = kelvor + QLatin1Char('/') + name;
    QVERIFY(QFile::remove(document));
    const QByteArray databaseBefore = Digest(database);
    const QByteArray projectBefore = Digest(kelvor + QStringLiteral("/Project1.rav"));
    const TRun second = RunToEnd(Provision(), {}, home.path());
    QVERIFY2(second.ExitCode == 0, qPrintable(second.Output));
    QVERIFY2(second.Output.contains(QLatin1String("kept")), qPrintable(second.Output));
    QCOMPARE(Digest(database), databaseBefore);
    QCOMPARE(Digest(kelvor + QStringLiteral("/Project1.rav")), projectBefore);
    QCOMPARE(Digest(document), Digest(QStringLiteral(SOURCE_DIR "/share/") + QFileInfo(document).fileName()));
}

void TstInstall::provisionWithoutItsScriptsFailsAndLeavesNothing() {
    // The tool alone in a prefix whose data folder is missing: a failure, said as one.
    QTemporaryDir bare, home;
    const QString tool = bare.filePath(QStringLiteral(BINDIR "/zirt-provision"));
    QVERIFY(QDir().mkpath(QFileInfo(tool).absolutePath()));
    QVERIFY(QFile::copy(Provision(), tool));
    const TRun run = RunToEnd(tool, {}, home.path());
    QVERIFY2(run.ExitCode == 1, qPrintable(run.Output));
    QVERIFY2(run.Output.contains(QLatin1String("zirt.sqlite.sql")), qPrintable(run.Output));
    const QString database = home.filePath(QStringLiteral("zirt/SQLEXPRESS/ZIRT.sqlite"));
    QVERIFY(!QFileInfo::exists(database));
    QVERIFY(!QFileInfo::exists(database + QStringLiteral(".part")));
}

void TstInstall::provisionAnswersHelpAndVersion_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // the start of standard output
    QTest::addColumn<QString>("err");  // the start of standard error
    QTest::newRow("--help") << "--help" << 0 << "usage: zirt-provision" << "";
    QTest::newRow("--version") << "--version" << 0 << "zirt-provision " ZIRT_VERSION "\n" << "";
    QTest::newRow("a wrong option") << "--bogus" << 2 << "" << "usage: zirt-provision";
}

void TstInstall::provisionAnswersHelpAndVersion() {
    QFETCH(QString, argument);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir home;
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    tool.setProcessEnvironment(environment);
    tool.start(Provision(), {argument});
    QVERIFY(tool.waitForFinished(10000));
    QCOMPARE(tool.exitCode(), exitCode);
    const QString stdOut = QString::fromUtf8(tool.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), qPrintable(stdErr));
    QVERIFY(QDir(home.path()).isEmpty());  // nothing created
}

void TstInstall::programWithoutADisplaySaysSo() {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(Program(), {});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, QStringList{QStringLiteral(
                        "zirt: no display to show the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set)")});
}

void TstInstall::installedProgramIsProject1AndExitsWithZero() {
    TXClient x;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !x.Available())
        QSKIP("no X server: the installed program's windows cannot be inspected");
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    // First start, before any database: the error box is captioned with the application title.
    {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(Program(), {});
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
        QStringList names;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 15000 && program.state() == QProcess::Running &&
               !names.contains(QStringLiteral("Project1"))) {
            for (const TXWindow& window : x.WindowsOf(program.processId()))
                if (window.Viewable && !names.contains(window.Name))
                    names.append(window.Name);
            QTest::qWait(20);
        }
        program.kill();
        program.waitForFinished();
        QVERIFY2(names.contains(QStringLiteral("Project1")), qPrintable(names.join(QLatin1Char(','))));
    }

    // After zirt-provision: the main window, and closing it ends the program with 0.
    QCOMPARE(RunToEnd(Provision(), {}, home.path()).ExitCode, 0);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(Program(), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    TXWindow main;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000 && program.state() == QProcess::Running && !main.Id) {
        for (const TXWindow& window : x.WindowsOf(program.processId()))
            if (window.Viewable && window.Name == Caption && window.Size == QSize(772, 508))
                main = window;
        QTest::qWait(20);
    }
    if (!main.Id)
        program.kill();
    QVERIFY2(main.Id, "the main window was not shown");
    x.Close(main.Id);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TstInstall)
#include "tst_install.moc"
