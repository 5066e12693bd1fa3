// The report data connection over a data set. A pass reads the visible rows by index, so the data
// set's current row never moves while the report reads; whatever the pass opened it closes again.
#include "TRvDataSetConnection.h"

#include "EReportError.h"
#include "TDataSet.h"
#include "TField.h"
#include "TReportConnections.h"
#include "TReportListener.h"

TRvDataSetConnection::TRvDataSetConnection(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
    TReportConnections::Register(this);
}

TRvDataSetConnection::~TRvDataSetConnection() {
    // The listener goes first: it may be waiting for a request this connection carries out.
    m_listener.reset();
    TReportConnections::Unregister(this);
}

void TRvDataSetConnection::SetRuntimeVisibility(TRuntimeVisibility visibility) {
    m_visibility = visibility;
    if (visibility != rtNone && !m_listener)
        m_listener = std::make_unique<TReportListener>(this, this);
}

QString TRvDataSetConnection::ListenerName() const {
    return m_listener ? m_listener->ServerName() : QString();
}

QVector<TReportColumn> TRvDataSetConnection::Columns() {
    QVector<TReportColumn> columns;
    for (int i = 0; i < m_dataSet->FieldCount(); ++i) {
        const TField* field = m_dataSet->Field(i);
        TReportColumn column;
        column.Name = field->FieldName();
        column.Type = field->DataType();
        column.Size = field->Size();
        column.DisplayLabel = field->DisplayLabel();
        columns.append(column);
    }
    return columns;
}

int TRvDataSetConnection::RowCountHint() const {
    return m_dataSet && m_dataSet->Active() ? m_dataSet->RecordCount() : -1;
}

namespace {

// Puts the data set back as the pass found it, however the pass ends.
class TPassGuard {
public:
    explicit TPassGuard(TDataSet* dataSet)
        : m_dataSet(dataSet),
          m_wasOpen(dataSet->Active()),
          m_recNo(m_wasOpen ? dataSet->RecNo() : -1),
          m_filter(dataSet->Filter()),
          m_filtered(dataSet->Filtered()) {
        m_dataSet->DisableControls();
    }
    ~TPassGuard() {
        // Nothing may escape a destructor; each step is independent of the others.
        try {
            if (!m_wasOpen) {
                m_dataSet->Close();
            } else {
                if (m_dataSet->Filter() != m_filter)
                    m_dataSet->SetFilter(m_filter);
                if (m_dataSet->Filtered() != m_filtered)
                    m_dataSet->SetFiltered(m_filtered);
                if (m_recNo >= 0 && m_dataSet->RecNo() != m_recNo)
                    m_dataSet->SetRecNo(m_recNo);
            }
        } catch (...) {
        }
        m_dataSet->EnableControls();
    }

private:
    TDataSet* m_dataSet;
    bool m_wasOpen;
    int m_recNo;
    QString m_filter;
    bool m_filtered;
};

}  // namespace

void TRvDataSetConnection::Pass(const QVector<TReportCondition>& conditions, TReportPassVisitor& visitor) {
    if (!m_dataSet)
        throw EReportError(QStringLiteral("%1: DataSet is not set").arg(objectName()));
    TPassGuard guard(m_dataSet);
    if (!m_dataSet->Active()) {
        m_dataSet->Open();
        m_dataSet->First();
    }
    const QVector<TReportColumn> columns = Columns();
    QVector<int> conditionField;
    for (const TReportCondition& c : conditions) {
        int index = -1;
        for (int i = 0; i < columns.size() && index < 0; ++i)
            if (columns.at(i).Name.compare(c.Field, Qt::CaseInsensitive) == 0)
                index = i;
        if (index < 0)
            throw EReportError(TDataSet::FieldNotFoundMessage(objectName(), c.Field));
        conditionField.append(index);
    }
    visitor.Columns(columns);
    const int rows = m_dataSet->RecordCount();
    QVector<QVariant> values(columns.size());
    for (int row = 0; row < rows; ++row) {
        bool meets = true;
        for (int c = 0; c < conditions.size() && meets; ++c)
            meets = conditions.at(c).Matches(m_dataSet->ValueAt(row, conditionField.at(c)));
        if (!meets)
            continue;
        for (int f = 0; f < columns.size(); ++f)
            values[f] = m_dataSet->ValueAt(row, f);
        if (!visitor.Row(values))
            break;
    }
}
