// Files the report tests compare against: golden files (a missing one fails, and the actual output
// is left beside the build for review), the shared price-list project, and PDF text via pdftotext.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTest>

namespace TReportTestFiles {

inline QString GoldenPath(const QString& name) {
    return QStringLiteral(ZIRT_REPORT_GOLDEN_DIR) + QLatin1Char('/') + name;
}

inline QString SharedProject() {
    return QStringLiteral(ZIRT_SHARE_DIR) + QStringLiteral("/Project1.rav");
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Empty when it matches; otherwise what is wrong (the actual output is written to <name>.actual
// in the current folder).
inline QString CompareWithGolden(const QString& name, const QByteArray& actual) {
    const QString golden = GoldenPath(name);
    if (!QFile::exists(golden) || ReadAll(golden) != actual) {
        QFile out(name + QStringLiteral(".actual"));
        if (out.open(QIODevice::WriteOnly))
            out.write(actual);
        return QFile::exists(golden)
                   ? QStringLiteral("%1 differs; see %2").arg(golden, QFileInfo(out).absoluteFilePath())
                   : QStringLiteral("golden file %1 is missing; actual output in %2")
                         .arg(golden, QFileInfo(out).absoluteFilePath());
    }
    return {};
}

// The text pdftotext finds in a PDF file; empty on failure.
inline QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A minimal RFC 4180 reader, as a spreadsheet reads a CSV file.
inline QVector<QStringList> ReadCsv(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    QVector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row.append(field);
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            row.append(field);
            field.clear();
            rows.append(row);
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        row.append(field);
        rows.append(row);
    }
    return rows;
}

}  // namespace TReportTestFiles
