// Reading and writing report project files (JSON; README.md beside this file). Every value is
// checked for its type and range: a project file comes from disk and may be anything.
#include "TReportProject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "EReportError.h"

namespace {

const char* const kFormat = "zirt-report-project";
const int kVersion = 1;

struct TPageName {
    const char* Name;
    QPageSize::PageSizeId Id;
};
const TPageName kPages[] = {{"A3", QPageSize::A3},
                            {"A4", QPageSize::A4},
                            {"A5", QPageSize::A5},
                            {"Letter", QPageSize::Letter},
                            {"Legal", QPageSize::Legal}};

class TReader {
public:
    explicit TReader(QString fileName) : m_file(std::move(fileName)) {}

    [[noreturn]] void Fail(const QString& what) const {
        throw EReportError(
            QStringLiteral("The reporting project \"%1\" cannot be read: %2").arg(m_file, what));
    }

    QJsonObject Object(const QJsonValue& v, const QString& where) const {
        if (!v.isObject())
            Fail(where + QStringLiteral(" must be an object"));
        return v.toObject();
    }
    QJsonArray Array(const QJsonObject& o, const QString& key, const QString& where) const {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return {};
        if (!v.isArray())
            Fail(where + QLatin1Char('.') + key + QStringLiteral(" must be a list"));
        return v.toArray();
    }
    QString String(const QJsonObject& o, const QString& key, const QString& where,
                   bool required = false) const {
        const QJsonValue v = o.value(key);
        if (v.isUndefined()) {
            if (required)
                Fail(where + QLatin1Char('.') + key + QStringLiteral(" is missing"));
            return {};
        }
        if (!v.isString())
            Fail(where + QLatin1Char('.') + key + QStringLiteral(" must be text"));
        return v.toString();
    }
    double Number(const QJsonObject& o, const QString& key, const QString& where, double fallback, double min,
                  double max) const {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isDouble())
            Fail(where + QLatin1Char('.') + key + QStringLiteral(" must be a number"));
        const double d = v.toDouble();
        // NaN fails both comparisons, so it is refused here too.
        if (!(d >= min && d <= max))
            Fail(where + QLatin1Char('.') + key +
                 QStringLiteral(" must be between %1 and %2").arg(min).arg(max));
        return d;
    }

    TReportDefinition Report(const QJsonValue& value, int index) const {
        const QString where = QStringLiteral("reports[%1]").arg(index);
        const QJsonObject o = Object(value, where);
        TReportDefinition r;
        r.Name = String(o, QStringLiteral("name"), where, true);
        if (r.Name.isEmpty())
            Fail(where + QStringLiteral(".name is empty"));
        r.Title = String(o, QStringLiteral("title"), where);
        r.HeaderText = String(o, QStringLiteral("header"), where);
        r.FooterText = String(o, QStringLiteral("footer"), where);
        r.FontSize = Number(o, QStringLiteral("fontSize"), where, r.FontSize, 4, 72);

        if (o.contains(QStringLiteral("page"))) {
            const QString pw = where + QStringLiteral(".page");
            const QJsonObject page = Object(o.value(QStringLiteral("page")), pw);
            const QString size = String(page, QStringLiteral("size"), pw);
            if (!size.isEmpty()) {
                bool found = false;
                for (const TPageName& p : kPages) {
                    if (size.compare(QLatin1String(p.Name), Qt::CaseInsensitive) == 0) {
                        r.PageSize = p.Id;
                        found = true;
                    }
                }
                if (!found)
                    Fail(pw + QStringLiteral(".size \"%1\" is not a known page size").arg(size));
            }
            const QString orientation = String(page, QStringLiteral("orientation"), pw);
            if (orientation == QLatin1String("landscape"))
                r.Landscape = true;
            else if (!orientation.isEmpty() && orientation != QLatin1String("portrait"))
                Fail(pw + QStringLiteral(".orientation must be \"portrait\" or \"landscape\""));
            if (page.contains(QStringLiteral("margins"))) {
                const QString mw = pw + QStringLiteral(".margins");
                const QJsonObject m = Object(page.value(QStringLiteral("margins")), mw);
                r.MarginLeft = Number(m, QStringLiteral("left"), mw, r.MarginLeft, 0, 100);
                r.MarginTop = Number(m, QStringLiteral("top"), mw, r.MarginTop, 0, 100);
                r.MarginRight = Number(m, QStringLiteral("right"), mw, r.MarginRight, 0, 100);
                r.MarginBottom = Number(m, QStringLiteral("bottom"), mw, r.MarginBottom, 0, 100);
            }
        }
        const QSizeF paper = QPageSize::size(r.PageSize, QPageSize::Millimeter);
        const double width = r.Landscape ? paper.height() : paper.width();
        const double height = r.Landscape ? paper.width() : paper.height();
        // The body needs room for at least the headings and one row between the bands.
        if (r.MarginLeft + r.MarginRight > width - 20 || r.MarginTop + r.MarginBottom > height - 60)
            Fail(where + QStringLiteral(".page.margins leave no room for the report"));

        if (o.contains(QStringLiteral("data"))) {
            const QString dw = where + QStringLiteral(".data");
            const QJsonObject data = Object(o.value(QStringLiteral("data")), dw);
            r.Connection = String(data, QStringLiteral("connection"), dw, true);
            const QJsonArray conditions = Array(data, QStringLiteral("conditions"), dw);
            for (int i = 0; i < conditions.size(); ++i) {
                const QString cw = dw + QStringLiteral(".conditions[%1]").arg(i);
                const QJsonObject c = Object(conditions.at(i), cw);
                TReportCondition condition;
                condition.Field = String(c, QStringLiteral("field"), cw, true);
                condition.Op = String(c, QStringLiteral("op"), cw);
                if (condition.Op.isEmpty())
                    condition.Op = QStringLiteral("=");
                if (!TReportCondition::IsKnownOp(condition.Op))
                    Fail(cw + QStringLiteral(".op \"%1\" is not one of = <> < <= > >=").arg(condition.Op));
                const QJsonValue v = c.value(QStringLiteral("value"));
                if (!v.isString() && !v.isDouble())
                    Fail(cw + QStringLiteral(".value must be text or a number"));
                condition.Value = v.toVariant();
                r.Conditions.append(condition);
            }
        }

        const QJsonArray columns = Array(o, QStringLiteral("columns"), where);
        double total = 0;
        for (int i = 0; i < columns.size(); ++i) {
            const QString cw = where + QStringLiteral(".columns[%1]").arg(i);
            const QJsonObject c = Object(columns.at(i), cw);
            TReportColumnLayout col;
            col.Field = String(c, QStringLiteral("field"), cw, true);
            if (col.Field.isEmpty())
                Fail(cw + QStringLiteral(".field is empty"));
            col.Heading = String(c, QStringLiteral("heading"), cw);
            col.Width = Number(c, QStringLiteral("width"), cw, col.Width, 1, 1000);
            col.Decimals = int(Number(c, QStringLiteral("decimals"), cw, -1, -1, 10));
            const QString align = String(c, QStringLiteral("align"), cw);
            if (align == QLatin1String("right"))
                col.Align = TReportAlign::Right;
            else if (align == QLatin1String("center"))
                col.Align = TReportAlign::Center;
            else if (!align.isEmpty() && align != QLatin1String("left"))
                Fail(cw + QStringLiteral(".align must be \"left\", \"center\" or \"right\""));
            total += col.Width;
            r.Columns.append(col);
        }
        if (!r.Columns.isEmpty() && r.Connection.isEmpty())
            Fail(where + QStringLiteral(" has columns but no data connection"));
        if (total > width - r.MarginLeft - r.MarginRight + 0.001)
            Fail(where + QStringLiteral(".columns are wider than the page"));
        return r;
    }

private:
    QString m_file;
};

const char* AlignName(TReportAlign a) {
    return a == TReportAlign::Right ? "right" : (a == TReportAlign::Center ? "center" : "left");
}

}  // namespace

TReportProject TReportProject::NewEmpty() {
    TReportProject p;
    p.m_name = QStringLiteral("Project1.rav");
    TReportDefinition report;
    report.Name = QStringLiteral("Report1");
    p.m_reports.append(report);
    p.m_activeReport = report.Name;
    return p;
}

TReportProject TReportProject::Parse(const QByteArray& bytes, const QString& fileName) {
    TReader reader(fileName);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        reader.Fail(QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset));
    const QJsonObject root =
        reader.Object(doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(), QStringLiteral("the file"));
    if (reader.String(root, QStringLiteral("format"), QStringLiteral("the file"), true) !=
        QLatin1String(kFormat))
        reader.Fail(QStringLiteral("it is not a report project"));
    const double version =
        reader.Number(root, QStringLiteral("version"), QStringLiteral("the file"), kVersion, 1, 1e9);
    if (version != kVersion)
        reader.Fail(QStringLiteral("version %1 is not supported").arg(version));

    TReportProject p;
    p.m_name = reader.String(root, QStringLiteral("name"), QStringLiteral("the file"));
    p.m_activeReport = reader.String(root, QStringLiteral("activeReport"), QStringLiteral("the file"));
    const QJsonArray reports = reader.Array(root, QStringLiteral("reports"), QStringLiteral("the file"));
    for (int i = 0; i < reports.size(); ++i)
        p.m_reports.append(reader.Report(reports.at(i), i));
    return p;
}

int TReportProject::ActiveReportIndex() const {
    for (int i = 0; i < m_reports.size(); ++i)
        if (m_reports.at(i).Name == m_activeReport)
            return i;
    return m_reports.isEmpty() ? -1 : 0;
}

QByteArray TReportProject::ToJson() const {
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormat));
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("name"), m_name);
    root.insert(QStringLiteral("activeReport"), m_activeReport);
    QJsonArray reports;
    for (const TReportDefinition& r : m_reports) {
        QJsonObject o;
        o.insert(QStringLiteral("name"), r.Name);
        QJsonObject page;
        for (const TPageName& p : kPages)
            if (p.Id == r.PageSize)
                page.insert(QStringLiteral("size"), QLatin1String(p.Name));
        page.insert(QStringLiteral("orientation"),
                    r.Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
        page.insert(QStringLiteral("margins"), QJsonObject{{QStringLiteral("left"), r.MarginLeft},
                                                           {QStringLiteral("top"), r.MarginTop},
                                                           {QStringLiteral("right"), r.MarginRight},
                                                           {QStringLiteral("bottom"), r.MarginBottom}});
        o.insert(QStringLiteral("page"), page);
        o.insert(QStringLiteral("title"), r.Title);
        o.insert(QStringLiteral("header"), r.HeaderText);
        o.insert(QStringLiteral("footer"), r.FooterText);
        o.insert(QStringLiteral("fontSize"), r.FontSize);
        if (!r.Connection.isEmpty()) {
            QJsonArray conditions;
            for (const TReportCondition& c : r.Conditions)
                conditions.append(QJsonObject{{QStringLiteral("field"), c.Field},
                                              {QStringLiteral("op"), c.Op},
                                              {QStringLiteral("value"), QJsonValue::fromVariant(c.Value)}});
            o.insert(QStringLiteral("data"), QJsonObject{{QStringLiteral("connection"), r.Connection},
                                                         {QStringLiteral("conditions"), conditions}});
        }
        QJsonArray columns;
        for (const TReportColumnLayout& c : r.Columns)
            columns.append(QJsonObject{{QStringLiteral("field"), c.Field},
                                       {QStringLiteral("heading"), c.Heading},
                                       {QStringLiteral("width"), c.Width},
                                       {QStringLiteral("align"), QLatin1String(AlignName(c.Align))},
                                       {QStringLiteral("decimals"), c.Decimals}});
        o.insert(QStringLiteral("columns"), columns);
        reports.append(o);
    }
    root.insert(QStringLiteral("reports"), reports);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
