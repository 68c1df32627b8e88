// ZEFA: wires the core to the Qt port, the playback library and the engine controls.

#include <QApplication>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

#include "config/data_folders.h"
#include "config/file_text.h"
#include "media_common/plugin_warmup.h"
#include "platform/qt/crash_report.h"
#include "platform/qt/display_hold.h"
#include "platform/qt/mpris_service.h"
#include "platform/qt/qt_platform.h"
#include "realmedia/realmedia_console.h"
#include "shell/command_line.h"
#include "shell/copy_data_record.h"
#include "shell/player.h"
#include "shell/single_instance.h"
#include "swf/swf_control.h"
#include "velmo.h"

namespace {

using namespace zefa;

// The folder of the program file itself (links resolved), with a trailing "/".
std::string program_folder() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

// The core lays out in logical pixels; the library's video window is a native window and
// counts the screen's pixels.
const QtPlatform* g_platform = nullptr;

int32_t zoom_in_device_pixels(int32_t width, int32_t height) {
    const double ratio = g_platform ? g_platform->device_pixel_ratio() : 1.0;
    return DS_ZOOM(static_cast<int32_t>(std::lround(width * ratio)),
                   static_cast<int32_t>(std::lround(height * ratio)));
}

const VelmoApi kVelmo = {PLY,      DS_STOP,     DS_VIEW,     zoom_in_device_pixels,
                         DS_W,     DS_H,        DS_RUN,      DS_PAUSE,
                         DS_LEN,   DS_POS,      DS_END,      DS_SEEK,
                         DS_KEY,   DS_INI_RAND, DS_RET_RAND, DS_RET_TNO,
                         DS_VOLUME};

// With ZEFA_TRACE set, messages, hand-offs, pointer presses and drops are also written to
// stderr, so that scripts and end-to-end tests can follow what the user was shown.
class TracingDialogs final : public DialogPort {
  public:
    explicit TracingDialogs(DialogPort& inner) : inner_(inner) {}
    void message_box(const std::string& text) override {
        std::fprintf(stderr, "zefa: message: %s\n", text.c_str());
        inner_.message_box(text);
    }
    std::optional<std::string> open_file() override { return inner_.open_file(); }
    int popup_menu(Menu m, Point p, int checked) override {
        return inner_.popup_menu(m, p, checked);
    }
    int settings_dialog(DialogFields& f) override { return inner_.settings_dialog(f); }

  private:
    DialogPort& inner_;
};

class TracingPlayer final : public Player {
  public:
    using Player::Player;
    void copy_data(uint32_t dw_data, const std::string& path) override {
        std::fprintf(stderr, "zefa: hand-off: %u %s\n", dw_data, path.c_str());
        Player::copy_data(dw_data, path);
    }
    void mouse_down(Win w, Button b, Point p) override {
        std::fprintf(stderr, "zefa: mouse down: %d %d %d %d\n", static_cast<int>(w),
                     static_cast<int>(b), p.x, p.y);
        Player::mouse_down(w, b, p);
    }
    void files_dropped(Win w, const std::vector<std::string>& paths) override {
        Player::files_dropped(w, paths);
        std::fprintf(stderr, "zefa: drop: %d entries, play_state %d, switch_stage %d\n",
                     list.entry_count, list.play_state, sh.switch_stage);
        for (const std::string& entry : list.ListBox1)
            std::fprintf(stderr, "zefa: entry: %s\n", entry.c_str());
    }
};

// As a second instance: hands the path to the running instance. 0 once it has taken the path
// (or there is none), else 1 with the reason on stderr.
int hand_over(const std::string& socket_path, const std::string& arg) {
    if (arg.empty()) return 0;
    std::string error;
    // The running instance has a working folder of its own: a relative path means ours.
    const std::optional<std::string> path = absolute_path(arg, error);
    if (!path) {
        std::fprintf(stderr, "zefa: %s\n", error.c_str());
        return 1;
    }
    if (path->size() >= kCopyDataMaxBytes) {
        std::fprintf(stderr, "zefa: %s: the path is too long to hand over\n", path->c_str());
        return 1;
    }
    if (!send_handoff(socket_path, encode_copy_data(1, *path), kHandoffTimeoutMs, error)) {
        std::fprintf(stderr, "zefa: the running instance did not take %s: %s\n", path->c_str(),
                     error.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    zefa::qt::install_crash_report();
    const std::string path = argc > 1 ? argv[1] : "";
    switch (read_command_line(path, path_exists)) {
    case CommandLineRequest::Help:
        std::fputs(usage_text().c_str(), stdout);
        return 0;
    case CommandLineRequest::Version:
        std::fputs(version_text().c_str(), stdout);
        return 0;
    case CommandLineRequest::Play:
        break;
    }

    // One instance per user: a later one hands its path to the running one and ends.
    std::string error;
    const std::optional<InstancePaths> paths = instance_paths(error);
    InstanceLock lock;
    SocketName socket_name; // outlives the port's server, which removes the socket by it
    int listening_fd = -1;
    if (!paths) {
        std::fprintf(stderr, "zefa: %s; starting without the single-instance hand-off\n",
                     error.c_str());
    } else {
        switch (lock.acquire(paths->lock, error)) {
        case LockState::HeldElsewhere:
            return hand_over(paths->socket, path);
        case LockState::Failed:
            std::fprintf(stderr, "zefa: %s\n", error.c_str());
            return 1;
        case LockState::Taken:
            // Listening from now on, later instances reach us while we are still starting.
            if (!socket_name.open(paths->socket, error) ||
                (listening_fd = listen_for_handoffs(socket_name, error)) < 0)
                std::fprintf(stderr,
                             "zefa: cannot take hand-offs at %s: %s; later instances cannot "
                             "hand their paths to this one\n",
                             paths->socket.c_str(), error.c_str());
            break;
        }
    }

    // Positioned, shaped windows and native video windows need X11 (XWayland under Wayland).
    const char* platform_name = std::getenv("QT_QPA_PLATFORM");
    if (!platform_name || !*platform_name) {
        if (!std::getenv("DISPLAY")) {
            std::fprintf(stderr, "zefa: no X display (DISPLAY is not set)\n");
            return 1;
        }
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    auto display = std::make_unique<zefa::qt::DisplayHold>();
    if (std::string(std::getenv("QT_QPA_PLATFORM")) == "xcb" && !display->connect(error)) {
        std::fprintf(stderr, "zefa: %s\n", error.c_str());
        return 1;
    }

    QApplication app(argc, argv);
    display.reset(); // Qt has its own connection now
    QApplication::setApplicationName("VIVADO");
    QtPlatform platform;
    g_platform = &platform;

    const bool trace = std::getenv("ZEFA_TRACE") != nullptr;
    const Ports plain = platform.ports();
    TracingDialogs traced_dialogs(plain.dialogs);
    const Ports ports{plain.win, plain.input, plain.screen,
                      trace ? static_cast<DialogPort&>(traced_dialogs) : plain.dialogs,
                      plain.images};

    RealMediaConsole real;
    platform.adopt_child(Child::RealAudio1, real.picture_widget());
    platform.adopt_child(Child::RealAudio2, real.transport_widget());
    SwfControl flash;
    platform.adopt_child(Child::Flash, flash.widget());
    const Engines engines{kVelmo, real.picture(), real.transport(), flash};
    const std::string exe_dir = program_folder();
    std::unique_ptr<Player> player =
        trace ? std::make_unique<TracingPlayer>(ports, engines, exe_dir, path)
              : std::make_unique<Player>(ports, engines, exe_dir, path);
    // An installed (unwritable) program folder keeps the settings in the user's own folders.
    const DataFolders folders = choose_data_folders(exe_dir, UserFolders::from_environment());
    player->use_folders(folders.data, folders.user_skins);

    platform.set_events(player.get());
    real.picture().set_events(player.get());
    // Media keys and the desktop's controls; the screen saver held off while a picture plays.
    zefa::qt::MprisService desktop(zefa::qt::session_bus_address());
    player->set_desktop(&desktop);
    player->FormCreate();
    if (listening_fd >= 0) platform.listen_for_handoff(listening_fd);
    // A medium named here plays once the engine switch has waited its ticks: its plugins load
    // meanwhile. (Not earlier: loading them holds the dynamic loader, which Qt needs to start.)
    std::optional<media_common::PluginWarmUp> warm_up;
    if (!path.empty()) warm_up.emplace();
    platform.start_timer();
    return QApplication::exec();
}
