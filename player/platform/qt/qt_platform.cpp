#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QWindow>

#include "platform/qt/qt_platform_impl.h"

namespace zefa {

namespace {

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
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true); // before it has a window to re-create
    dialog->setFixedSize(qt::SettingsForm::kSize);         // the form itself comes on first use
    dialog->move(222, 175);
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
    QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
}

void QtPlatform::Impl::tick() {
    pointer.begin_tick();
    sync_buttons();
    if (events) events->Timer1Timer();
    pointer.end_tick();
}

qt::SettingsForm& QtPlatform::Impl::form() {
    // Built on first use: its sixty controls cost a start a noticeable part of its time.
    if (!settings_form) settings_form = std::make_unique<qt::SettingsForm>(*dialog);
    return *settings_form;
}

QtPlatform::Impl::~Impl() {
    events = nullptr;
    timer.stop();
    handoff.reset();
    release_grab();
    if (cursor_blank) QGuiApplication::restoreOverrideCursor();
    key_watcher.reset();
}

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
    // The first tick (it shows the windows) as soon as the loop runs, not an interval later.
    QTimer::singleShot(0, &d_->timer, [d = d_.get()] { d->tick(); });
}
QWidget* QtPlatform::window(Win w) const {
    if (w == Win::Dialog) d_->form(); // whoever looks into the dialog finds its controls
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

} // namespace zefa
