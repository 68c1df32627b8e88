#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>

#include "platform/qt/qt_platform_impl.h"

namespace zefa {

namespace {

std::optional<Button> to_button(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return Button::Left;
    case Qt::RightButton:
        return Button::Right;
    case Qt::MiddleButton:
        return Button::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace

bool QtPlatform::Impl::is_ours(const QWidget* w) const {
    for (const Top& t : tops)
        if (t.widget == w) return true;
    return false;
}

bool QtPlatform::Impl::buttons_down() const {
    if (x_pointer.available()) return x_pointer.buttons() != 0;
    return QGuiApplication::mouseButtons() != Qt::NoButton;
}

void QtPlatform::Impl::release_grab() {
    QWidget* grabber = QWidget::mouseGrabber();
    if (grabber && is_ours(grabber)) grabber->releaseMouse();
}

void QtPlatform::Impl::update_cursor() {
    const bool blank = cursor_count < 0;
    if (blank == cursor_blank) return;
    if (blank)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    cursor_blank = blank;
}

void QtPlatform::Impl::pointer_press(Win w, Qt::MouseButton b, QPoint p) {
    if (moving) return;
    swallow_release = false;
    if (const auto button = to_button(b); button && events)
        events->mouse_down(w, *button, {p.x(), p.y()});
}

void QtPlatform::Impl::pointer_release(Win w, Qt::MouseButton b, QPoint p) {
    if (moving) return;
    if (swallow_release) {
        swallow_release = false;
        return;
    }
    if (const auto button = to_button(b); button && events)
        events->mouse_up(w, *button, {p.x(), p.y()});
}

void QtPlatform::Impl::pointer_double_click(Win w, Qt::MouseButton b, QPoint p) {
    if (moving) return;
    swallow_release = false;
    const auto button = to_button(b);
    if (!button || !events) return;
    // The second press of a double click is a press as well, after the double click.
    if (*button == Button::Left) events->double_click(w, {p.x(), p.y()});
    if (events) events->mouse_down(w, *button, {p.x(), p.y()});
}

void QtPlatform::Impl::pointer_move(Win w, QPoint p) {
    if (moving || !events) return;
    events->mouse_move(w, {p.x(), p.y()});
}

void QtPlatform::Impl::wheel(Win w, int angle_y) {
    if (moving || angle_y == 0) return;
    // One step per notch (120); a fine-grained wheel or touch pad adds up to notches, and a
    // turn the other way starts afresh.
    int& rest = wheel_rest[index(w)];
    if ((rest > 0) != (angle_y > 0)) rest = 0;
    rest += angle_y;
    while (rest >= 120 || rest <= -120) {
        const int step = rest > 0 ? 120 : -120;
        rest -= step;
        if (events) events->mouse_wheel(w, step);
    }
}

void QtPlatform::Impl::list_double_click() {
    if (events) events->playlist_double_click();
}

void QtPlatform::Impl::list_release(Qt::MouseButton b) {
    if (const auto button = to_button(b); button && events) events->playlist_mouse_up(*button);
}

Point QtPlatform::cursor_pos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtPlatform::set_cursor_pos(Point p) {
    QCursor::setPos(p.x, p.y);
}

void QtPlatform::show_cursor(bool visible) {
    d_->cursor_count += visible ? 1 : -1;
    d_->update_cursor();
}

void QtPlatform::refresh_cursor() {
    if (d_->cursor_blank) return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    QGuiApplication::restoreOverrideCursor();
}

void QtPlatform::capture(Win w) {
    QWidget* widget = d_->tops[index(w)].widget;
    if (QWidget::mouseGrabber() == widget) return;
    // A menu or a modal dialog owns the pointer while it is up; a move runs its own grab.
    if (d_->moving || QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return;
    if (!widget->isVisible()) return;
    widget->grabMouse();
}

void QtPlatform::release_capture() {
    d_->release_grab();
}

bool QtPlatform::key_down(int vkey) const {
    switch (vkey) {
    case vk::LButton:
    case vk::RButton:
    case vk::MButton: {
        if (d_->x_pointer.available()) return (d_->x_pointer.buttons() & vkey) != 0;
        const Qt::MouseButtons b = QGuiApplication::mouseButtons();
        if (vkey == vk::LButton) return b & Qt::LeftButton;
        if (vkey == vk::RButton) return b & Qt::RightButton;
        return b & Qt::MiddleButton;
    }
    case vk::Control:
        return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    case vk::Menu:
        return QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
    default:
        return d_->keys.down(vkey);
    }
}

Size QtPlatform::screen_size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {800, 600};
    const QSize s = screen->size();
    return {s.width(), s.height()};
}

} // namespace zefa
