// The installation as a user meets it: "cmake --install" of this build into a temporary prefix; the
// desktop entry, icons and metainfo naming each other and what was installed, and passing their
// validators; the manual pages, the copyright file and the changelog as Debian reads them;
// zirt-provision without arguments creating the demo data once and keeping it after; the launcher
// creating it on a first start only; the program started directly titled "Project1" in its boxes,
// and through the launcher showing its main window with the desktop's identity and exiting with 0.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "TXClient.h"

namespace {

struct TRun {
    int ExitCode = -1;
    QString Output;
};

// The environment without a display: the program ends at once, saying so.
QProcessEnvironment WithoutADisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

const QString NoDisplayLine =
    QStringLiteral("zirt: no display to show the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set)");

// The environment of a program shown on the test's X server, its data in dataHome.
QProcessEnvironment OnTheXServer(const QString& dataHome) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

// Runs a program to its end with XDG_DATA_HOME set; a crash or a hang is an exit code of -1.
TRun RunToEnd(const QString& program, const QStringList& arguments, const QString& dataHome = QString(),
              QProcessEnvironment environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
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

// A gzip file's content; empty unless it is one with no time stamp in its header, as Debian wants.
QByteArray Gunzipped(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray header = f.read(10);
    if (header.size() < 10 || header.mid(4, 4) != QByteArray(4, '\0'))
        return QByteArray();
    QProcess gunzip;
    gunzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), file});
    gunzip.waitForFinished();
    return gunzip.exitCode() == 0 ? gunzip.readAllStandardOutput() : QByteArray();
}

// The paragraphs of a Debian control-style file, each field's value with its continuation lines
// unfolded (" ." an empty line).
QList<QMap<QString, QString>> Paragraphs(const QString& text) {
    QList<QMap<QString, QString>> paragraphs;
    for (const QString& block : text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        QMap<QString, QString> fields;
        QString field;
        for (const QString& line : block.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1Char(' '))) {
                fields[field] += QLatin1Char('\n') + (line == QLatin1String(" .") ? QString() : line.mid(1));
            } else {
                field = line.section(QLatin1Char(':'), 0, 0);
                fields[field] = line.section(QLatin1Char(':'), 1).trimmed();
            }
        }
        paragraphs.append(fields);
    }
    return paragraphs;
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
    void manPagesRenderWithoutWarnings_data();
    void manPagesRenderWithoutWarnings();
    void copyrightIsMachineReadable();
    void changelogNamesThePackagesVersion();
    void programWithoutADisplaySaysSo();
    void launcherCreatesTheDemoDataOnAFirstStartOnly();
    void programStartedDirectlyReportsAMissingDatabase();
    void launcherReachesTheMainWindowAsTheDesktopEntry();

private:
    QString Installed(const QString& relative) const { return m_prefix + QLatin1Char('/') + relative; }
    QString DesktopFile() const {
        return Installed(QStringLiteral(DATADIR "/applications/" APP_ID ".desktop"));
    }
    QString MetainfoFile() const {
        return Installed(QStringLiteral(DATADIR "/metainfo/" APP_ID ".metainfo.xml"));
    }
    QString Provision() const { return Installed(QStringLiteral(BINDIR "/zirt-provision")); }
    // The first shown window of program that found takes, while it runs (30 s at most); names collects
    // the titles of every window it showed meanwhile.
    TXWindow WaitForWindow(const QProcess& program, const std::function<bool(const TXWindow&)>& found,
                           QStringList* names) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000 && program.state() == QProcess::Running) {
            for (const TXWindow& window : m_keepServer.WindowsOf(program.processId())) {
                if (!window.Viewable)
                    continue;
                if (!names->contains(window.Name))
                    names->append(window.Name);
                if (found(window))
                    return window;
            }
            QTest::qWait(20);
        }
        return {};
    }
    QString Launcher() const { return Installed(QStringLiteral(BINDIR "/zirt")); }
    QString Program() const { return Installed(QStringLiteral(LIBEXECDIR "/zirt/zirt")); }

    QTemporaryDir m_root;
    QString m_prefix;
    // Held for the whole run: Xvfb resets when its last client leaves, and a connection opened
    // during the reset fails.
    TXClient m_keepServer;
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
    QCOMPARE(count, 1);
    const QString icon = DesktopKey(entry, QStringLiteral("Icon"));
    const QString icons = Installed(QStringLiteral(DATADIR "/icons/hicolor/"));
    QVERIFY(QFileInfo::exists(icons + QStringLiteral("scalable/apps/") + icon + ".svg"));
    for (const int size : {48, 64, 128, 256}) {
        const QString png = icons + QStringLiteral("%1x%1/apps/").arg(size) + icon + ".png";
        QCOMPARE(QImageReader(png).size(), QSize(size, size));
    }

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

void TstInstall::manPagesRenderWithoutWarnings_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("mentions");
    // The program's fixed password, how to copy the database and what a plain shell lacks.
    QTest::newRow("zirt") << "zirt" << QStringList{"047", ".backup", "RUSSIAN_CI", "ZIRT_SERVER_COMPUTER"};
    QTest::newRow("zirt-provision") << "zirt-provision" << QStringList{"--first-start", "--schema", "--version"};
}

void TstInstall::manPagesRenderWithoutWarnings() {
    QFETCH(QString, command);
    QFETCH(QStringList, mentions);
    const QString page = Installed(QStringLiteral(MANDIR "/man1/") + command + QStringLiteral(".1.gz"));
    QVERIFY2(!Gunzipped(page).isEmpty(), qPrintable(page));
    QProcess man;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    man.setProcessEnvironment(environment);
    // What lintian runs: every groff warning on, the page rendered as UTF-8 text.
    man.start(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                                      QStringLiteral("-l"), page});
    QVERIFY(man.waitForFinished(30000));
    const QString warnings = QString::fromUtf8(man.readAllStandardError());
    QVERIFY2(man.exitCode() == 0 && warnings.isEmpty(), qPrintable(warnings));
    const QString text = QString::fromUtf8(man.readAllStandardOutput()).remove(QRegularExpression(".\b"));
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("NAME\\s+%1 - ").arg(QRegularExpression::escape(command)))),
             qPrintable(text.left(300)));
    for (const QString& mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(mention));
}

void TstInstall::copyrightIsMachineReadable() {
    const QList<QMap<QString, QString>> paragraphs = Paragraphs(ReadAll(Installed(QStringLiteral(DOCDIR "/copyright"))));
    QVERIFY(paragraphs.size() >= 3);
    QCOMPARE(paragraphs[0].value(QStringLiteral("Format")),
             QStringLiteral("https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"));
    QVERIFY(paragraphs[0].value(QStringLiteral("Upstream-Contact")).contains(QRegularExpression("<[^@<>]+@[^@<>]+\\.[^@<>]+>")));
    // Every Files paragraph names a licence that has its text in a paragraph of its own.
    QMap<QString, QString> licences;
    for (const auto& paragraph : paragraphs)
        if (!paragraph.contains(QStringLiteral("Files")) && paragraph.contains(QStringLiteral("License")))
            licences.insert(paragraph.value(QStringLiteral("License")).section(QLatin1Char('\n'), 0, 0),
                            paragraph.value(QStringLiteral("License")).section(QLatin1Char('\n'), 1));
    int files = 0;
    for (const auto& paragraph : paragraphs) {
        if (!paragraph.contains(QStringLiteral("Files")))
            continue;
        ++files;
        QVERIFY(!paragraph.value(QStringLiteral("Copyright")).isEmpty());
        QVERIFY2(licences.contains(paragraph.value(QStringLiteral("License"))),
                 qPrintable(paragraph.value(QStringLiteral("License"))));
    }
    QVERIFY(files >= 1);
    // The MIT terms are those of the repository's LICENSE, word for word.
    const QString license = ReadAll(QStringLiteral(SOURCE_DIR "/LICENSE"));
    QCOMPARE(licences.value(QStringLiteral("MIT")).trimmed(),
             license.mid(license.indexOf(QLatin1String("Permission is hereby"))).trimmed());
}

void TstInstall::changelogNamesThePackagesVersion() {
    QTemporaryDir folder;
    const QString plain = folder.filePath(QStringLiteral("changelog"));
    const QByteArray text = Gunzipped(Installed(QStringLiteral(DOCDIR "/changelog.Debian.gz")));
    QVERIFY(!text.isEmpty());
    {
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    const TRun parsed = RunToEnd(QStringLiteral("dpkg-parsechangelog"), {QStringLiteral("-l"), plain});
    QVERIFY2(parsed.ExitCode == 0, qPrintable(parsed.Output));
    const auto fields = Paragraphs(parsed.Output).value(0);
    QCOMPARE(fields.value(QStringLiteral("Source")), QStringLiteral("zirt"));
    QCOMPARE(fields.value(QStringLiteral("Version")), QStringLiteral(PACKAGE_VERSION));
    QVERIFY(!fields.value(QStringLiteral("Maintainer")).contains(QLatin1String("localhost")));
}

void TstInstall::programWithoutADisplaySaysSo() {
    QProcess program;
    program.setProcessEnvironment(WithoutADisplay());
    program.start(Program(), {});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, QStringList{NoDisplayLine});
}

void TstInstall::launcherCreatesTheDemoDataOnAFirstStartOnly() {
    // Without a display the program ends as soon as the launcher has started it.
    QTemporaryDir home;
    const QString database = home.filePath(QStringLiteral("zirt/SQLEXPRESS/ZIRT.sqlite"));
    const TRun first = RunToEnd(Launcher(), {}, home.path(), WithoutADisplay());
    QCOMPARE(first.ExitCode, 1);
    QVERIFY2(first.Output.contains(QLatin1String("a first start")) &&
                 first.Output.contains(QStringLiteral("created ") + database),
             qPrintable(first.Output));
    QVERIFY2(first.Output.trimmed().endsWith(NoDisplayLine), qPrintable(first.Output));
    QVERIFY(QFileInfo(database).size() > 0);
    QVERIFY(QFileInfo::exists(home.filePath(QStringLiteral("zirt/drive_c/ZIRT/kelvor/Project1.rav"))));

    // Every later start says nothing of its own and leaves the database alone.
    const QByteArray before = Digest(database);
    const TRun second = RunToEnd(Launcher(), {}, home.path(), WithoutADisplay());
    QCOMPARE(second.ExitCode, 1);
    QCOMPARE(second.Output.trimmed(), NoDisplayLine);
    QCOMPARE(Digest(database), before);
}

void TstInstall::programStartedDirectlyReportsAMissingDatabase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !m_keepServer.Available())
        QSKIP("no X server: the installed program's windows cannot be inspected");
    QTemporaryDir home;
    QProcess program;
    program.setProcessEnvironment(OnTheXServer(home.path()));
    program.start(Program(), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    QStringList names;
    WaitForWindow(program, [](const TXWindow& w) { return w.Name == QLatin1String("Project1"); }, &names);
    program.kill();
    program.waitForFinished();
    // The error box is captioned with the application title; nothing was created.
    QVERIFY2(names.contains(QStringLiteral("Project1")), qPrintable(names.join(QLatin1Char(','))));
    QVERIFY(QDir(home.path()).isEmpty());
}

void TstInstall::launcherReachesTheMainWindowAsTheDesktopEntry() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !m_keepServer.Available())
        QSKIP("no X server: the installed program's windows cannot be inspected");
    TXClient& x = m_keepServer;
    QTemporaryDir home;
    QProcess program;
    program.setProcessEnvironment(OnTheXServer(home.path()));
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(Launcher(), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    // The launcher execs the program, so its windows carry the launcher's process id.
    QStringList names;
    const TXWindow main = WaitForWindow(
        program, [](const TXWindow& w) { return w.Name == Caption && w.Size == QSize(772, 508); }, &names);
    if (!main.Id)
        program.kill();
    QVERIFY2(main.Id, qPrintable(QString::fromUtf8(program.readAll())));
    QVERIFY2(!names.contains(QStringLiteral("Project1")), "an error box was shown on the first start");
    // What a task bar ties to the desktop entry: the window class and an icon in every size.
    const QString entry = ReadAll(DesktopFile());
    QCOMPARE(x.WindowClass(main.Id).value(0), DesktopKey(entry, QStringLiteral("StartupWMClass")));
    const QList<QSize> icons = x.IconSizes(main.Id);
    for (const int size : {48, 64, 128, 256})
        QVERIFY2(icons.contains(QSize(size, size)), qPrintable(QString::number(size)));
    x.Close(main.Id);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TstInstall)
#include "tst_install.moc"
