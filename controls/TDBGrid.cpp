// The data-bound grid: keys, mouse, when the cell editor opens and closes, and column layout.
// Every entry from Qt (keys, mouse, focus) runs through Dispatch, so a refused post or delete ends
// in the error box and the grid goes on.
#include "TDBGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "Exception.h"
#include "TDBGridEditor.h"
#include "TDBGridIndicator.h"
#include "TDBGridKeys.h"
#include "TDBGridLines.h"
#include "TDBGridModel.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"
#include "THandlerDispatch.h"
#include "TMessageBoxes.h"
#include "TWindowFont.h"

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent), m_model(new TDBGridModel(this)), m_indicator(new TDBGridIndicator(this)) {
    setFont(WindowFont());
    m_indicator->SetDataSet([this] { return DataSet(); });
    setVerticalHeader(m_indicator);
    setModel(m_model);
    setItemDelegate(new TDBGridLines(this));
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
    // Rows of the cell font's height plus a margin; fixed, so sizing never measures rows.
    const int rowHeight = QFontMetrics(WindowFont()).height() + 4;
    m_indicator->setMinimumSectionSize(1);
    m_indicator->setDefaultSectionSize(rowHeight);
    m_indicator->setFixedWidth(TDBGridIndicator::Width);
    horizontalHeader()->setMinimumSectionSize(4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    m_editor = new TDBGridEditor(viewport());
    m_editor->installEventFilter(this);
    // A click on the indicator moves to that row, as a click on one of its cells does.
    m_indicator->viewport()->installEventFilter(this);
    connect(m_editor, &QLineEdit::textEdited, this, Handler([this] { EditorEdited(); }));
    // Every post and every way of leaving the row takes the editor's whole text first.
    m_model->SetUpdateRecord([this] { CommitEditor(); });

    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (m_model->ExplicitColumns() && !m_settingColumns && m_laidOutOpen &&
            horizontalHeader()->count() > 0)
            m_headerState = horizontalHeader()->saveState();
    });
    connect(m_model, &TDBGridModel::Reopened, this, [this] { LayoutColumns(); });
    connect(m_model, &TDBGridModel::CurrentChanged, this, [this] { FollowCurrent(); });
    connect(m_model, &TDBGridModel::StateChanged, this, [this] {
        m_indicator->viewport()->update();
        if (EditorOpen() && DataSet() && DataSet()->State() == dsBrowse)
            CloseEditor();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
        PlaceEditor();
        Describe();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        // Leaving for another control of the same window; a box popping up is not leaving.
        const auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
        if (inside(old) && now && !inside(now) && now->window() == window())
            Dispatch([this] { FocusLeft(); });
    });
    ApplyOptions();
}

TDBGrid::~TDBGrid() {
    // A window destroyed at exit before the data module posts what is pending: a typed cell goes into
    // its field first, or its refusal is shown, so no text vanishes without a word.
    if (EditorChanged())
        Dispatch([this] { CommitEditor(); });
    m_model->SetUpdateRecord(nullptr);
    m_model->SetDataSource(nullptr);
}

void TDBGrid::SetDataSource(TDataSource* source) {
    m_model->SetDataSource(source);
    if (!source || !source->DataSet() || !source->DataSet()->Active())
        LayoutColumns();
}

TDataSource* TDBGrid::DataSource() const {
    return m_model->DataSource();
}

TDataSet* TDBGrid::DataSet() const {
    return m_model->DataSet();
}

void TDBGrid::SetOptions(TDBGridOptions options) {
    m_options = options;
    ApplyOptions();
}

void TDBGrid::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    ApplyOptions();
}

void TDBGrid::ApplyOptions() {
    horizontalHeader()->setVisible(m_options.Contains(dgTitles));
    m_indicator->setVisible(m_options.Contains(dgIndicator));
    const bool resize = m_options.Contains(dgColumnResize);
    horizontalHeader()->setSectionResizeMode(resize ? QHeaderView::Interactive : QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(resize);
    setTabKeyNavigation(m_options.Contains(dgTabs));
    Describe();
    setSelectionBehavior(m_options.Contains(dgRowSelect) ? QAbstractItemView::SelectRows
                                                         : QAbstractItemView::SelectItems);
    m_model->SetEditable(m_options.Contains(dgEditing) && !m_readOnly);
    if (!EditingAllowed() && EditorOpen())
        CloseEditor();
    viewport()->update();
}

void TDBGrid::SetColumns(const QVector<TColumn>& columns) {
    m_columns = columns;
    m_headerState.clear();
    m_laidOutOpen = false;
    QStringList names;
    for (const TColumn& c : columns)
        names.append(c.FieldName);
    m_settingColumns = true;
    m_model->SetColumnFields(names, !columns.isEmpty());
    m_settingColumns = false;
}

QFont TDBGrid::TitleFont() const {
    return horizontalHeader()->font();
}

void TDBGrid::SetTitleFont(const QFont& font) {
    horizontalHeader()->setFont(font);
    LayoutColumns();
}

int TDBGrid::ColumnCount() const {
    return m_model->columnCount();
}

int TDBGrid::DefaultColumnWidth(int column) const {
    if (column >= 0 && column < m_columns.size() && m_columns.at(column).Width > 0)
        return m_columns.at(column).Width;
    TField* field = m_model->ColumnField(column);
    // A column without a field has no display width; 64 pixels is the grid's plain column width.
    int width =
        field ? field->DisplayWidth() * QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')) + 4 : 64;
    if (m_options.Contains(dgTitles)) {
        const QString title = m_model->headerData(column, Qt::Horizontal).toString();
        width = qMax(width, QFontMetrics(TitleFont()).horizontalAdvance(title) + 4);
    }
    return width;
}

void TDBGrid::LayoutColumns() {
    QHeaderView* header = horizontalHeader();
    if (m_model->ExplicitColumns() && !m_headerState.isEmpty()) {
        // A listed grid keeps what the user made of its columns.
        header->restoreState(m_headerState);
        ApplyOptions();
    } else {
        for (int c = 0; c < ColumnCount(); ++c)
            header->resizeSection(c, DefaultColumnWidth(c));
    }
    for (int c = 0; c < m_columns.size() && c < ColumnCount(); ++c)
        setColumnHidden(c, !m_columns.at(c).Visible);
    // Widths worth keeping are those laid out from the fields, not the placeholders of a closed grid.
    if (DataSet() && DataSet()->Active())
        m_laidOutOpen = true;
    if (m_column >= ColumnCount())
        m_column = qMax(0, ColumnCount() - 1);
    Describe();
    FollowCurrent();
}

void TDBGrid::Describe() {
    // The name says what the grid lists; the description which columns, as they stand on screen, and
    // the way out for a keyboard that Tab keeps inside.
    QStringList titles;
    const QHeaderView* header = horizontalHeader();
    for (int v = 0; v < header->count(); ++v)
        if (const int c = header->logicalIndex(v); !header->isSectionHidden(c))
            titles << m_model->headerData(c, Qt::Horizontal).toString();
    QString description = titles.isEmpty() ? QString() : QStringLiteral("Столбцы: ") + titles.join(", ");
    if (m_options.Contains(dgTabs))
        description += (description.isEmpty() ? QString() : QStringLiteral(". ")) +
                       QStringLiteral("Ctrl+Tab: следующий элемент окна");
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

bool TDBGrid::EditingAllowed() const {
    TDataSet* set = DataSet();
    return m_options.Contains(dgEditing) && !m_readOnly && set && set->Active() && set->CanModify();
}

bool TDBGrid::EditorMode() const {
    return EditorOpen();
}

TField* TDBGrid::CurrentField() const {
    return m_model->ColumnField(m_column);
}

int TDBGrid::VisibleRowCount() const {
    const int rowHeight = qMax(1, m_indicator->defaultSectionSize());
    return qMax(1, viewport()->height() / rowHeight);
}

void TDBGrid::SetSelectedIndex(int column) {
    if (column < 0 || column >= ColumnCount() || column == m_column)
        return;
    m_column = column;
    FollowCurrent();
}

void TDBGrid::FollowCurrent() {
    TDataSet* set = DataSet();
    const int row = set && set->Active() ? set->RecNo() : -1;
    if (EditorOpen() &&
        (row != m_editor->Row() || m_column != m_editor->Column() || (set && set->State() == dsBrowse)))
        CloseEditor();
    if (row < 0 || ColumnCount() == 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        m_indicator->viewport()->update();
        return;
    }
    const QModelIndex index = m_model->index(row, qMin(m_column, ColumnCount() - 1));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    m_indicator->viewport()->update();
    PlaceEditor();
}

// ---- the cell editor --------------------------------------------------------------------------

void TDBGrid::OpenEditor() {
    TDataSet* set = DataSet();
    TField* field = CurrentField();
    if (EditorOpen() || !EditingAllowed() || !field || set->RecNo() < 0)
        return;
    m_editor->Open(set->RecNo(), m_column, field, m_model->headerData(m_column, Qt::Horizontal).toString());
    PlaceEditor();
    m_editor->setFocus();
}

void TDBGrid::CloseEditor() {
    if (!EditorOpen())
        return;
    // The focus comes back to the grid first: hiding a focused editor would pass the focus on as
    // Tab does, which a grid with dgTabs takes for a Tab key.
    if (m_editor->hasFocus())
        setFocus();
    m_editor->Close();
}

void TDBGrid::PlaceEditor() {
    if (!EditorOpen())
        return;
    const QRect cell = visualRect(m_model->index(m_editor->Row(), m_editor->Column()));
    m_editor->setGeometry(cell.adjusted(0, 0, -1, -1));
}

QLineEdit* TDBGrid::InplaceEditor() const {
    return m_editor;
}

bool TDBGrid::EditorOpen() const {
    return m_editor->IsOpen();
}

bool TDBGrid::EditorChanged() const {
    return m_editor->Changed();
}

bool TDBGrid::UntouchedNewRow() const {
    return DataSet()->UntouchedNewRow() && !EditorChanged();
}

void TDBGrid::EditorEdited() {
    // Typing puts the row into editing; the text stays in the editor until the cell is left or the
    // data set asks for it before a post (UpdateRecord), and then goes in whole or not at all.
    TDataSet* set = DataSet();
    if (set && set->Active() && set->State() == dsBrowse)
        set->Edit();
}

void TDBGrid::CommitEditor() {
    if (TField* field = m_model->ColumnField(m_editor->Column()); field && EditorChanged())
        m_editor->Commit(field);
}

void TDBGrid::LeaveCell() {
    // A text the field refuses throws here and the editor stays open with it.
    CommitEditor();
    CloseEditor();
}

void TDBGrid::EscapePressed() {
    if (m_editor->Revert(m_model->ColumnField(m_editor->Column())))
        return;
    CloseEditor();
    if (TDataSet* set = DataSet(); set && set->Active())
        set->Cancel();
}

// ---- keys -------------------------------------------------------------------------------------

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const TDBGridKeys::TAction action = KeyAction(event, false);
    const QString text = event->text();
    Dispatch([this, action, text] { Carry(action, text); });
}

TDBGridKeys::TAction TDBGrid::KeyAction(const QKeyEvent* event, bool inEditor) const {
    TDBGridKeys::TContext context;
    context.ColumnCount = ColumnCount();
    context.EditorOpen = EditorOpen();
    context.InEditor = inEditor;
    context.Tabs = m_options.Contains(dgTabs);
    return TDBGridKeys::ActionFor(event->key(), event->modifiers(), event->text(), context);
}

bool TDBGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (const TDBGridKeys::TAction action = KeyAction(key, true);
            action != TDBGridKeys::TAction::EditorText) {
            const QString text = key->text();
            Dispatch([this, action, text] { Carry(action, text); });
            return true;
        }
        // A character the field does not take never reaches the text.
        const char32_t typed = TDBGridKeys::TypedCharacter(key->text());
        if (typed != 0 && !(key->modifiers() & Qt::ControlModifier)) {
            TField* field = m_model->ColumnField(m_editor->Column());
            if (field && !field->IsValidChar(typed))
                return true;
        }
    }
    if (watched == m_indicator->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = m_indicator->logicalIndexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && row >= 0) {
            setFocus(Qt::MouseFocusReason);
            Dispatch([this, row] {
                LeaveCell();
                DataSet()->MoveBy(row - DataSet()->RecNo());
                FollowCurrent();
            });
        }
        return true;
    }
    if (watched == m_editor && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (KeyAction(key, true) != TDBGridKeys::TAction::EditorText) {
            event->accept();
            return false;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void TDBGrid::Carry(TDBGridKeys::TAction action, const QString& text) {
    using TDBGridKeys::TAction;
    // Leaving needs no data.
    if (action == TAction::NextControl || action == TAction::PriorControl)
        return LeaveForNeighbour(action == TAction::NextControl);
    TDataSet* set = DataSet();
    if (!set || !set->Active())
        return;
    const int count = set->FetchedCount();  // a key never waits for rows still being read
    const int firstVisible = qMax(0, rowAt(0));
    const int lastVisible = qMin(count - 1, firstVisible + VisibleRowCount() - 1);
    // Each action is one call (a void one, returned for brevity).
    switch (action) {
        case TAction::None:
        case TAction::EditorText:
            return;
        case TAction::PriorRow:
            return Up();
        case TAction::NextRow:
            return Down();
        case TAction::PageBack:
            return MoveRow(set->RecNo() - VisibleRowCount());
        case TAction::PageForward:
            return MoveRow(set->RecNo() + VisibleRowCount());
        case TAction::FirstRow:
            // First and Last, as the navigator's buttons move: they reach the beginning or the end.
            LeaveCell();
            set->First();
            return;
        case TAction::LastRow:
            LeaveCell();
            set->Last();
            return;
        case TAction::FirstVisibleRow:
            return MoveRow(firstVisible);
        case TAction::LastVisibleRow:
            return MoveRow(lastVisible);
        case TAction::PriorColumn:
            return GoColumn(TDBGridKeys::NeighbourColumn(*horizontalHeader(), m_column, -1));
        case TAction::NextColumn:
            return GoColumn(TDBGridKeys::NeighbourColumn(*horizontalHeader(), m_column, 1));
        case TAction::FirstColumn:
            return GoColumn(TDBGridKeys::EdgeColumn(*horizontalHeader(), -1));
        case TAction::LastColumn:
            return GoColumn(TDBGridKeys::EdgeColumn(*horizontalHeader(), 1));
        case TAction::TabForward:
            return TabForward();
        case TAction::TabBack:
            return TabBack();
        case TAction::NextControl:
        case TAction::PriorControl:
            return;  // carried out above
        case TAction::InsertRow:
            // Only where a new row could be written (a join takes none).
            if (EditingAllowed() && set->CanInsert()) {
                LeaveCell();
                set->Insert();
            }
            return;
        case TAction::DeleteRow:
            return DeleteRow();
        case TAction::OpenEditor:
            return OpenEditor();
        case TAction::LeaveCell:
            return LeaveCell();
        case TAction::Escape:
            return EscapePressed();
        case TAction::TypeText:
            return TypeChar(text);
    }
}

void TDBGrid::TypeChar(const QString& text) {
    TDataSet* set = DataSet();
    TField* field = CurrentField();
    if (!EditingAllowed() || !field || !field->IsValidChar(TDBGridKeys::TypedCharacter(text)))
        return;
    if (EditorOpen()) {
        // Typed while the grid itself has the focus: the text goes on in the open editor.
        m_editor->insert(text);
        EditorEdited();
        return;
    }
    if (set->State() == dsBrowse) {
        if (set->IsEmpty() && !set->CanInsert())
            return;
        set->Edit();  // on an empty data set this inserts the first row
    }
    OpenEditor();
    if (!EditorOpen())
        return;
    m_editor->setText(text);
    EditorEdited();
}

void TDBGrid::MoveRow(int row) {
    TDataSet* set = DataSet();
    LeaveCell();
    set->MoveBy(row - set->RecNo());
}

void TDBGrid::Up() {
    MoveRow(DataSet()->RecNo() - 1);
}

void TDBGrid::Down() {
    TDataSet* set = DataSet();
    if (set->RecNo() < set->FetchedCount() - 1 || set->Fetching()) {
        MoveRow(set->RecNo() + 1);
        return;
    }
    // On the last row: a new row nobody typed into stays as it is; otherwise a new one is appended.
    if (UntouchedNewRow())
        return;
    if (!EditingAllowed() || !set->CanInsert())
        return;
    LeaveCell();
    set->Append();
}

void TDBGrid::TabForward() {
    if (m_column != TDBGridKeys::EdgeColumn(*horizontalHeader(), 1)) {
        GoColumn(TDBGridKeys::NeighbourColumn(*horizontalHeader(), m_column, 1));
        return;
    }
    TDataSet* set = DataSet();
    const bool last = !set->Fetching() && set->RecNo() >= set->FetchedCount() - 1;
    if (last && (!EditingAllowed() || !set->CanInsert()))
        return;
    if (last && UntouchedNewRow())
        return;
    LeaveCell();
    m_column = TDBGridKeys::EdgeColumn(*horizontalHeader(), -1);
    Down();
    FollowCurrent();
}

void TDBGrid::TabBack() {
    if (m_column != TDBGridKeys::EdgeColumn(*horizontalHeader(), -1)) {
        GoColumn(TDBGridKeys::NeighbourColumn(*horizontalHeader(), m_column, -1));
        return;
    }
    TDataSet* set = DataSet();
    if (set->RecNo() <= 0 && !UntouchedNewRow())
        return;
    LeaveCell();
    m_column = TDBGridKeys::EdgeColumn(*horizontalHeader(), 1);
    Up();
    FollowCurrent();
}

void TDBGrid::LeaveForNeighbour(bool next) {
    // Along the window's focus chain, past the grid's own parts, to the first control Tab would stop at;
    // leaving is then the same as by a click elsewhere (FocusLeft).
    const auto inside = [this](QWidget* w) { return w == this || isAncestorOf(w); };
    for (QWidget* w = next ? nextInFocusChain() : previousInFocusChain(); w != this;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (inside(w) || w->window() != window() || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() ||
            !w->isEnabled())
            continue;
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

void TDBGrid::GoColumn(int column) {
    column = qBound(0, column, ColumnCount() - 1);
    if (column == m_column)
        return;
    LeaveCell();
    m_column = column;
    FollowCurrent();
}

void TDBGrid::DeleteRow() {
    TDataSet* set = DataSet();
    // Also in a grid without dgEditing; never on an empty data set, nor where the database would
    // refuse it (a join).
    if (m_readOnly || !set->CanDelete() || set->IsEmpty())
        return;
    if (m_options.Contains(dgConfirmDelete) && !ConfirmDeleteRecord())
        return;
    // The editor closes once the row is gone; a refusal throws and the row stays, its typed cell
    // still open.
    set->Delete();
    CloseEditor();
}

void TDBGrid::FocusLeft() {
    TDataSet* set = DataSet();
    if (!set || !set->Active())
        return;
    if (m_options.Contains(dgCancelOnExit) && UntouchedNewRow()) {
        CloseEditor();
        set->Cancel();
        return;
    }
    CommitEditor();
}

void TDBGrid::hideEvent(QHideEvent* event) {
    QTableView::hideEvent(event);
    // Hidden with its window (closed by its close box, say) or its page, the grid is left as surely as
    // when the focus moves to another control: an untouched new row goes, a typed cell reaches its field.
    // A minimised window (a spontaneous hide) is not left.
    QWidget* focused = window()->focusWidget();
    if (!event->spontaneous() && focused && (focused == this || isAncestorOf(focused)))
        Dispatch([this] { FocusLeft(); });
}

// ---- mouse ------------------------------------------------------------------------------------

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || event->button() != Qt::LeftButton)
        return;
    Dispatch([this, index] {
        TDataSet* set = DataSet();
        if (!set || !set->Active())
            return;
        LeaveCell();
        m_column = index.column();
        if (index.row() != set->RecNo())
            set->MoveBy(index.row() - set->RecNo());
        FollowCurrent();
    });
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && DataSet() && index.row() == DataSet()->RecNo())
        Dispatch([this] { OpenEditor(); });
}

void TDBGrid::mouseMoveEvent(QMouseEvent*) {
    // No drag selection: the current row is the data set's.
}

void TDBGrid::mouseReleaseEvent(QMouseEvent*) {}

void TDBGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void TDBGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    PlaceEditor();
}
