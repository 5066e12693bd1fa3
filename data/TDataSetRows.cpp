// The data set's row order, range and filter, and finding a row by a value: which of the rows read
// are visible and in what order, kept by TVisibleRows.
#include "Exception.h"
#include "TDataSetPrivate.h"
#include "TField.h"
#include "TRowOrder.h"

void TDataSet::SortRows(int field) {
    CompleteFetch();
    const TInvariantCheck check(this);
    Q_ASSERT_X(field >= 0 && field < FieldCount(), "TDataSet",
               "the index column is one of this result's, found by name (FieldByName)");
    d->Visible.SetOrder(TRowOrder(field, d->Fields.Type(field)));
}

bool TDataSet::SameKey(const QVariant& a, const QVariant& b) const {
    return d->Visible.Order().SameKey(a, b);
}

void TDataSet::SetRange(const QVariant& key) {
    CompleteFetch();
    const TInvariantCheck check(this);
    d->Visible.SetRange(key);
}

void TDataSet::ClearRange() {
    CompleteFetch();
    const TInvariantCheck check(this);
    d->Visible.ClearRange();
}

TRowFilter TDataSet::BoundFilter(TRowFilter filter) const {
    filter.Bind([this](const QString& column) { return FieldByName(column)->Index(); });
    return filter;
}

void TDataSet::ApplyFilter() {
    if (Active() && d->Filtered)
        CompleteFetch();
    d->Visible.SetFilter(Active() && d->Filtered ? BoundFilter(d->RowFilter) : TRowFilter());
}

QString TDataSet::Filter() const {
    return d->Filter;
}

void TDataSet::SetFilter(const QString& filter) {
    const TInvariantCheck check(this);
    if (filter == d->Filter)
        return;
    TRowFilter parsed = TRowFilter::Parse(filter);
    const bool inForce = Active() && d->Filtered;
    // A filter naming a column the result lacks is refused, as one that cannot be read is, before
    // the row being edited is left: nothing changes.
    TRowFilter bound = inForce ? BoundFilter(parsed) : TRowFilter();
    if (inForce) {
        CheckBrowseMode();
        CompleteFetch();
    }
    d->Filter = filter;
    d->RowFilter = std::move(parsed);
    if (inForce) {
        d->Visible.SetFilter(std::move(bound));
        NotifyDataSources(TDataEvent::RowsChanged);
    }
}

bool TDataSet::Filtered() const {
    return d->Filtered;
}

void TDataSet::SetFiltered(bool filtered) {
    const TInvariantCheck check(this);
    if (filtered == d->Filtered)
        return;
    if (!Active()) {
        d->Filtered = filtered;
        return;
    }
    TRowFilter bound = filtered ? BoundFilter(d->RowFilter) : TRowFilter();  // refused as SetFilter's is
    CheckBrowseMode();
    CompleteFetch();
    d->Filtered = filtered;
    d->Visible.SetFilter(std::move(bound));
    NotifyDataSources(TDataEvent::RowsChanged);
}

bool TDataSet::Locate(const QString& fieldName, const QVariant& value) {
    CheckActive();
    CompleteFetch();
    const int field = FieldByName(fieldName)->Index();
    for (int row = 0; row < RecordCount(); ++row) {
        if (ValueAt(row, field) == value) {
            SetRecNo(row);
            return true;
        }
    }
    return false;
}
