#include "shell/ui/nativetitle.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace nativetitle {

namespace {

xcb_connection_t *x11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

} // namespace

void applyEmpty(QWidget *window)
{
    if (!window->windowTitle().isEmpty())
        return;
    xcb_connection_t *c = x11Connection();
    if (!c)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8, 0, nullptr);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
}

QString read(QWidget *window)
{
    xcb_connection_t *c = x11Connection();
    if (!c)
        return window->windowTitle();
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, id, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 0, 4096);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    QString title;
    if (reply) {
        title = QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply)),
                                  xcb_get_property_value_length(reply));
        std::free(reply);
    }
    return title;
}

} // namespace nativetitle
