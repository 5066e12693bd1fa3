// The navigator: its buttons' actions, enabling rules, layout, drawing, mouse and keys.
#include "TDBNavigator.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

#include "TDBNavigatorAccessible.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "THandlerDispatch.h"
#include "TMessageBoxes.h"
#include "TNavigatorGlyphs.h"

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent) {
    // Reached by Tab only: a click on a button leaves the focus where it was (a grid keeps its editor).
    setFocusPolicy(Qt::TabFocus);
    InstallNavigatorAccessibility();
    setAccessibleName(QStringLiteral("Навигатор записей"));
    resize(240, 25);
    UpdateButtons();
}

TDataSet* TDBNavigator::DataSet() const {
    return DataSource() ? DataSource()->DataSet() : nullptr;
}

QString TDBNavigator::Hint(TNavigateBtn button) {
    static const char* const hints[ButtonCount] = {
        "First record",  "Prior record", "Next record", "Last record", "Insert record",
        "Delete record", "Edit record",  "Post edit",   "Cancel edit", "Refresh data"};
    return QString::fromLatin1(hints[button]);
}

QString TDBNavigator::ActionName(TNavigateBtn button) {
    static const char* const names[ButtonCount] = {
        "Первая запись",      "Предыдущая запись", "Следующая запись", "Последняя запись",
        "Добавить запись",    "Удалить запись",    "Изменить запись",  "Сохранить изменения",
        "Отменить изменения", "Обновить данные"};
    return QString::fromUtf8(names[button]);
}

void TDBNavigator::SetVisibleButtons(TButtonSet buttons) {
    m_visible = buttons & AllButtons;
    if (!(m_visible & (1u << m_focused)))
        for (int b = 0; b < ButtonCount; ++b)
            if (m_visible & (1u << b)) {
                m_focused = b;
                break;
            }
    FitWidth();
    update();
}

int TDBNavigator::VisibleCount() const {
    int n = 0;
    for (int b = 0; b < ButtonCount; ++b)
        n += (m_visible >> b) & 1u;
    return n;
}

QRect TDBNavigator::ButtonRect(TNavigateBtn button) const {
    if (!ButtonVisible(button))
        return {};
    const int w = width() / qMax(1, VisibleCount());
    int slot = 0;
    for (int b = 0; b < button; ++b)
        slot += (m_visible >> b) & 1u;
    return QRect(slot * w, 0, w, height());
}

int TDBNavigator::ButtonAt(const QPoint& pos) const {
    for (int b = 0; b < ButtonCount; ++b)
        if (ButtonRect(TNavigateBtn(b)).contains(pos))
            return b;
    return -1;
}

void TDBNavigator::FitWidth() {
    // Narrowed to whole buttons: the pixels left over by the division are given back.
    const int n = VisibleCount();
    if (n == 0)
        return;
    const int fitted = width() / n * n;
    if (fitted != width() && fitted > 0)
        resize(fitted, height());
}

void TDBNavigator::resizeEvent(QResizeEvent*) {
    FitWidth();
}

void TDBNavigator::UpdateButtons() {
    TDataSet* set = DataSet();
    m_enabled.fill(false);
    if (isEnabled() && set && set->Active()) {
        const bool canModify = set->CanModify();
        const bool editing = set->State() == dsEdit || set->State() == dsInsert;
        m_enabled[nbFirst] = m_enabled[nbPrior] = !set->Bof();
        m_enabled[nbNext] = m_enabled[nbLast] = !set->Eof();
        // A join takes changed values but no new rows and no deletions; editing an empty data set
        // would insert its first row.
        m_enabled[nbDelete] = set->CanDelete() && !set->IsEmpty();
        m_enabled[nbInsert] = set->CanInsert();
        m_enabled[nbRefresh] = canModify;
        m_enabled[nbEdit] = canModify && !editing && (!set->IsEmpty() || set->CanInsert());
        m_enabled[nbPost] = m_enabled[nbCancel] = canModify && editing;
    }
    update();
}

void TDBNavigator::DataEvent(TDataEvent, int) {
    UpdateButtons();
}

void TDBNavigator::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        UpdateButtons();
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    // A disabled button does nothing, whether clicked or pressed from code.
    TDataSet* set = DataSet();
    if (!set || !set->Active() || !m_enabled[button])
        return;
    switch (button) {
        case nbFirst:
            set->First();
            break;
        case nbPrior:
            set->Prior();
            break;
        case nbNext:
            set->Next();
            break;
        case nbLast:
            set->Last();
            break;
        case nbInsert:
            set->Insert();
            break;
        case nbDelete:
            if (m_confirmDelete && !ConfirmDeleteRecord())
                return;
            // The row after the deleted one becomes current (or the new last row); a new row is only
            // cancelled. A refusal throws and the row stays.
            set->Delete();
            break;
        case nbEdit:
            set->Edit();
            break;
        case nbPost:
            set->Post();
            break;
        case nbCancel:
            set->Cancel();
            break;
        case nbRefresh:
            set->Refresh();
            break;
    }
}

void TDBNavigator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int b = 0; b < ButtonCount; ++b) {
        const QRect r = ButtonRect(TNavigateBtn(b));
        if (r.isEmpty())
            continue;
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = r;
        option.state = QStyle::State_Raised;
        if (m_enabled[b])
            option.state |= QStyle::State_Enabled;
        if (m_pressed == b && m_enabled[b])
            option.state = (option.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
        const QPixmap glyph = NavigatorGlyph(b, m_enabled[b]);
        QPoint at = r.center() - QPoint(glyph.width() / 2 - 1, glyph.height() / 2 - 1);
        if (m_pressed == b && m_enabled[b])
            at += QPoint(1, 1);
        p.drawPixmap(at, glyph);
        if (hasFocus() && m_focused == b) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = r.adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
}

void TDBNavigator::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int b = ButtonAt(event->position().toPoint());
    if (b >= 0 && m_enabled[b]) {
        m_pressed = b;
        update();
    }
}

void TDBNavigator::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = m_pressed;
    m_pressed = -1;
    update();
    if (event->button() != Qt::LeftButton || pressed < 0 || ButtonAt(event->position().toPoint()) != pressed)
        return;
    Dispatch([this, pressed] { BtnClick(TNavigateBtn(pressed)); });
}

void TDBNavigator::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int step = event->key() == Qt::Key_Left ? -1 : 1;
            for (int b = m_focused + step; b >= 0 && b < ButtonCount; b += step)
                if (ButtonVisible(TNavigateBtn(b))) {
                    m_focused = b;
                    break;
                }
            update();
            break;
        }
        case Qt::Key_Space:
            if (m_enabled[m_focused])
                Dispatch([this] { BtnClick(TNavigateBtn(m_focused)); });
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

bool TDBNavigator::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int b = ButtonAt(help->pos());
        // Hints show only where the window switches them on.
        if (m_showHint && b >= 0)
            QToolTip::showText(help->globalPos(), Hint(TNavigateBtn(b)), this, ButtonRect(TNavigateBtn(b)));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
