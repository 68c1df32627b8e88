#include "realmedia_console.h"

#include "console.h"
#include "instance.h"
#include "picture_widget.h"

#include <QPalette>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace zefa {

using realmedia::Console;
using realmedia::Event;
using realmedia::Instance;
using realmedia::PictureWidget;

namespace {

// The console's view of the picture widget, which the main window may delete before us.
class PictureLink final : public realmedia::PictureSurface {
  public:
    QPointer<PictureWidget> widget;

    unsigned long window() override { return widget ? widget->picture_window() : 0; }
    void show_picture(bool shown) override {
        if (widget) widget->show_picture(shown);
    }
};

// The pump's period: the bus is read and events go out at this pace.
constexpr int kPumpMs = 50;

} // namespace

struct RealMediaConsole::Impl {
    PictureLink link;
    Console console{link};
    Instance picture{console, [this] { keep_pumping(); }};
    Instance transport{console, [this] { keep_pumping(); }};
    QPointer<QWidget> transport_widget;
    QTimer pump;

    Impl() {
        link.widget = new PictureWidget([this] { console.picture_resized(); },
                                        [this](unsigned long w) { console.window_replaced(w); });
        auto* parked = new QWidget;
        QPalette palette = parked->palette();
        palette.setColor(QPalette::Window, Qt::black);
        parked->setPalette(palette);
        parked->setAutoFillBackground(true);
        transport_widget = parked;

        pump.setInterval(kPumpMs);
        QObject::connect(&pump, &QTimer::timeout, [this] { run_pump(); });
    }

    ~Impl() {
        pump.stop();
        console.set_source("nil"); // the pipeline goes before the window it draws into
        delete link.widget.data();
        delete transport_widget.data();
    }

    void keep_pumping() {
        if (console.active() && !pump.isActive()) pump.start();
    }

    void run_pump() {
        console.pump();
        for (const Event& event : console.take_events()) {
            picture.deliver(event);
            transport.deliver(event);
        }
        if (!console.active()) pump.stop();
    }
};

RealMediaConsole::RealMediaConsole() : d_(std::make_unique<Impl>()) {}
RealMediaConsole::~RealMediaConsole() = default;

RealPlayerControl& RealMediaConsole::picture() {
    return d_->picture;
}

RealPlayerControl& RealMediaConsole::transport() {
    return d_->transport;
}

QWidget* RealMediaConsole::picture_widget() {
    return d_->link.widget;
}

QWidget* RealMediaConsole::transport_widget() {
    return d_->transport_widget;
}

} // namespace zefa
