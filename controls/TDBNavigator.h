// The navigator: ten buttons that move through, edit, post, cancel, delete and refresh the rows of its
// data source's data set, enabled by the data set's state and recomputed on every report. The buttons
// are drawn by the navigator itself and share its width equally. Relies on TDataLink for the reports
// and on Dispatch for clicks and keys.
#pragma once

#include <QWidget>
#include <array>

#include "TDataLink.h"

class TDataSet;

class TDBNavigator : public QWidget, public TDataLink {
    Q_OBJECT
public:
    enum TNavigateBtn {
        nbFirst,
        nbPrior,
        nbNext,
        nbLast,
        nbInsert,
        nbDelete,
        nbEdit,
        nbPost,
        nbCancel,
        nbRefresh,
    };
    static constexpr int ButtonCount = 10;
    using TButtonSet = unsigned;  // bit i: button i
    static constexpr TButtonSet AllButtons = (1u << ButtonCount) - 1;

    explicit TDBNavigator(QWidget* parent = nullptr);

    TDataSet* DataSet() const;
    TButtonSet VisibleButtons() const { return m_visible; }
    void SetVisibleButtons(TButtonSet buttons);
    bool ConfirmDelete() const { return m_confirmDelete; }
    void SetConfirmDelete(bool confirm) { m_confirmDelete = confirm; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool show) { m_showHint = show; }
    static QString Hint(TNavigateBtn button);
    // What the button does, in the program's language: its name for screen readers.
    static QString ActionName(TNavigateBtn button);
    void SetBounds(int left, int top, int width, int height) {
        setGeometry(left, top, width, height);
        FitWidth();
    }

    bool ButtonEnabled(TNavigateBtn button) const { return m_enabled[button]; }
    bool ButtonVisible(TNavigateBtn button) const { return m_visible & (1u << button); }
    // Where a visible button lies (empty for a hidden one); each is the width over the visible count.
    QRect ButtonRect(TNavigateBtn button) const;
    int FocusedButton() const { return m_focused; }
    // What a click on the button does; nothing without an open data set or on a disabled button.
    // Throws what the data set throws.
    void BtnClick(TNavigateBtn button);

    void DataEvent(TDataEvent event, int info) override;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateButtons();
    int VisibleCount() const;
    int ButtonAt(const QPoint& pos) const;
    void FitWidth();

    TButtonSet m_visible = AllButtons;
    bool m_confirmDelete = true;
    bool m_showHint = false;
    std::array<bool, ButtonCount> m_enabled{};
    int m_pressed = -1;
    int m_focused = nbFirst;
};
