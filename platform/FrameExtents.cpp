#include "platform/FrameExtents.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace platform {

namespace {

constexpr char ExtentsName[] = "_NET_FRAME_EXTENTS";

xcb_atom_t InternAtom(xcb_connection_t* c)
{
    const auto cookie = xcb_intern_atom(c, 0, std::strlen(ExtentsName), ExtentsName);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The extents as published: left, right, top, bottom; nothing if not (yet) there.
bool ReadExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t atom, QMargins& out)
{
    const auto cookie = xcb_get_property(c, 0, window, atom, XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    bool ok = reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16;
    if (ok) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        out = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }
    std::free(reply);
    return ok;
}

// Watches the X events for the property's change on this one window, then
// reads it once Qt has seen the event too, and goes.
class ExtentsWatch : public QObject, public QAbstractNativeEventFilter {
public:
    ExtentsWatch(QWidget* window, xcb_connection_t* c, xcb_atom_t atom, std::function<void(QMarginsF)> known)
        : QObject(window)
        , m_window(window)
        , m_id(static_cast<xcb_window_t>(window->winId()))
        , m_connection(c)
        , m_atom(atom)
        , m_known(std::move(known))
    {
        QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
    }
    ~ExtentsWatch() override
    {
        if (auto* dispatcher = QAbstractEventDispatcher::instance())
            dispatcher->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (m_fired || type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (change->window != m_id || change->atom != m_atom || change->state != XCB_PROPERTY_NEW_VALUE)
            return false;
        m_fired = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                QMargins frame;
                if (m_window && ReadExtents(m_connection, m_id, m_atom, frame))
                    m_known(QMarginsF(frame) / m_window->devicePixelRatioF());
                deleteLater();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<QWidget> m_window;
    xcb_window_t m_id;
    xcb_connection_t* m_connection;
    xcb_atom_t m_atom;
    std::function<void(QMarginsF)> m_known;
    bool m_fired = false;
};

}  // namespace

void WhenFrameKnown(QWidget* window, std::function<void(QMarginsF)> known)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    const xcb_atom_t atom = InternAtom(x11->connection());
    if (atom == XCB_ATOM_NONE)
        return;
    new ExtentsWatch(window, x11->connection(), atom, std::move(known));
}

}  // namespace platform
