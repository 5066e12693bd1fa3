// The window toolkit's makers. Every maker ends in Place (or records its own row for components
// without a widget of their own), so each component a window shows has its row, its name and its
// accessible name; the focus chain is rebuilt from the recorded tab orders after each TabOrder.
#include "TFormBuilder.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QShortcut>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "TBitBtn.h"
#include "TDBChart.h"
#include "TDBGrid.h"
#include "TDataSet.h"
#include "TDBText.h"
#include "TDataSource.h"
#include "TForm.h"
#include "TImage.h"
#include "TLabeledEdit.h"
#include "TProgressBar.h"
#include "TRadioButton.h"

namespace {

// How far left of a field label a caption may end and still be its caption.
constexpr int kCaptionGap = 16;

// The asterisks a caption ends with ("Телефон*") or a note starts with ("* В формате ...").
int TrailingStars(const QString& text) {
    int n = 0;
    while (n < text.size() && text.at(text.size() - 1 - n) == QLatin1Char('*'))
        ++n;
    return n;
}
int LeadingStars(const QString& text) {
    int n = 0;
    while (n < text.size() && text.at(n) == QLatin1Char('*'))
        ++n;
    return n;
}

// The layout that keeps a page control filling its parent below the parent's menu bar.
QVBoxLayout* ClientLayout(QWidget* parent) {
    if (auto* layout = qobject_cast<QVBoxLayout*>(parent->layout()))
        return layout;
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

TFormBuilder::TFormBuilder(TForm* form) : m_form(form) {
    Q_ASSERT_X(form, "TFormBuilder", "a window's constructor makes its builder for itself");
}

QObject* TFormBuilder::Context() const {
    return m_form;
}

const TLayoutRow* TFormBuilder::FindRow(const QObject* component) const {
    for (const TLayoutRow& r : m_form->LayoutRows())
        if (r.Name == component->objectName())
            return &r;
    return nullptr;
}

void TFormBuilder::DescribeByNeighbours(QWidget* parent) {
    if (!parent)
        return;
    const auto* box = qobject_cast<QGroupBox*>(parent);
    const QString boxCaption = box ? box->title() : QString();
    QVector<QLabel*> captions;
    for (QLabel* label : parent->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (const TLayoutRow* row = FindRow(label); row && row->Class == QLatin1String("TLabel"))
            captions << label;
    for (TDBText* text : parent->findChildren<TDBText*>(QString(), Qt::FindDirectChildrenOnly)) {
        text->SetBoxCaption(boxCaption);
        QString beside;
        const QRect at = text->geometry();
        for (QLabel* caption : captions) {
            const QRect c = caption->geometry();
            if (c.right() < at.left() && at.left() - c.right() <= kCaptionGap && c.top() <= at.bottom() &&
                at.top() <= c.bottom())
                beside = caption->text();
        }
        text->SetCaptionBeside(beside);
    }
    for (TLabeledEdit* edit : parent->findChildren<TLabeledEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        QStringList parts;
        if (!boxCaption.isEmpty())
            parts << boxCaption;
        if (const int stars = TrailingStars(edit->LabelCaption()))
            for (QLabel* note : captions)
                if (LeadingStars(note->text()) == stars)
                    parts << note->text();
        edit->SetContext(parts.join(QStringLiteral(". ")));
    }
}

TLayoutRow& TFormBuilder::Row(const QObject* component) {
    QVector<TLayoutRow>& rows = m_form->LayoutRows();
    const auto it = std::find_if(rows.begin(), rows.end(), [component](const TLayoutRow& r) {
        return r.Name == component->objectName();
    });
    if (it != rows.end())
        return *it;
    // A control made by hand and then bound or ordered here: a row without a class, which the window's
    // check against its rows reports.
    TLayoutRow row;
    row.Name = component->objectName();
    rows.append(row);
    return rows.last();
}

void TFormBuilder::Window(const char* name, const QString& caption, const QRect& bounds) {
    m_form->setObjectName(QLatin1String(name));
    m_form->SetCaption(caption);
    m_form->SetBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    TLayoutRow row;
    row.Name = m_form->objectName();
    // Every window's class is its instance's name with a T in front (Form5: TForm5); the metaobject
    // cannot say so yet while a shared base class is building the window.
    row.Class = QLatin1Char('T') + row.Name;
    row.Bounds = bounds;
    row.Caption = caption;
    row.AccessibleName = caption;
    row.Visible = false;  // every window is created hidden
    m_form->LayoutRows().prepend(row);
}

void TFormBuilder::Place(QWidget* control, const char* name, const char* className, const QRect& bounds,
                         const QString& caption, TStart start) {
    control->setObjectName(QLatin1String(name));
    if (!bounds.isNull())
        control->setGeometry(bounds);
    const bool shown = start == TStart::Shown;
    if (!shown)
        control->setVisible(false);
    // A control without a name of its own (a glyph, a grid) has been given one by its maker already.
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(caption);
    TLayoutRow row;
    row.Name = control->objectName();
    row.Class = QString::fromLatin1(className);
    row.Parent = control->parentWidget() ? control->parentWidget()->objectName() : QString();
    row.Bounds = bounds;
    row.Caption = caption;
    row.AccessibleName = control->accessibleName();
    row.Visible = shown;
    m_form->LayoutRows().append(row);
}

QPushButton* TFormBuilder::Button(QWidget* parent, const char* name, const QRect& bounds,
                                  const QString& caption, TStart start) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    Place(button, name, "TButton", bounds, caption, start);
    return button;
}

TBitBtn* TFormBuilder::TickButton(QWidget* parent, const char* name, const QPoint& at, const QString& purpose,
                                  TStart start) {
    auto* button = new TBitBtn(parent);
    button->setAccessibleName(purpose);
    Place(button, name, "TBitBtn", QRect(at, QSize(TBitBtn::DefaultWidth, TBitBtn::DefaultHeight)), QString(),
          start);
    return button;
}

TBitBtn* TFormBuilder::BitBtn(QWidget* parent, const char* name, const QRect& bounds,
                              const QString& caption) {
    auto* button = new TBitBtn(parent);
    button->ClearGlyph();
    button->setText(caption);
    Place(button, name, "TBitBtn", bounds, caption);
    return button;
}

QCheckBox* TFormBuilder::CheckBox(QWidget* parent, const char* name, const QRect& bounds,
                                  const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    Place(box, name, "TCheckBox", bounds, caption);
    return box;
}

TRadioButton* TFormBuilder::RadioButton(QWidget* parent, const char* name, const QRect& bounds,
                                        const QString& caption) {
    auto* radio = new TRadioButton(parent);
    radio->setText(caption);
    Place(radio, name, "TRadioButton", bounds, caption);
    return radio;
}

QGroupBox* TFormBuilder::GroupBox(QWidget* parent, const char* name, const QRect& bounds,
                                  const QString& caption, TStart start) {
    auto* box = new QGroupBox(caption, parent);
    Place(box, name, "TGroupBox", bounds, caption, start);
    return box;
}

TLabeledEdit* TFormBuilder::LabeledEdit(QWidget* parent, const char* name, const QRect& bounds,
                                        const QString& label, TStart start) {
    auto* edit = new TLabeledEdit(parent);
    edit->SetLabelCaption(label);
    Place(edit, name, "TLabeledEdit", bounds, label, start);
    DescribeByNeighbours(parent);
    return edit;
}

QLabel* TFormBuilder::Label(QWidget* parent, const char* name, const QRect& bounds, const QString& caption,
                            int style, int pixelHeight) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(style & lsWordWrap);
    // An opaque label fills its box with the face colour; a transparent one lets its parent show.
    label->setBackgroundRole(QPalette::Button);
    label->setAutoFillBackground(!(style & lsTransparent));
    if (pixelHeight > 0) {
        QFont font = label->font();
        font.setPixelSize(pixelHeight);
        label->setFont(font);
    }
    Place(label, name, "TLabel", bounds, caption);
    DescribeByNeighbours(parent);
    return label;
}

TDBGrid* TFormBuilder::Grid(QWidget* parent, const char* name, const QRect& bounds, TDBGridOptions options,
                            const QString& lists, const QVector<TColumn>& columns, TStart start) {
    auto* grid = new TDBGrid(parent);
    grid->SetOptions(options);
    if (!columns.isEmpty())
        grid->SetColumns(columns);
    grid->setAccessibleName(lists);
    Place(grid, name, "TDBGrid", bounds, QString(), start);
    return grid;
}

TDBNavigator* TFormBuilder::Navigator(QWidget* parent, const char* name, const QRect& bounds,
                                      TDBNavigator::TButtonSet buttons, TStart start) {
    auto* navigator = new TDBNavigator(parent);
    navigator->SetVisibleButtons(buttons);
    Place(navigator, name, "TDBNavigator", bounds, QString(), start);
    // Narrowed to whole buttons, as the navigator does with any width it is given.
    navigator->SetBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    return navigator;
}

TDBText* TFormBuilder::FieldLabel(QWidget* parent, const char* name, const QRect& bounds,
                                  const QString& field, TStart start, int style, const QColor& color) {
    auto* label = new TDBText(parent);
    label->SetDataField(field);
    label->SetWordWrap(style & lsWordWrap);
    if (color.isValid())
        label->SetColor(color);
    Place(label, name, "TDBText", bounds, QString(), start);
    DescribeByNeighbours(parent);
    return label;
}

TDBChart* TFormBuilder::Chart(QWidget* parent, const char* name, const QRect& bounds, const QString& draws) {
    auto* chart = new TDBChart(parent);
    chart->setAccessibleName(draws);
    Place(chart, name, "TDBChart", bounds);
    return chart;
}

TChartSeries* TFormBuilder::BarSeries(TDBChart* chart, const QString& name, TDataSet* dataSet,
                                      const QString& valueField, const QString& positionField) {
    Row(chart).Binding = dataSet ? dataSet->objectName() : QString();
    return chart->AddBarSeries(name, dataSet, valueField, positionField);
}

TChartSeries* TFormBuilder::PieSeries(TDBChart* chart, const QString& name, TDataSet* dataSet,
                                      const QString& valueField, const QString& labelField) {
    Row(chart).Binding = dataSet ? dataSet->objectName() : QString();
    return chart->AddPieSeries(name, dataSet, valueField, labelField);
}

QTabWidget* TFormBuilder::PageControl(QWidget* parent, const char* name, const QString& purpose) {
    auto* pages = new QTabWidget(parent);
    ClientLayout(parent)->addWidget(pages);
    pages->setAccessibleName(purpose);
    pages->tabBar()->setAccessibleName(purpose);
    Place(pages, name, "TPageControl", QRect());
    Row(pages).Align = TLayoutRow::alClient;
    return pages;
}

QWidget* TFormBuilder::TabSheet(QTabWidget* pages, const char* name, const QString& caption) {
    auto* sheet = new QWidget;
    // The window's face colour, not the tab widget's base.
    sheet->setBackgroundRole(QPalette::Button);
    sheet->setAutoFillBackground(true);
    pages->addTab(sheet, caption);
    Place(sheet, name, "TTabSheet", QRect(), caption);
    // Its widget parent is the page control's stack; its component parent is the page control.
    Row(sheet).Parent = pages->objectName();
    return sheet;
}

void TFormBuilder::FillClient(QWidget* control) {
    ClientLayout(control->parentWidget())->addWidget(control);
    Row(control).Align = TLayoutRow::alClient;
}

QCalendarWidget* TFormBuilder::MonthCalendar(QWidget* parent, const char* name, const QRect& bounds) {
    auto* calendar = new QCalendarWidget(parent);
    calendar->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setAccessibleName(QStringLiteral("Календарь"));
    // The calendar's own controls, named in the program's language.
    const std::pair<const char*, const char*> parts[] = {{"qt_calendar_prevmonth", "Предыдущий месяц"},
                                                         {"qt_calendar_nextmonth", "Следующий месяц"},
                                                         {"qt_calendar_monthbutton", "Месяц"},
                                                         {"qt_calendar_yearbutton", "Год"},
                                                         {"qt_calendar_yearedit", "Год"},
                                                         {"qt_spinbox_lineedit", "Год"},
                                                         {"qt_calendar_calendarview", "Дни месяца"}};
    for (const auto& [part, title] : parts)
        if (QWidget* w = calendar->findChild<QWidget*>(QLatin1String(part)))
            w->setAccessibleName(QString::fromUtf8(title));
    Place(calendar, name, "TMonthCalendar", bounds);
    return calendar;
}

TImage* TFormBuilder::Image(QWidget* parent, const char* name, const QRect& bounds, bool stretch,
                            bool alignClient) {
    auto* image = new TImage(parent);
    image->SetStretch(stretch);
    Place(image, name, "TImage", bounds);
    image->SetAlignClient(alignClient);
    if (alignClient)
        Row(image).Align = TLayoutRow::alClient;
    return image;
}

TProgressBar* TFormBuilder::ProgressBar(QWidget* parent, const char* name, const QRect& bounds, int min,
                                        int max) {
    auto* bar = new TProgressBar(parent);
    bar->SetRange(min, max);
    bar->SetPosition(min);
    Place(bar, name, "TProgressBar", bounds);
    return bar;
}

QMenuBar* TFormBuilder::MainMenu(const char* name) {
    auto* bar = new QMenuBar(m_form);
    ClientLayout(m_form)->setMenuBar(bar);
    bar->setAccessibleName(QStringLiteral("Меню"));
    Place(bar, name, "TMainMenu", QRect());
    // F10 opens the first menu, as desktops do, so the menu bar is reached without the mouse; the
    // arrow keys go on from there along the bar.
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F10), m_form);
    QObject::connect(shortcut, &QShortcut::activated, bar, [bar] {
        for (QAction* item : bar->actions()) {
            if (item->isVisible() && item->isEnabled()) {
                bar->setActiveAction(item);
                return;
            }
        }
    });
    return bar;
}

QMenu* TFormBuilder::Menu(QMenuBar* bar, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, bar);
    bar->addMenu(menu);
    Place(menu, name, "TMenuItem", QRect(), caption);
    return menu;
}

QMenu* TFormBuilder::PopupMenu(const char* name) {
    auto* menu = new QMenu(m_form);
    m_form->setContextMenuPolicy(Qt::CustomContextMenu);
    TForm* form = m_form;
    QObject::connect(form, &QWidget::customContextMenuRequested, form, [form, menu](const QPoint& at) {
        Dispatch([form, menu, at] {
            // One request may come both as the key and as the context event the platform makes of it.
            if (!menu->isVisible())
                menu->popup(form->mapToGlobal(at));
        });
    });
    // The keys ask the focused control first, as a right click asks the control under the mouse: one
    // with a menu of its own (an edit, the grid's cell editor) shows it; otherwise the request comes
    // up to the window, at the control's place.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* shortcut = new QShortcut(keys, form);
        QObject::connect(shortcut, &QShortcut::activated, form, [form] {
            QWidget* focused = form->focusWidget();
            QWidget* target = focused && focused->isVisible() ? focused : form;
            QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            if (!target->rect().contains(at))
                at = target->rect().center();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
            QCoreApplication::sendEvent(target, &request);
        });
    }
    // Not a control of the window: shown only when asked for.
    menu->setObjectName(QLatin1String(name));
    menu->setAccessibleName(QStringLiteral("Контекстное меню"));
    TLayoutRow row;
    row.Name = menu->objectName();
    row.Class = QStringLiteral("TPopupMenu");
    row.Parent = m_form->objectName();
    row.AccessibleName = menu->accessibleName();
    row.Visible = false;
    m_form->LayoutRows().append(row);
    return menu;
}

QAction* TFormBuilder::MenuItem(QWidget* menu, const char* name, const QString& caption, TStart start) {
    auto* item = new QAction(caption, menu);
    item->setObjectName(QLatin1String(name));
    item->setVisible(start == TStart::Shown);
    menu->addAction(item);
    TLayoutRow row;
    row.Name = item->objectName();
    row.Class = QStringLiteral("TMenuItem");
    row.Parent = menu->objectName();
    row.Caption = caption;
    row.Visible = start == TStart::Shown;
    m_form->LayoutRows().append(row);
    return item;
}

void TFormBuilder::Bind(TDBGrid* grid, TDataSource* source) {
    grid->SetDataSource(source);
    Row(grid).Binding = source ? source->objectName() : QString();
}

void TFormBuilder::Bind(TDBNavigator* navigator, TDataSource* source) {
    navigator->SetDataSource(source);
    Row(navigator).Binding = source ? source->objectName() : QString();
}

void TFormBuilder::Bind(TDBText* label, TDataSource* source) {
    label->SetDataSource(source);
    Row(label).Binding = source ? source->objectName() + QLatin1Char('.') + label->DataField() : QString();
}

void TFormBuilder::SetRadioClick(TRadioButton* radio, std::function<void()> handler) {
    radio->OnClick = std::move(handler);
}

void TFormBuilder::TabOrder(QWidget* parent, std::initializer_list<QWidget*> order) {
    int place = 0;
    for (QWidget* control : order) {
        TLayoutRow& row = Row(control);
        // A window's layout table orders the controls of one container at a time.
        Q_ASSERT_X(row.Parent == parent->objectName(), "TFormBuilder", "tab order within one container");
        row.TabOrder = place++;
    }
    ApplyTabOrder();
}

void TFormBuilder::ApplyTabOrder() {
    // The chain runs through the table: each container's controls in their stored order (the rest in
    // the order they were made), each control followed by its own controls.
    const QVector<TLayoutRow>& rows = m_form->LayoutRows();
    QList<QWidget*> chain;
    std::function<void(const QString&)> visit = [&](const QString& parent) {
        QVector<const TLayoutRow*> children;
        for (const TLayoutRow& r : rows)
            if (r.Parent == parent && r.Class != QLatin1String("TMenuItem"))
                children.append(&r);
        std::stable_sort(children.begin(), children.end(), [](const TLayoutRow* a, const TLayoutRow* b) {
            return unsigned(a->TabOrder) < unsigned(b->TabOrder);  // -1 sorts last
        });
        for (const TLayoutRow* r : children) {
            if (auto* w = m_form->findChild<QWidget*>(r->Name); w && w->focusPolicy() != Qt::NoFocus)
                chain.append(w);
            visit(r->Name);
        }
    };
    visit(m_form->objectName());
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
