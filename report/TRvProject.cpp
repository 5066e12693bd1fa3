// The report project: Open reads the project file anew, Close drops it, Execute runs the active report.
// Relies on platform/reporting for reading and running and on platform/shell for the host path.
#include "TRvProject.h"

#include <QFile>
#include <QFileInfo>

#include "EReportError.h"
#include "THostPath.h"
#include "TReportProject.h"
#include "TReportRun.h"
#include "TReportSystem.h"

namespace {
const qint64 kMaxProjectBytes = 16 * 1024 * 1024;
}  // namespace

TRvProject::TRvProject(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

TRvProject::~TRvProject() {
    Close();
}

void TRvProject::SetProjectFile(const QString& name) {
    // A name with no full stop anywhere, not even in a folder, has no extension yet.
    if (!name.isEmpty() && !name.contains(QLatin1Char('.')))
        m_projectFile = name + QStringLiteral(".rav");
    else
        m_projectFile = name;
}

QString TRvProject::FullProjectPath() const {
    if (m_projectFile.isEmpty())
        return {};
    return QFileInfo(HostPath(m_projectFile)).absoluteFilePath();
}

void TRvProject::Open() {
    if (Loaded())
        return;
    const QString path = FullProjectPath();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw EReportError(QStringLiteral("The following reporting project does not exist:") + QChar(13) +
                           QLatin1Char('"') + path + QLatin1Char('"'));
    // A project is a few kilobytes; a device, a pipe or a huge file is not one and is not read.
    if (!info.isFile() || info.size() > kMaxProjectBytes)
        throw EReportError(
            QStringLiteral("The reporting project \"%1\" cannot be read: it is not a report project")
                .arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EReportError(QStringLiteral("The reporting project \"%1\" cannot be opened: %2")
                               .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EReportError(
            QStringLiteral("The reporting project \"%1\" cannot be read: %2").arg(path, file.errorString()));
    auto project = std::make_unique<TReportProject>(bytes.isEmpty() ? TReportProject::NewEmpty()
                                                                    : TReportProject::Parse(bytes, path));
    m_activeReport = project->ActiveReportIndex();
    m_project = std::move(project);
}

void TRvProject::Close() {
    m_project.reset();
    m_activeReport = -1;
}

void TRvProject::Execute() {
    Open();
    if (m_activeReport < 0)
        throw EReportError(
            QStringLiteral("The reporting project \"%1\" holds no report to run").arg(FullProjectPath()));
    // The run works on its own copy: a handler reached from the run's windows may close the project.
    const TReportDefinition report = m_project->Reports().at(m_activeReport);
    RunReport(report, m_engine ? *m_engine : TReportSystem::Default());
}
