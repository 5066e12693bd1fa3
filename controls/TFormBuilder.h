// The window toolkit: a window of the system is a table of components (name, class, bounds, caption,
// binding, tab order), and each maker here creates one row's control into its parent, named, placed,
// captioned and given its accessible name, and records the row on the form. Handlers are bound
// through Dispatch. Relies on TForm for the rows and on the control classes of this folder.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>
#include <initializer_list>

#include "TColumn.h"
#include "TDBGridOptions.h"
#include "TDBNavigator.h"
#include "THandlerDispatch.h"
#include "TLayoutRow.h"

class QCalendarWidget;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QTabWidget;
class TBitBtn;
class TChartSeries;
class TDataSet;
class TDataSource;
class TDBChart;
class TDBGrid;
class TDBText;
class TForm;
class TImage;
class TProgressBar;
class TLabeledEdit;
class TRadioButton;

// Whether a component shows when the window is first shown.
enum class TStart { Shown, Hidden };

// How a label draws its caption; combined with |.
enum TLabelStyle { lsPlain = 0, lsWordWrap = 1, lsTransparent = 2 };

class TFormBuilder {
public:
    explicit TFormBuilder(TForm* form);

    // The window itself: its name, caption and stored outer bounds; the first row of its table.
    void Window(const char* name, const QString& caption, const QRect& bounds);

    QPushButton* Button(QWidget* parent, const char* name, const QRect& bounds, const QString& caption,
                        TStart start = TStart::Shown);
    // A tick button (75 x 35, glyph only) at its stored place, named for the screen reader by what
    // pressing it does.
    TBitBtn* TickButton(QWidget* parent, const char* name, const QPoint& at, const QString& purpose,
                        TStart start = TStart::Shown);
    // A bitmap button without its glyph: a captioned button that, like the tick button, is neither the
    // window's default nor its cancel button.
    TBitBtn* BitBtn(QWidget* parent, const char* name, const QRect& bounds, const QString& caption);
    QCheckBox* CheckBox(QWidget* parent, const char* name, const QRect& bounds, const QString& caption);
    TRadioButton* RadioButton(QWidget* parent, const char* name, const QRect& bounds, const QString& caption);
    QGroupBox* GroupBox(QWidget* parent, const char* name, const QRect& bounds, const QString& caption,
                        TStart start = TStart::Shown);
    TLabeledEdit* LabeledEdit(QWidget* parent, const char* name, const QRect& bounds, const QString& label,
                              TStart start = TStart::Shown);
    // A static text in a fixed box; pixelHeight 0 keeps the window's font.
    QLabel* Label(QWidget* parent, const char* name, const QRect& bounds, const QString& caption,
                  int style = lsPlain, int pixelHeight = 0);
    // A grid named for the screen reader by what it lists; without columns it shows every field.
    TDBGrid* Grid(QWidget* parent, const char* name, const QRect& bounds, TDBGridOptions options,
                  const QString& lists, const QVector<TColumn>& columns = {}, TStart start = TStart::Shown);
    TDBNavigator* Navigator(QWidget* parent, const char* name, const QRect& bounds,
                            TDBNavigator::TButtonSet buttons = TDBNavigator::AllButtons,
                            TStart start = TStart::Shown);
    // A field label; lsWordWrap breaks its text into lines inside its box, and a valid colour fills the
    // box (the window's face colour shows through otherwise).
    TDBText* FieldLabel(QWidget* parent, const char* name, const QRect& bounds, const QString& field,
                        TStart start = TStart::Shown, int style = lsPlain, const QColor& color = QColor());
    // A page control filling its parent's client area (below a menu bar), named by what its pages hold.
    QTabWidget* PageControl(QWidget* parent, const char* name, const QString& purpose);
    QWidget* TabSheet(QTabWidget* pages, const char* name, const QString& caption);
    // The control made by a maker above fills its parent's client area (below a menu bar) and follows
    // its size, as a control aligned to the client does; controls made after it lie over it.
    template <class C>
    C* AlignClient(C* control) {
        FillClient(control);
        return control;
    }
    // A month calendar with Russian month and day names and no week numbers (the stored sizes have no
    // room for them); bound to nothing.
    QCalendarWidget* MonthCalendar(QWidget* parent, const char* name, const QRect& bounds);
    // The splash's picture (scaled to its box when stretched; filling the parent when aligned to the
    // client area) and its progress bar.
    TImage* Image(QWidget* parent, const char* name, const QRect& bounds, bool stretch, bool alignClient);
    TProgressBar* ProgressBar(QWidget* parent, const char* name, const QRect& bounds, int min, int max);

    // A data-bound chart, named for the screen reader by what it draws; its series come from Series below.
    TDBChart* Chart(QWidget* parent, const char* name, const QRect& bounds, const QString& draws);
    // A chart's series over a data set, read directly (charts take no data source): bars from a value
    // and a position column, slices from a value and a label column.
    TChartSeries* BarSeries(TDBChart* chart, const QString& name, TDataSet* dataSet,
                            const QString& valueField, const QString& positionField);
    TChartSeries* PieSeries(TDBChart* chart, const QString& name, TDataSet* dataSet,
                            const QString& valueField, const QString& labelField);

    // Menus: the bar above the client area, its drop-down lists, their items, and the window's context
    // menu (a right click, the Menu key or Shift+F10 that no control answers; by a key it opens at the
    // focused control).
    QMenuBar* MainMenu(const char* name);
    QMenu* Menu(QMenuBar* bar, const char* name, const QString& caption);
    QMenu* PopupMenu(const char* name);
    QAction* MenuItem(QWidget* menu, const char* name, const QString& caption, TStart start = TStart::Shown);

    // Binding to a data source of the data module, recorded in the control's row.
    void Bind(TDBGrid* grid, TDataSource* source);
    void Bind(TDBNavigator* navigator, TDataSource* source);
    void Bind(TDBText* label, TDataSource* source);

    // The stored tab order of one parent's controls, first to last. The window's focus chain follows
    // every order given so far, each container's controls right after the container.
    void TabOrder(QWidget* parent, std::initializer_list<QWidget*> order);

    // A handler for a click (button, tick button, menu item) or a change of a check box, run through
    // Dispatch. A radio button's handler runs only when the user selects it (TRadioButton::OnClick).
    template <class F>
    void OnClick(QAbstractButton* button, F handler) {
        QObject::connect(button, &QAbstractButton::clicked, Context(), Handler(handler));
    }
    template <class F>
    void OnClick(QAction* item, F handler) {
        QObject::connect(item, &QAction::triggered, Context(), Handler(handler));
    }
    template <class F>
    void OnClick(TRadioButton* radio, F handler) {
        SetRadioClick(radio, std::function<void()>(handler));
    }
    template <class F>
    void OnToggle(QAbstractButton* box, F handler) {
        QObject::connect(box, &QAbstractButton::toggled, Context(), Handler(handler));
    }

private:
    void Place(QWidget* control, const char* name, const char* className, const QRect& bounds,
               const QString& caption = QString(), TStart start = TStart::Shown);
    TLayoutRow& Row(const QObject* component);
    void FillClient(QWidget* control);
    QObject* Context() const;
    void SetRadioClick(TRadioButton* radio, std::function<void()> handler);
    void ApplyTabOrder();
    // What a screen reader tells beside a control's name, from the captions around it in its parent:
    // the caption beside a field label or the box it lies in; the box of an edit and the note its
    // caption's asterisks point to.
    void DescribeByNeighbours(QWidget* parent);
    const TLayoutRow* FindRow(const QObject* component) const;

    TForm* m_form;
};
