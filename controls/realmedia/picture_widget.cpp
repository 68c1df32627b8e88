#include "picture_widget.h"

#include "x_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QtGui/qguiapplication_platform.h>

#include <cmath>

namespace zefa::realmedia {

PictureWidget::PictureWidget(Resized resized, Replaced replaced)
    : resized_(std::move(resized)), replaced_(std::move(replaced)) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    // Clicks on the picture are not ours: they go on to the main window, as Qt passes every
    // ignored pointer event to the parent. Not WA_TransparentForMouseEvents: on xcb that makes
    // the native window redirect its children's map and configure requests to Qt, which drops
    // them, so our picture window could never be shown or sized.
}

PictureWidget::~PictureWidget() {
    x::destroy(child_);
}

bool PictureWidget::can_host() const {
    // Only a child widget: a widget of its own would turn into a top-level window.
    return parentWidget() && QGuiApplication::platformName() == QLatin1String("xcb") &&
           x::available();
}

unsigned long PictureWidget::picture_window() {
    if (child_ == 0 && can_host()) {
        const WId host = winId();
        // Qt may not have sent the new native window to the server yet.
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            x::catch_up(x11->display());
        child_ = x::create_child(static_cast<unsigned long>(host));
        place();
    }
    return child_;
}

void PictureWidget::show_picture(bool shown) {
    shown_ = shown;
    place();
}

// The window covers the whole place, in device pixels (what native windows count), from the
// start: the sink negotiates its first picture for that size, letterboxed to the clip's aspect.
void PictureWidget::place() {
    if (child_ == 0) return;
    const qreal ratio = devicePixelRatioF();
    x::place(child_, 0, 0, static_cast<int>(std::lround(width() * ratio)),
             static_cast<int>(std::lround(height() * ratio)), shown_);
}

void PictureWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (child_ == 0) return;
    place();
    if (resized_) resized_();
}

bool PictureWidget::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::WinIdChange) host_replaced();
    return result;
}

// Qt destroys the widget's native window and makes a new one when the widget moves to another
// top-level window; the new one may even get the old id back. Our window went down with the
// old one: once the new one is there, a new window is made and handed to the sink.
void PictureWidget::host_replaced() {
    if (child_ != 0 && !x::is_child_of(child_, static_cast<unsigned long>(internalWinId()))) {
        x::destroy(child_); // usually gone already; the error is harmless
        child_ = 0;
        lost_ = true;
    }
    if (!lost_ || internalWinId() == 0 || !can_host()) return;
    lost_ = false;
    picture_window();
    if (child_ != 0 && replaced_) replaced_(child_);
}

} // namespace zefa::realmedia
