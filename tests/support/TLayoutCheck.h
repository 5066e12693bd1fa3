// Checks of a window against the component rows the window toolkit recorded for it: each row's
// control exists with the row's name, is of the row's class, lies in the row's parent at the row's
// bounds (or fills it), shows the row's caption, starts shown or hidden as the row says, is bound as
// it says and comes in its parent's stored tab order, and a container holds no named control without
// a row; every field label tells a screen reader what it shows; Tab (Ctrl+Tab out of a grid) walks the
// window's controls in the order of its rows and comes back to the first; and the controls a user can
// reach that a screen reader could not name.
#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <functional>

#include "TDBChart.h"
#include "TDBGrid.h"
#include "TDataSet.h"
#include "TDBNavigator.h"
#include "TDBText.h"
#include "TDataSource.h"
#include "TForm.h"
#include "TLabeledEdit.h"

namespace TLayoutCheck {

// The class a row names and the class its control must be (or derive from).
inline const char* ControlClass(const QString& rowClass) {
    static const QHash<QString, const char*> classes{{"TButton", "QPushButton"},
                                                     {"TBitBtn", "TBitBtn"},
                                                     {"TCheckBox", "QCheckBox"},
                                                     {"TRadioButton", "TRadioButton"},
                                                     {"TGroupBox", "QGroupBox"},
                                                     {"TLabeledEdit", "TLabeledEdit"},
                                                     {"TLabel", "QLabel"},
                                                     {"TDBGrid", "TDBGrid"},
                                                     {"TDBNavigator", "TDBNavigator"},
                                                     {"TDBText", "TDBText"},
                                                     {"TPageControl", "QTabWidget"},
                                                     {"TTabSheet", "QWidget"},
                                                     {"TMonthCalendar", "QCalendarWidget"},
                                                     {"TMainMenu", "QMenuBar"},
                                                     {"TPopupMenu", "QMenu"},
                                                     {"TMenuItem", "QObject"},
                                                     {"TImage", "TImage"},
                                                     {"TProgressBar", "TProgressBar"},
                                                     {"TDBChart", "TDBChart"}};
    return classes.value(rowClass, nullptr);
}

inline QObject* Component(TForm* form, const QString& name) {
    if (QWidget* w = form->findChild<QWidget*>(name))
        return w;
    return form->findChild<QAction*>(name);
}

// The component a control belongs to: the nearest ancestor that has a row (a tab sheet's widget
// parent is the page control's stack, which has none).
inline QString ParentComponent(const QObject* component, const QStringList& names) {
    for (QObject* p = component->parent(); p; p = p->parent())
        if (names.contains(p->objectName()))
            return p->objectName();
    return {};
}

inline QString Caption(QObject* component, const QString& rowClass) {
    if (auto* item = qobject_cast<QAction*>(component))
        return item->text();
    if (auto* menu = qobject_cast<QMenu*>(component))
        return menu->title();
    if (auto* edit = qobject_cast<TLabeledEdit*>(component))
        return edit->LabelCaption();
    if (auto* button = qobject_cast<QAbstractButton*>(component))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(component))
        return box->title();
    if (rowClass == QLatin1String("TLabel"))
        return static_cast<QLabel*>(component)->text();
    if (rowClass == QLatin1String("TTabSheet")) {
        auto* sheet = static_cast<QWidget*>(component);
        for (QWidget* p = sheet->parentWidget(); p; p = p->parentWidget())
            if (auto* pages = qobject_cast<QTabWidget*>(p))
                return pages->tabText(pages->indexOf(sheet));
    }
    return {};  // grids, navigators, calendars, field labels (their text is data) have no caption
}

inline bool StartsShown(QObject* component, const QString& rowClass) {
    if (auto* item = qobject_cast<QAction*>(component))
        return item->isVisible();
    if (auto* menu = qobject_cast<QMenu*>(component); menu && rowClass == QLatin1String("TMenuItem"))
        return menu->menuAction()->isVisible();
    auto* widget = static_cast<QWidget*>(component);
    if (rowClass == QLatin1String("TTabSheet")) {
        // The page control hides the pages behind the current one; a sheet's own visibility is its tab's.
        for (QWidget* p = widget->parentWidget(); p; p = p->parentWidget())
            if (auto* pages = qobject_cast<QTabWidget*>(p))
                return pages->isTabVisible(pages->indexOf(widget));
    }
    return !widget->isHidden();
}

inline QString Binding(QObject* component) {
    if (auto* text = qobject_cast<TDBText*>(component))
        return text->DataSource() ? text->DataSource()->objectName() + '.' + text->DataField() : QString();
    if (auto* grid = qobject_cast<TDBGrid*>(component))
        return grid->DataSource() ? grid->DataSource()->objectName() : QString();
    if (auto* navigator = qobject_cast<TDBNavigator*>(component))
        return navigator->DataSource() ? navigator->DataSource()->objectName() : QString();
    if (auto* chart = qobject_cast<TDBChart*>(component)) {
        // A chart reads its series' data set directly.
        TDataSet* dataSet = chart->SeriesCount() ? chart->DataSetOf(chart->Series(0)) : nullptr;
        return dataSet ? dataSet->objectName() : QString();
    }
    return {};
}

// Where a control stands in the window's focus chain; a container stands where its first control
// that takes the focus does. -1 when nothing of it takes the focus.
inline int ChainPlace(const QList<QWidget*>& chain, QWidget* control) {
    int place = -1;
    for (int i = 0; i < chain.size() && place < 0; ++i)
        if (chain[i] == control || control->isAncestorOf(chain[i]))
            place = i;
    return place;
}

// QtTest checks: call from a test function, which ends when one fails (QTest::currentTestFailed()).
inline void CheckAgainstRows(TForm* form) {
    const QString window = form->objectName();
    const QVector<TLayoutRow>& rows = form->LayoutRows();
    QVERIFY(!rows.isEmpty());
    const TLayoutRow& own = rows.first();
    QCOMPARE(own.Name, form->objectName());
    QCOMPARE(own.Class, QString::fromLatin1(form->metaObject()->className()));
    QCOMPARE(form->Caption(), own.Caption);
    QVERIFY(!own.Bounds.isNull());
    // The stored bounds are the outer ones, frame included, which a window is fitted to once shown.
    const bool shown = form->isVisible();
    form->show();
    QTRY_COMPARE(form->frameGeometry(), own.Bounds);
    if (!shown)
        form->hide();

    QStringList names;
    for (const TLayoutRow& row : rows)
        names << row.Name;
    for (const TLayoutRow& row : rows.mid(1)) {
        const char* at = qPrintable(window + '.' + row.Name);
        QObject* component = Component(form, row.Name);
        QVERIFY2(component, at);
        QVERIFY2(ControlClass(row.Class) && component->inherits(ControlClass(row.Class)), at);
        QCOMPARE(ParentComponent(component, names), row.Parent);
        QCOMPARE(Caption(component, row.Class), row.Caption);
        QCOMPARE(StartsShown(component, row.Class), row.Visible);
        QCOMPARE(Binding(component), row.Binding);
        auto* widget = qobject_cast<QWidget*>(component);
        if (!widget)
            continue;
        QCOMPARE(widget->accessibleName(), row.AccessibleName);
        if (row.Align == TLayoutRow::alClient) {
            // Fills its parent's client area, below the menu bar where there is one.
            const QWidget* parent = widget->parentWidget();
            const auto* bar = parent->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
            const int top = bar ? bar->geometry().bottom() + 1 : 0;
            QCOMPARE(widget->geometry(), QRect(0, top, parent->width(), parent->height() - top));
        } else if (auto* navigator = qobject_cast<TDBNavigator*>(widget)) {
            // Narrowed to whole buttons of equal width.
            int visible = 0;
            for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
                visible += navigator->ButtonVisible(TDBNavigator::TNavigateBtn(b));
            QRect narrowed = row.Bounds;
            narrowed.setWidth(row.Bounds.width() / qMax(1, visible) * visible);
            QCOMPARE(widget->geometry(), narrowed);
        } else if (!row.Bounds.isNull()) {
            QCOMPARE(widget->geometry(), row.Bounds);
        }
        if (qobject_cast<TDBText*>(widget)) {
            // Its name is its text; what that text is comes as the description.
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(face && !face->text(QAccessible::Description).isEmpty(), at);
        }
        if (auto* edit = qobject_cast<TLabeledEdit*>(widget)) {
            QCOMPARE(edit->EditLabel()->x(), edit->x());
            QCOMPARE(edit->EditLabel()->geometry().bottom() + 1 + TLabeledEdit::LabelSpacing, edit->y());
        }
    }

    // Each parent's controls come in the focus chain in their stored order.
    QList<QWidget*> chain;
    for (QWidget* w = form->nextInFocusChain(); w != form; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
    for (const TLayoutRow& parent : rows) {
        QVector<const TLayoutRow*> ordered;
        for (const TLayoutRow& row : rows)
            if (row.Parent == parent.Name && row.TabOrder >= 0)
                ordered << &row;
        std::sort(ordered.begin(), ordered.end(),
                  [](const TLayoutRow* a, const TLayoutRow* b) { return a->TabOrder < b->TabOrder; });
        for (int i = 0; i < ordered.size(); ++i)
            QCOMPARE(ordered[i]->TabOrder, i);  // no gaps, no place given twice
        QStringList expected, actual;
        QVector<QPair<int, QString>> places;
        for (const TLayoutRow* row : ordered) {
            const int place = ChainPlace(chain, form->findChild<QWidget*>(row->Name));
            if (place < 0)
                continue;  // nothing of it takes the focus (a group box of labels)
            expected << row->Name;
            places.append({place, row->Name});
        }
        std::sort(places.begin(), places.end());
        for (const auto& p : places)
            actual << p.second;
        QCOMPARE(actual, expected);
    }

    // No container holds a named control that its table does not list.
    for (const TLayoutRow& container : rows) {
        QWidget* widget =
            container.Name == form->objectName() ? form : form->findChild<QWidget*>(container.Name);
        if (!widget || !(container.Class.startsWith("TForm") || container.Class == "TGroupBox" ||
                         container.Class == "TTabSheet"))
            continue;
        for (QWidget* child : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (!child->objectName().isEmpty() && !child->objectName().startsWith("qt_"))
                QVERIFY2(names.contains(child->objectName()), qPrintable(child->objectName()));
    }
}

// The controls Tab stops at now, in the order of the rows: each container's controls in their stored
// tab order (the rest in the order they were made), a container's own controls right after it, and
// only those shown and enabled. The radios of one parent are one stop (arrows move between them): the
// first Tab may stop at, which after one of them had the focus is that one.
inline QStringList ExpectedTabStops(TForm* form) {
    const QVector<TLayoutRow>& rows = form->LayoutRows();
    QStringList stops;
    std::function<void(const QString&)> visit = [&](const QString& parent) {
        bool radioStop = false;
        QVector<const TLayoutRow*> children;
        for (const TLayoutRow& r : rows)
            if (r.Parent == parent && r.Class != QLatin1String("TMenuItem") &&
                r.Class != QLatin1String("TPopupMenu"))
                children << &r;
        std::stable_sort(children.begin(), children.end(), [](const TLayoutRow* a, const TLayoutRow* b) {
            return unsigned(a->TabOrder) < unsigned(b->TabOrder);
        });
        for (const TLayoutRow* r : children) {
            QWidget* w = form->findChild<QWidget*>(r->Name);
            if (w && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
                auto* radio = qobject_cast<QRadioButton*>(w);
                const bool grouped = radio && radio->autoExclusive();
                if (!grouped || !radioStop)
                    stops << r->Name;
                radioStop = radioStop || grouped;
            }
            visit(r->Name);
        }
    };
    visit(form->objectName());
    return stops;
}

// The component the focused widget belongs to: itself or its nearest ancestor with a row (the page
// control's tab bar, the calendar's day table).
inline QString FocusedComponent(TForm* form) {
    QStringList names;
    for (const TLayoutRow& row : form->LayoutRows())
        names << row.Name;
    for (QWidget* w = QApplication::focusWidget(); w && w != form; w = w->parentWidget())
        if (names.contains(w->objectName()))
            return w->objectName();
    return {};
}

// Presses Tab from the first stop through the whole window and back to the first, checking each
// control reached; out of a grid, whose Tab goes through its columns, with Ctrl+Tab. A compound
// control (a calendar) may take several Tabs, all inside it.
inline void CheckTabWalk(TForm* form) {
    const bool shown = form->isVisible();
    form->show();
    QApplication::setActiveWindow(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    const QStringList expected = ExpectedTabStops(form);
    if (!expected.isEmpty()) {
        form->findChild<QWidget*>(expected.first())->setFocus(Qt::TabFocusReason);
        QStringList walked{FocusedComponent(form)};
        const int presses = expected.size() * 4 + 8;  // enough for compound controls; a trap ends it
        for (int i = 0; i < presses && walked.size() <= expected.size(); ++i) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY2(focused, qPrintable(form->objectName() + " after " + walked.join(',')));
            const bool inGrid = qobject_cast<TDBGrid*>(form->findChild<QWidget*>(walked.last()));
            QTest::keyClick(focused, Qt::Key_Tab, inGrid ? Qt::ControlModifier : Qt::NoModifier);
            QCoreApplication::processEvents();
            // A window of one stop comes back to it at once.
            if (const QString now = FocusedComponent(form); now != walked.last() || expected.size() == 1)
                walked << now;
        }
        QCOMPARE(walked, expected + QStringList{expected.first()});
    }
    if (!shown)
        form->hide();
}

inline QStringList UnnamedReachableControls(TForm* form, int* reached = nullptr) {
    QStringList unnamed;
    const auto path = [](QWidget* w) {
        QStringList parts;
        for (; w; w = w->parentWidget())
            parts.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                    : w->objectName());
        return parts.join('/');
    };
    int count = 0;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        // Reachable by Tab or a click, shown now or after unlocking.
        if (w->focusPolicy() == Qt::NoFocus || w->isWindow())
            continue;
        ++count;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (!face) {
            unnamed << path(w) + QStringLiteral(" (no interface)");
            continue;
        }
        if (face->text(QAccessible::Name).isEmpty())
            unnamed << path(w);
        // The navigator's buttons are drawn inside it and told as its children.
        if (qobject_cast<TDBNavigator*>(w))
            for (int i = 0; i < face->childCount(); ++i)
                if (face->child(i)->text(QAccessible::Name).isEmpty())
                    unnamed << path(w) + QStringLiteral("/#%1").arg(i);
    }
    if (reached)
        *reached = count;
    return unnamed;
}

}  // namespace TLayoutCheck
