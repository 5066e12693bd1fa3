// The report project the program calls: loads a project file from disk and runs its active report.
// Relies on the engine in platform/reporting; the data it reads comes through TRvDataSetConnection.
//
// States: not loaded --Open (success)--> loaded --Close--> not loaded. A failed Open leaves it
// not loaded; destruction closes a loaded project first.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

struct TReportSystem;
class TReportProject;

class TRvProject : public QObject {
    Q_OBJECT
public:
    TRvProject(QObject* owner, const QString& name);
    ~TRvProject() override;

    // The name as stored: a non-empty name without any full stop gets ".rav" appended.
    QString ProjectFile() const { return m_projectFile; }
    void SetProjectFile(const QString& name);
    // The output system a run uses; nullptr (the default) gives each run the engine's default one.
    TReportSystem* Engine() const { return m_engine; }
    void SetEngine(TReportSystem* engine) { m_engine = engine; }

    // The full host path the project file is read from.
    QString FullProjectPath() const;
    bool Loaded() const { return m_project != nullptr; }
    // Valid while loaded; -1 when the project holds no report.
    int ActiveReportIndex() const { return m_activeReport; }
    const TReportProject* Project() const { return m_project.get(); }

    void Open();
    void Close();
    void Execute();

private:
    QString m_projectFile;
    TReportSystem* m_engine = nullptr;
    std::unique_ptr<TReportProject> m_project;
    int m_activeReport = -1;
};
