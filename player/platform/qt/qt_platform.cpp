#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <array>
#include <cstdlib>

#include "platform/qt/handoff_server.h"
#include "platform/qt/image_convert.h"
#include "platform/qt/key_table.h"
#include "platform/qt/menus.h"
#include "platform/qt/windows.h"
#include "platform/qt/x_pointer.h"
#include "platform/qt/x_window_type.h"

namespace zefa {

namespace {

constexpr size_t index(Win w) {
    return static_cast<size_t>(w);
}
constexpr size_t index(Child c) {
    return static_cast<size_t>(c);
}

QRect to_qrect(Rect r) {
    return {r.x, r.y, std::max(r.w, 0), std::max(r.h, 0)};
}
Rect to_rect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QRegion to_qregion(const Region& region) {
    QRegion q;
    // Rows arrive top to bottom, which QRegion appends cheaply.
    for (const Rect& r : region.rects)
        if (r.w > 0 && r.h > 0) q += to_qrect(r);
    return q;
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

QFont japanese_font(bool fixed_pitch, int pixel_size, bool bold) {
    QFont font;
    if (fixed_pitch)
        font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                          QStringLiteral("Noto Sans Mono CJK JP")});
    else
        font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                          QStringLiteral("Noto Sans CJK JP")});
    font.setFixedPitch(fixed_pitch);
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

void paint_black(QWidget* w) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, Qt::black);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

struct QtPlatform::Impl final : qt::WindowSink {
    // What the core asked of a top-level window; the widget shows only what X11 can show.
    struct Top {
        QWidget* widget = nullptr;
        Rect logical; // as placed; the truth while the window has no area
        bool wanted_visible = false;
        bool empty_region = false;
        bool hidden_by_minimise = false;
    };
    struct ChildPlace {
        QWidget* widget = nullptr;
        bool empty_region = false;
        std::vector<QPointer<QWidget>> adopted; // controls that fill the place
    };

    Impl();
    ~Impl() override;

    bool collapsed(const Top& t) const { return t.logical.w <= 0 || t.logical.h <= 0; }
    Rect rect(Win w) const;
    void apply(Win w);
    void apply_child(Child c);
    void set_topmost(QWidget* widget, bool on);
    bool is_ours(const QWidget* w) const;
    bool buttons_down() const;
    void release_grab();
    void update_cursor();

    // Around every modal loop of ours: the pointer grab goes first, and the keys are
    // forgotten afterwards. Qt drops the key events that reach a window the modal blocks, so a
    // key released there would otherwise stay down, and the keyboard's latch with it.
    struct ModalScope {
        Impl& d;
        explicit ModalScope(Impl& impl) : d(impl) { d.release_grab(); }
        ~ModalScope() { d.keys.clear(); }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    };

    // qt::WindowSink
    void pointer_press(Win w, Qt::MouseButton b, QPoint p) override;
    void pointer_release(Win w, Qt::MouseButton b, QPoint p) override;
    void pointer_double_click(Win w, Qt::MouseButton b, QPoint p) override;
    void pointer_move(Win w, QPoint p) override;
    void wheel(Win w, int angle_y) override;
    void moved(Win w) override;
    void dropped(Win w, const std::vector<std::string>& paths) override;
    void minimised_changed(Win w, bool minimised) override;
    void closed(Win w) override;
    void list_double_click() override;
    void list_release(Qt::MouseButton b) override;

    // Created in the designed order: main, dialog, panel, playlist.
    std::unique_ptr<qt::TopWindow> main;
    std::unique_ptr<QDialog> dialog;
    std::unique_ptr<qt::PanelWindow> panel;
    std::unique_ptr<qt::PlaylistWindow> playlist;
    std::array<Top, 4> tops;
    std::array<ChildPlace, 8> children;
    QLineEdit* edit1 = nullptr;
    QLineEdit* edit2 = nullptr;
    QLabel* image4 = nullptr;
    QLabel* image5 = nullptr;

    PlayerEvents* events = nullptr;
    qt::KeyTable keys;
    std::unique_ptr<qt::KeyWatcher> key_watcher;
    qt::XPointer x_pointer;
    std::unique_ptr<qt::HandoffServer> handoff;
    QTimer timer;

    int cursor_count = 0; // ShowCursor's display count: the pointer shows while >= 0
    bool cursor_blank = false;
    bool moving = false;          // an interactive move owns the pointer
    bool swallow_release = false; // the release that ended a move is not the core's
    std::array<int, 4> wheel_rest{};
};

QtPlatform::Impl::Impl() {
    // A message box closed while every window is still hidden must not end the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    const Qt::WindowFlags frameless = Qt::Window | Qt::FramelessWindowHint;

    main = std::make_unique<qt::TopWindow>(Win::Main, *this, frameless, true);
    main->setWindowTitle(QStringLiteral("VIVADO"));
    main->setFont(japanese_font(false, 12, true));
    main->setGeometry(165, 117, 310, 231);
    main->winId();

    dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(QStringLiteral("設定"));
    dialog->setFont(japanese_font(false, 12, false));
    dialog->move(222, 175);
    dialog->resize(573, 358);
    dialog->winId();

    panel = std::make_unique<qt::PanelWindow>(*this, frameless);
    panel->setWindowTitle(QStringLiteral("VIVADO"));
    // Shown as a utility window (see mark_utility_window): off the task bar without being
    // tied above the main window, as Qt::Tool would be.
    panel->resize(312, 73);
    panel->winId();

    playlist = std::make_unique<qt::PlaylistWindow>(*this, frameless);
    playlist->setWindowTitle(QStringLiteral("VIVADO"));
    playlist->resize(344, 109);
    playlist->winId();

    tops[index(Win::Main)].widget = main.get();
    tops[index(Win::Dialog)].widget = dialog.get();
    tops[index(Win::Panel)].widget = panel.get();
    tops[index(Win::Playlist)].widget = playlist.get();
    for (Top& t : tops)
        t.logical = to_rect(t.widget->geometry());

    // The main window's children as designed.
    auto* real1 = new QWidget(main.get());
    real1->setGeometry(0, 0, 320, 240);
    paint_black(real1);
    // The RealMedia picture gets an X window of its own inside this one.
    real1->setAttribute(Qt::WA_NativeWindow);
    real1->winId();

    // Created after the RealMedia picture so that it stacks above it: its region lays the line
    // masks over that picture. (stackUnder does not restack native windows.)
    auto* panel1 = new QWidget(main.get());
    panel1->setGeometry(328, 96, 25, 25);
    paint_black(panel1);
    // Clicks on the video fall through to the main window, as on a disabled panel: the video's
    // X window selects no input, so they reach this widget, which passes them to its parent.
    // (Qt's input-transparent window flag would also redirect its children's map requests, and
    // the video window could never show.)
    panel1->setAttribute(Qt::WA_TransparentForMouseEvents);
    panel1->setAttribute(Qt::WA_NativeWindow);
    panel1->winId();

    auto* real2 = new QWidget(main.get());
    real2->setGeometry(356, 0, 100, 20);
    paint_black(real2);

    auto* flash = new QWidget(main.get());
    flash->setGeometry(328, 64, 33, 25);
    paint_black(flash);

    edit1 = new QLineEdit(main.get());
    edit1->setReadOnly(true);
    edit1->setAcceptDrops(false);
    edit1->setFocusPolicy(Qt::StrongFocus);
    edit1->setGeometry(376, -3, 0, 1);

    edit2 = new QLineEdit(main.get());
    edit2->setReadOnly(true);
    edit2->setAcceptDrops(false);
    edit2->setFocusPolicy(Qt::NoFocus);
    edit2->setFrame(false);
    edit2->setFont(japanese_font(true, 29, true));
    {
        QPalette pal = edit2->palette();
        pal.setColor(QPalette::Base, Qt::black);
        pal.setColor(QPalette::Text, QColor(192, 220, 192));
        edit2->setPalette(pal);
    }
    edit2->setGeometry(0, 240, 25, 35);
    // The info text shows over the video, whose X window would cover a plain child.
    edit2->setAttribute(Qt::WA_NativeWindow);
    edit2->winId();
    edit2->raise();

    image4 = new QLabel(main.get());
    image4->setGeometry(416, 144, 105, 105);
    image4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image5 = new QLabel(main.get());
    image5->setGeometry(440, 8, 24, 19);
    image5->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    children[index(Child::Panel1)].widget = panel1;
    children[index(Child::Edit1)].widget = edit1;
    children[index(Child::Edit2)].widget = edit2;
    children[index(Child::Image4)].widget = image4;
    children[index(Child::Image5)].widget = image5;
    children[index(Child::RealAudio1)].widget = real1;
    children[index(Child::RealAudio2)].widget = real2;
    children[index(Child::Flash)].widget = flash;

    key_watcher = std::make_unique<qt::KeyWatcher>(keys, [this](QWindow* w) {
        while (w && w->parent())
            w = w->parent();
        if (events && w && w == main->windowHandle()) events->FormKeyDown();
    });

    timer.setInterval(50);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        if (events) events->Timer1Timer();
    });
}

QtPlatform::Impl::~Impl() {
    events = nullptr;
    timer.stop();
    handoff.reset();
    release_grab();
    if (cursor_blank) QGuiApplication::restoreOverrideCursor();
    key_watcher.reset();
}

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

void QtPlatform::Impl::set_topmost(QWidget* widget, bool on) {
    // Through the QWindow: QWidget::setWindowFlags would re-create the X window and lose
    // the native children with it.
    if (QWindow* handle = widget->windowHandle()) handle->setFlag(Qt::WindowStaysOnTopHint, on);
    widget->overrideWindowFlags(on ? widget->windowFlags() | Qt::WindowStaysOnTopHint
                                   : widget->windowFlags() & ~Qt::WindowStaysOnTopHint);
    // New flags make Qt write the window type again, as a plain window.
    if (widget == panel.get() || widget == playlist.get()) qt::mark_utility_window(*widget);
}

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

void QtPlatform::Impl::list_double_click() {
    if (events) events->playlist_double_click();
}

void QtPlatform::Impl::list_release(Qt::MouseButton b) {
    if (const auto button = to_button(b); button && events) events->playlist_mouse_up(*button);
}

// ---------------------------------------------------------------------------------------------

QtPlatform::QtPlatform() : d_(std::make_unique<Impl>()) {}
QtPlatform::~QtPlatform() = default;

Ports QtPlatform::ports() {
    return Ports{*this, *this, *this, *this, *this};
}

void QtPlatform::set_events(PlayerEvents* events) {
    d_->events = events;
}

void QtPlatform::start_timer() {
    d_->timer.start();
}

bool QtPlatform::listen_for_handoff(int listening_fd) {
    d_->handoff = std::make_unique<qt::HandoffServer>([this](const CopyDataRecord& record) {
        bring_to_front(Win::Main);
        if (d_->events) d_->events->copy_data(record.dw_data, record.path);
    });
    if (d_->handoff->listen(listening_fd)) return true;
    d_->handoff.reset();
    return false;
}

QWidget* QtPlatform::window(Win w) const {
    return d_->tops[index(w)].widget;
}

QWidget* QtPlatform::child_host(Child c) const {
    return d_->children[index(c)].widget;
}

void QtPlatform::adopt_child(Child c, QWidget* control) {
    if (!control) return;
    Impl::ChildPlace& ch = d_->children[index(c)];
    control->setParent(ch.widget);
    control->setGeometry(ch.widget->rect());
    control->show();
    ch.adopted.emplace_back(control);
}

double QtPlatform::device_pixel_ratio() const {
    return d_->main->devicePixelRatioF();
}

// WindowPort ------------------------------------------------------------------------------------

void QtPlatform::place(Win w, Stacking s, Rect r, bool show) {
    Impl::Top& t = d_->tops[index(w)];
    QWidget* widget = t.widget;
    t.logical = r;
    if (show) t.wanted_visible = true;
    switch (s) {
    case Stacking::TopMost:
        d_->set_topmost(widget, true);
        break;
    case Stacking::NoTopMost:
    case Stacking::Bottom:
        d_->set_topmost(widget, false);
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
    if (d_->moving || !widget->isVisible() || !d_->buttons_down()) return;

    const QPoint start_pointer = QCursor::pos();
    const QPoint start_pos = widget->pos();
    d_->moving = true;
    widget->grabMouse();

    QEventLoop loop;
    QTimer poll;
    poll.setInterval(10);
    // Polls the real buttons: the release may happen where no event of ours sees it.
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!d_->buttons_down() || !widget->isVisible()) {
            loop.quit();
            return;
        }
        const QPoint to = start_pos + (QCursor::pos() - start_pointer);
        if (to != widget->pos()) widget->move(to);
    });
    poll.start();
    loop.exec();
    poll.stop();

    if (QWidget::mouseGrabber() == widget) widget->releaseMouse();
    d_->moving = false;
    // Qt may not have seen the release yet; when it arrives it belongs to the move.
    d_->swallow_release = QGuiApplication::mouseButtons() != Qt::NoButton;
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

void QtPlatform::draw_panel(const Bitmap& surface) {
    d_->panel->set_surface(qt::to_qimage(surface));
}

void QtPlatform::set_playlist_items(const std::vector<std::string>& names) {
    d_->playlist->list()->names().set_names(names);
}

int QtPlatform::playlist_selection() const {
    const QModelIndexList rows = d_->playlist->list()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// InputPort ---------------------------------------------------------------------------------------

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

// ScreenPort
// ---------------------------------------------------------------------------------------

Size QtPlatform::screen_size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {800, 600};
    const QSize s = screen->size();
    return {s.width(), s.height()};
}

// DialogPort
// ---------------------------------------------------------------------------------------

void QtPlatform::message_box(const std::string& utf8) {
    const Impl::ModalScope modal(*d_);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("VIVADO"), QString::fromUtf8(utf8),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    // Above a main window that stays on top.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

std::optional<std::string> QtPlatform::open_file() {
    const Impl::ModalScope modal(*d_);
    QFileDialog dialog(nullptr, QStringLiteral("開く"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

int QtPlatform::popup_menu(Menu m, Point p, int checked) {
    const Impl::ModalScope modal(*d_);
    return qt::run_menu(m, QPoint(p.x, p.y), checked);
}

int QtPlatform::settings_dialog(DialogFields&) {
    // The dialog's controls come with the settings dialog itself; until then it opens empty
    // and is always cancelled.
    const Impl::ModalScope modal(*d_);
    d_->dialog->exec();
    return 0;
}

// ImagePort
// ----------------------------------------------------------------------------------------

namespace {

// The panel title's font: the default user-interface font, in plain black and white pixels
// because the panel combines the strip with its picture bit by bit.
QFont title_font() {
    QFont font = QApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

std::optional<Bitmap> QtPlatform::load_bmp(const std::string& path, std::string& error) {
    return qt::load_bmp_file(path, error);
}

int32_t QtPlatform::text_width(const std::string& utf8) {
    return QFontMetrics(title_font()).horizontalAdvance(QString::fromUtf8(utf8));
}

void QtPlatform::draw_text(Bitmap& b, int32_t x, int32_t y, const std::string& utf8) {
    if (b.empty() || utf8.empty()) return;
    QImage image = qt::to_qimage(b);
    {
        QPainter p(&image);
        const QFont font = title_font();
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(x, y + QFontMetrics(font).ascent(), QString::fromUtf8(utf8));
    }
    b = qt::from_qimage(image);
}

} // namespace zefa
