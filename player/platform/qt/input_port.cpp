#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <algorithm>

#include "platform/qt/qt_platform_impl.h"

namespace zefa {

namespace {

constexpr int vk_bit(Button b) {
    return b == Button::Left ? vk::LButton : b == Button::Right ? vk::RButton : vk::MButton;
}

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

int QtPlatform::Impl::real_buttons() const {
    if (const auto s = pointer.state()) return s->buttons;
    const Qt::MouseButtons b = QGuiApplication::mouseButtons();
    return (b & Qt::LeftButton ? vk::LButton : 0) | (b & Qt::RightButton ? vk::RButton : 0) |
           (b & Qt::MiddleButton ? vk::MButton : 0);
}

void QtPlatform::Impl::sync_buttons() {
    // Not while one of our menus or dialogs runs its loop: the core hears of it afterwards.
    if (held == 0 || moving || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return;
    const int up = held & ~real_buttons();
    if (up == 0) return;
    // Released where no event of ours saw it (another client's grab, a lost event): the core
    // still gets the release, once. Should the real one still be on its way, it is dropped.
    const QPoint at = tops[index(held_on)].widget->mapFromGlobal(QCursor::pos());
    for (const Button b : {Button::Left, Button::Right, Button::Middle}) {
        if (!(up & vk_bit(b))) continue;
        held &= ~vk_bit(b);
        if (events) events->mouse_up(held_on, b, {at.x(), at.y()});
    }
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
    const auto button = to_button(b);
    if (moving || !button) return;
    held |= vk_bit(*button);
    held_on = w;
    if (events) events->mouse_down(w, *button, {p.x(), p.y()});
}

void QtPlatform::Impl::pointer_release(Win w, Qt::MouseButton b, QPoint p) {
    const auto button = to_button(b);
    // Only the release of a press the core got: a move or the tick may have ended it already.
    if (moving || !button || !(held & vk_bit(*button))) return;
    held &= ~vk_bit(*button);
    if (events) events->mouse_up(w, *button, {p.x(), p.y()});
}

void QtPlatform::Impl::pointer_double_click(Win w, Qt::MouseButton b, QPoint p) {
    const auto button = to_button(b);
    if (moving || !button) return;
    // The second press of a double click is a press as well, after the double click.
    if (*button == Button::Left && events) events->double_click(w, {p.x(), p.y()});
    pointer_press(w, b, p);
}

void QtPlatform::Impl::pointer_move(Win w, QPoint p) {
    if (moving || !events) return;
    events->mouse_move(w, {p.x(), p.y()});
}

void QtPlatform::Impl::wheel(Win w, int angle_y) {
    if (moving || angle_y == 0) return;
    // One step per notch (120); a fine-grained wheel or touch pad adds up to notches, and a
    // turn the other way starts afresh. Ten notches at most per event: the seek speed spans ten
    // steps, and a wild delta from a device or a sender neither overflows the sum nor floods the
    // core.
    const int angle = std::clamp(angle_y, -1200, 1200);
    int& rest = wheel_rest[index(w)];
    if ((rest > 0) != (angle > 0)) rest = 0;
    rest += angle;
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
    // X reports device pixels; with scaling, Qt's position is the one in our coordinates.
    if (const auto s = d_->pointer.state();
        s && s->on_screen && QGuiApplication::instance() && qGuiApp->devicePixelRatio() == 1.0)
        return {s->x, s->y};
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtPlatform::set_cursor_pos(Point p) {
    QCursor::setPos(p.x, p.y);
    d_->x_pointer.forget();
    d_->pointer.forget();
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

void QtPlatform::capture(Win) {
    // X already sends a held button's motion and release to the window it went down on (the
    // press's own grab), which is all the player needs. A grab taken because the pointer hovers
    // over our windows would also take the clicks of other programs' windows stacked above.
}

void QtPlatform::release_capture() {
    // Ends only a grab of ours; the press's own grab stays, or its release would be lost.
    d_->release_grab();
}

bool QtPlatform::own_window_at(Point p) const {
    // Asks the window system which window is topmost at p, shapes and frames considered.
    return QGuiApplication::topLevelAt(QPoint(p.x, p.y)) != nullptr;
}

bool QtPlatform::key_down(int vkey) const {
    switch (vkey) {
    case vk::LButton:
    case vk::RButton:
    case vk::MButton:
        return (d_->real_buttons() & vkey) != 0;
    case vk::Control:
    case vk::Menu:
        if (const auto s = d_->pointer.state()) return vkey == vk::Control ? s->control : s->alt;
        return QGuiApplication::queryKeyboardModifiers() &
               (vkey == vk::Control ? Qt::ControlModifier : Qt::AltModifier);
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
