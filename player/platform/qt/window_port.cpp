#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QPixmap>
#include <QWindow>

#include "platform/qt/image_convert.h"
#include "platform/qt/qt_platform_impl.h"
#include "platform/qt/x_window_manager.h"

namespace zefa {

Rect QtPlatform::Impl::rect(Win w) const {
    const Top& t = tops[index(w)];
    return collapsed(t) ? t.logical : to_rect(t.widget->geometry());
}

void QtPlatform::Impl::apply(Win w) {
    Top& t = tops[index(w)];
    QWidget* widget = t.widget;
    const bool has_area = !collapsed(t);
    if (has_area) widget->setGeometry(to_qrect(t.logical));
    // X11 has no window of size 0, and an empty shape would mean no shape at all: a window
    // without area is not mapped.
    const bool on_screen = t.wanted_visible && has_area && !t.empty_region && !t.hidden_by_minimise;
    if (on_screen && !widget->isVisible()) {
        widget->show();
    } else if (!on_screen && widget->isVisible()) {
        if (QWidget::mouseGrabber() == widget) widget->releaseMouse();
        widget->hide();
    }
}

void QtPlatform::Impl::apply_child(Child c) {
    ChildPlace& ch = children[index(c)];
    ch.widget->setVisible(!ch.empty_region);
}

void QtPlatform::Impl::set_topmost(Win w, bool on) {
    QWidget* widget = tops[index(w)].widget;
    if (w != Win::Dialog && qt::on_x()) {
        // Kept out of Qt's flags: a changed stays-on-top flag makes Qt re-create the window,
        // with the video's native window in it, the next time it is shown.
        auto* top = static_cast<qt::TopWindow*>(widget);
        if (top->stays_on_top() == on) return;
        top->set_stays_on_top(on);
        qt::set_stays_on_top(*top, on);
        return;
    }
    // Through the QWindow: QWidget::setWindowFlags would re-create the window at once.
    if (QWindow* handle = widget->windowHandle()) handle->setFlag(Qt::WindowStaysOnTopHint, on);
    widget->overrideWindowFlags(on ? widget->windowFlags() | Qt::WindowStaysOnTopHint
                                   : widget->windowFlags() & ~Qt::WindowStaysOnTopHint);
    // New flags make Qt write the window type again, as a plain window.
    if (widget == panel.get() || widget == playlist.get()) qt::mark_utility_window(*widget);
}

void QtPlatform::Impl::moved(Win w) {
    if (events && (w == Win::Main || w == Win::Panel)) events->window_moved(w);
}

void QtPlatform::Impl::dropped(Win w, const std::vector<std::string>& paths) {
    if (events && !paths.empty()) events->files_dropped(w, paths);
}

void QtPlatform::Impl::minimised_changed(Win w, bool minimised) {
    if (w != Win::Main) return;
    // The panel and the playlist go and come back with the main window, as one application.
    for (Win other : {Win::Panel, Win::Playlist}) {
        tops[index(other)].hidden_by_minimise = minimised;
        apply(other);
    }
    if (!minimised && events) events->app_restored();
}

void QtPlatform::Impl::closed(Win w) {
    if (w == Win::Main) QCoreApplication::quit();
}

void QtPlatform::place(Win w, Stacking s, Rect r, bool show) {
    Impl::Top& t = d_->tops[index(w)];
    QWidget* widget = t.widget;
    t.logical = r;
    if (show) t.wanted_visible = true;
    switch (s) {
    case Stacking::TopMost:
        d_->set_topmost(w, true);
        break;
    case Stacking::NoTopMost:
    case Stacking::Bottom:
        d_->set_topmost(w, false);
        break; // the bottom is never topmost
    case Stacking::Top:
    case Stacking::Keep:
        break;
    }
    d_->apply(w);
    switch (s) {
    case Stacking::TopMost:
    case Stacking::NoTopMost:
    case Stacking::Top:
        widget->raise();
        break;
    case Stacking::Bottom:
        widget->lower();
        break;
    case Stacking::Keep:
        break;
    }
}

Rect QtPlatform::rect(Win w) const {
    return d_->rect(w);
}

void QtPlatform::move(Win w, Point p) {
    const Rect r = d_->rect(w);
    d_->tops[index(w)].logical = {p.x, p.y, r.w, r.h};
    d_->apply(w);
}

void QtPlatform::resize(Win w, Size s) {
    const Rect r = d_->rect(w);
    d_->tops[index(w)].logical = {r.x, r.y, s.w, s.h};
    d_->apply(w);
}

void QtPlatform::show(Win w, bool visible) {
    Impl::Top& t = d_->tops[index(w)];
    t.logical = d_->rect(w);
    t.wanted_visible = visible;
    d_->apply(w);
}

void QtPlatform::set_region(Win w, const Region& r) {
    Impl::Top& t = d_->tops[index(w)];
    t.logical = d_->rect(w);
    // Qt reads an empty mask as "no mask"; an empty outline hides the window instead.
    t.empty_region = r.empty();
    if (!r.empty()) t.widget->setMask(to_qregion(r));
    d_->apply(w);
}

void QtPlatform::invalidate(Win w) {
    d_->tops[index(w)].widget->update();
}

void QtPlatform::bring_to_front(Win w) {
    QWidget* widget = d_->tops[index(w)].widget;
    if (widget->isMinimized()) widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
    if (!widget->isVisible()) return;
    widget->raise();
    widget->activateWindow();
}

void QtPlatform::minimise_app() {
    d_->release_grab();
    QWidget* main = d_->main.get();
    main->setWindowState(main->windowState() | Qt::WindowMinimized);
}

void QtPlatform::restore_app() {
    QWidget* main = d_->main.get();
    if (main->isMinimized()) main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
}

void QtPlatform::interactive_move(Win w) {
    QWidget* widget = d_->tops[index(w)].widget;
    if (d_->moving || !widget->isVisible() || d_->real_buttons() == 0) return;

    d_->moving = true;
    d_->pointer.end_tick(); // the move runs a loop of its own
    // The release that ends the move is the move's, not the core's.
    d_->held = 0;
    // A window manager moves the window itself when it takes the request (it grabs the pointer
    // for that); without one the window follows the pointer from here.
    // (Qt's own startSystemMove tells the manager a wrong pointer position on X.)
    const bool by_manager = qt::start_manager_move(*widget);
    const QPoint start_pointer = QCursor::pos();
    const QPoint start_pos = widget->pos();
    if (!by_manager) widget->grabMouse();

    QEventLoop loop;
    QTimer poll;
    poll.setInterval(10);
    // Polls the real buttons: the release may happen where no event of ours sees it.
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (d_->real_buttons() == 0 || !widget->isVisible()) {
            loop.quit();
            return;
        }
        if (by_manager) return;
        const QPoint to = start_pos + (QCursor::pos() - start_pointer);
        if (to != widget->pos()) widget->move(to);
    });
    poll.start();
    loop.exec();
    poll.stop();

    if (QWidget::mouseGrabber() == widget) widget->releaseMouse();
    d_->moving = false;
    // Where the manager let go: positions it reported while still dragging may have
    // overridden what the core made of them.
    if (by_manager) d_->moved(w);
}

void QtPlatform::close_main() {
    d_->main->close();
    QCoreApplication::quit();
}

void QtPlatform::place_child(Child c, Rect r) {
    Impl::ChildPlace& ch = d_->children[index(c)];
    ch.widget->setGeometry(to_qrect(r));
    // Sized here rather than by a layout: a hidden window lays nothing out until it shows.
    for (const QPointer<QWidget>& control : ch.adopted)
        if (control) control->setGeometry(ch.widget->rect());
}

Rect QtPlatform::child_rect(Child c) const {
    return to_rect(child_host(c)->geometry());
}

void QtPlatform::set_child_region(Child c, const Region& r) {
    Impl::ChildPlace& ch = d_->children[index(c)];
    ch.empty_region = r.empty();
    if (!r.empty()) ch.widget->setMask(to_qregion(r));
    d_->apply_child(c);
}

void QtPlatform::set_child_text(Child c, const std::string& utf8) {
    if (auto* edit = qobject_cast<QLineEdit*>(child_host(c)))
        edit->setText(QString::fromUtf8(utf8));
}

void QtPlatform::set_child_image(Child c, const Bitmap& b) {
    auto* label = qobject_cast<QLabel*>(child_host(c));
    if (!label) return;
    if (b.empty())
        label->clear();
    else
        label->setPixmap(QPixmap::fromImage(qt::to_qimage(b)));
}

void QtPlatform::focus_child(Child c) {
    QWidget* widget = child_host(c);
    QWidget* top = widget->window();
    if (top->isVisible() && !top->isActiveWindow()) top->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

uintptr_t QtPlatform::native_handle(Child c) {
    QWidget* widget = child_host(c);
    // Only X window ids mean something to the playback library.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return 0;
    if (!widget->testAttribute(Qt::WA_NativeWindow)) return 0;
    return static_cast<uintptr_t>(widget->winId());
}

void QtPlatform::draw_panel(const Bitmap& surface, Rect changed) {
    d_->panel->update_surface(surface, to_qrect(changed));
}

void QtPlatform::set_playlist_items(const std::vector<std::string>& names) {
    d_->playlist->list()->names().set_names(names);
}

int QtPlatform::playlist_selection() const {
    const QModelIndexList rows = d_->playlist->list()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace zefa
