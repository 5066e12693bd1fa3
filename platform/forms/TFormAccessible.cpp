// The accessibility factory for windows.
#include "TFormAccessible.h"

#include <QAccessibleWidget>

#include "TForm.h"

namespace {

class TFormAccessibleWidget : public QAccessibleWidget {
public:
    explicit TFormAccessibleWidget(QWidget* form) : QAccessibleWidget(form, QAccessible::Window) {}
    QAccessible::Role role() const override {
        return widget()->isModal() ? QAccessible::Dialog : QAccessible::Window;
    }
};

QAccessibleInterface* FormFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TForm") && object && object->isWidgetType())
        return new TFormAccessibleWidget(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void InstallFormAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(FormFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
