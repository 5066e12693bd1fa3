// The data-bound grid: a table view over a TDBGridModel that carries out the key table (TDBGridKeys),
// opens and closes its cell editor (TDBGridEditor), lays out its columns and shows the indicator.
// Relies on TDataSet for every row operation (leaving a row posts or cancels it there; a post first
// takes the open editor's text) and on Dispatch for every entry from Qt.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QTableView>
#include <QVariant>
#include <QVector>

#include "TColumn.h"
#include "TDBGridKeys.h"
#include "TDBGridOptions.h"

class QLineEdit;
class TDataSet;
class TDataSource;
class TDBGridEditor;
class TDBGridIndicator;
class TDBGridModel;
class TField;

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    TDataSet* DataSet() const;

    TDBGridOptions Options() const { return m_options; }
    void SetOptions(TDBGridOptions options);
    // An explicit column list; an empty list means every visible field, rebuilt on each open.
    void SetColumns(const QVector<TColumn>& columns);
    const QVector<TColumn>& Columns() const { return m_columns; }
    QFont TitleFont() const;
    void SetTitleFont(const QFont& font);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }

    // The current column; the current row is the data set's.
    int SelectedIndex() const { return m_column; }
    void SetSelectedIndex(int column);
    bool EditorMode() const;
    QLineEdit* InplaceEditor() const;
    bool EditingAllowed() const;
    int VisibleRowCount() const;
    // A column's width as the rules give it before the user drags it: the column's Width, or the
    // field's display width in digit widths plus 4, at least the title plus 4 when titles show.
    int DefaultColumnWidth(int column) const;

    TDBGridModel* Model() const { return m_model; }
    TDBGridIndicator* Indicator() const { return m_indicator; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TDBGridKeys::TAction KeyAction(const QKeyEvent* event, bool inEditor) const;
    void Carry(TDBGridKeys::TAction action, const QString& text);
    void MoveRow(int row);
    void Down();
    void Up();
    void TabForward();
    void TabBack();
    // The focus to the window's next (or previous) control outside the grid and its editor.
    void LeaveForNeighbour(bool next);
    void GoColumn(int column);
    void DeleteRow();
    void TypeChar(const QString& text);
    void OpenEditor();
    void CloseEditor();
    void CommitEditor();
    void LeaveCell();  // the editor's text into the field, the editor closed
    bool EditorOpen() const;
    bool EditorChanged() const;
    // A new row nobody has typed into, its open cell included: leaving it removes it.
    bool UntouchedNewRow() const;
    void EditorEdited();
    void EscapePressed();
    void FocusLeft();
    void FollowCurrent();
    void PlaceEditor();
    void LayoutColumns();
    void Describe();
    void ApplyOptions();
    TField* CurrentField() const;
    int ColumnCount() const;

    TDBGridModel* m_model;
    TDBGridIndicator* m_indicator;
    TDBGridEditor* m_editor;
    TDBGridOptions m_options = TDBGridOptions::Default();
    QVector<TColumn> m_columns;
    bool m_readOnly = false;
    int m_column = 0;
    // Widths and order of an explicit column list, kept across the data set's re-opening.
    QByteArray m_headerState;
    bool m_settingColumns = false;
    bool m_laidOutOpen = false;
};
