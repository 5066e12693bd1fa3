// The navigator's accessible interfaces: the navigator (QAccessibleWidget with one child per visible
// button) and each button. A press from an assistive tool runs through Dispatch like a click.
#include "TDBNavigatorAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include "TDBNavigator.h"
#include "THandlerDispatch.h"

namespace {

class TNavigatorButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TNavigatorButtonAccessible(TDBNavigator* navigator, TDBNavigator::TNavigateBtn button)
        : m_navigator(navigator), m_button(button) {}

    bool isValid() const override { return m_navigator; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_navigator ? m_navigator->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_navigator);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return TDBNavigator::ActionName(m_button);
        if (t == QAccessible::Description)
            return TDBNavigator::Hint(m_button);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_navigator)
            return {};
        const QRect r = m_navigator->ButtonRect(m_button);
        return QRect(m_navigator->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!m_navigator)
            return s;
        s.disabled = !m_navigator->ButtonEnabled(m_button);
        s.invisible = !m_navigator->isVisible() || !m_navigator->ButtonVisible(m_button);
        s.focusable = true;
        s.focused = m_navigator->hasFocus() && m_navigator->FocusedButton() == m_button;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction() || !m_navigator)
            return;
        TDBNavigator* navigator = m_navigator;
        const TDBNavigator::TNavigateBtn button = m_button;
        Dispatch([navigator, button] { navigator->BtnClick(button); });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TDBNavigator> m_navigator;
    TDBNavigator::TNavigateBtn m_button;
};

class TNavigatorAccessible : public QAccessibleWidget {
public:
    explicit TNavigatorAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ToolBar) {}
    ~TNavigatorAccessible() override {
        for (QAccessible::Id id : qAsConst(m_buttons))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        int n = 0;
        for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
            n += Navigator()->ButtonVisible(TDBNavigator::TNavigateBtn(b));
        return n;
    }
    QAccessibleInterface* child(int index) const override {
        const int button = VisibleButton(index);
        if (button < 0)
            return nullptr;
        if (const auto it = m_buttons.constFind(button); it != m_buttons.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* face = new TNavigatorButtonAccessible(Navigator(), TDBNavigator::TNavigateBtn(button));
        m_buttons.insert(button, QAccessible::registerAccessibleInterface(face));
        return face;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* c = child(i); c->rect().contains(x, y))
                return c;
        return nullptr;
    }

private:
    TDBNavigator* Navigator() const { return static_cast<TDBNavigator*>(widget()); }
    int VisibleButton(int index) const {
        for (int b = 0; b < TDBNavigator::ButtonCount; ++b)
            if (Navigator()->ButtonVisible(TDBNavigator::TNavigateBtn(b)) && index-- == 0)
                return b;
        return -1;
    }

    mutable QHash<int, QAccessible::Id> m_buttons;
};

QAccessibleInterface* NavigatorFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TDBNavigator") && object && object->isWidgetType())
        return new TNavigatorAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void InstallNavigatorAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(NavigatorFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
