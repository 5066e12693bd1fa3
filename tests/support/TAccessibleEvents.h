// Records what the accessibility layer is told about one object while it lives: "reorder" when its
// children changed, "data changed" when what it shows changed, "focus: <name>" for a child taking the focus (the name a reader would speak).
// It stands in for the bridge, so nothing reaches a real reader meanwhile. Qt hands events to a
// recorder only while accessibility is on, which without a reader (offscreen) it is not: the
// recorder turns it on for its life, as Qt's own tests do.
#pragma once

#include <QAccessible>
#include <QStringList>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <utility>

class TAccessibleEvents {
public:
    explicit TAccessibleEvents(QObject* watched) {
        Watched() = watched;
        Told().clear();
        m_platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
        m_wasActive = m_platform && m_platform->isActive();
        if (m_platform)
            m_platform->setActive(true);
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (event->object() != Watched())
                return;
            if (event->type() == QAccessible::ObjectReorder)
                Told().append(QStringLiteral("reorder"));
            else if (event->type() == QAccessible::VisibleDataChanged)
                Told().append(QStringLiteral("data changed"));
            else if (event->type() == QAccessible::Focus && event->child() >= 0)
                Told().append(QStringLiteral("focus: ") + event->accessibleInterface()->text(QAccessible::Name));
        });
    }
    ~TAccessibleEvents() {
        QAccessible::installUpdateHandler(nullptr);
        if (m_platform)
            m_platform->setActive(m_wasActive);
        Watched() = nullptr;
    }
    // What was told since the last call.
    QStringList Take() { return std::exchange(Told(), {}); }

private:
    QPlatformAccessibility* m_platform = nullptr;
    bool m_wasActive = false;

    static QObject*& Watched() {
        static QObject* watched = nullptr;
        return watched;
    }
    static QStringList& Told() {
        static QStringList told;
        return told;
    }
};
