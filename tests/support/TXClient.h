// The top-level windows of a program run by a test under an X server (xvfb-run), found by the
// process id Qt puts on each, what a task bar reads off them (the window class, the icon's sizes), and
// the close box's message to one of them. Built without the X11
// headers it finds nothing, and the tests that need it say so and skip.
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#ifdef ZIRT_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

#ifdef ZIRT_HAVE_X11
struct TXWindow {
    Window Id = 0;
    QString Name;
    QSize Size;
    bool Viewable = false;
};

// The top-level windows of one client process, found by the _NET_WM_PID property Qt sets.
class TXClient {
public:
    TXClient() : m_display(XOpenDisplay(nullptr)) {}
    ~TXClient() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool Available() const { return m_display != nullptr; }

    QList<TXWindow> WindowsOf(qint64 pid) {
        QList<TXWindow> found;
        if (!m_display)
            return found;
        Window root = DefaultRootWindow(m_display), parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
            return found;
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", True);
        for (unsigned int i = 0; i < count; ++i) {
            if (Property(children[i], pidAtom, XA_CARDINAL) != pid)
                continue;
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, children[i], &attributes))
                continue;
            TXWindow window;
            window.Id = children[i];
            window.Name = Name(children[i]);
            window.Size = QSize(attributes.width, attributes.height);
            window.Viewable = attributes.map_state == IsViewable;
            found.append(window);
        }
        if (children)
            XFree(children);
        return found;
    }

    // What the title bar's close box sends.
    void Close(Window window) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, &event);
        XFlush(m_display);
    }

    // WM_CLASS: the instance name and the class name.
    QStringList WindowClass(Window window) {
        XClassHint hint = {};
        QStringList names;
        if (XGetClassHint(m_display, window, &hint)) {
            names << QString::fromLocal8Bit(hint.res_name) << QString::fromLocal8Bit(hint.res_class);
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        return names;
    }

    // The sizes of the pictures in _NET_WM_ICON (each a width, a height and its pixels).
    QList<QSize> IconSizes(Window window) {
        Atom actual = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        QList<QSize> sizes;
        if (XGetWindowProperty(m_display, window, XInternAtom(m_display, "_NET_WM_ICON", False), 0, 1L << 24,
                               False, XA_CARDINAL, &actual, &format, &items, &after, &data) == Success &&
            data && format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i + 2 <= items;) {
                const unsigned long width = values[i], height = values[i + 1];
                sizes.append(QSize(int(width), int(height)));
                i += 2 + width * height;
            }
        }
        if (data)
            XFree(data);
        return sizes;
    }

private:
    long Property(Window window, Atom atom, Atom type) {
        if (atom == None)
            return -1;
        Atom actual = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        long value = -1;
        if (XGetWindowProperty(m_display, window, atom, 0, 1, False, type, &actual, &format, &items, &after,
                               &data) == Success &&
            data && items == 1 && format == 32)
            value = long(*reinterpret_cast<unsigned long*>(data));
        if (data)
            XFree(data);
        return value;
    }

    QString Name(Window window) {
        Atom actual = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        QString name;
        const Atom netName = XInternAtom(m_display, "_NET_WM_NAME", False);
        const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        if (XGetWindowProperty(m_display, window, netName, 0, 1024, False, utf8, &actual, &format, &items,
                               &after, &data) == Success &&
            data)
            name = QString::fromUtf8(reinterpret_cast<const char*>(data), int(items));
        if (data)
            XFree(data);
        return name;
    }

    Display* m_display;
};

#else
// Built without the X11 headers: the windows cannot be inspected.
struct TXWindow {
    unsigned long Id = 0;
    QString Name;
    QSize Size;
    bool Viewable = false;
};
class TXClient {
public:
    bool Available() const { return false; }
    QList<TXWindow> WindowsOf(qint64) { return {}; }
    void Close(unsigned long) {}
    QStringList WindowClass(unsigned long) { return {}; }
    QList<QSize> IconSizes(unsigned long) { return {}; }
};
#endif
