// The playlist window at 100,000 entries under the offscreen platform: showing the names,
// and a folder tree dropped on the window becoming the sorted list on the screen, with the
// real core and playback library behind it.

#include <QApplication>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include "fake_engines.h"
#include "media_tree.h"
#include "platform/qt/qt_platform.h"
#include "shell/path_text.h"
#include "shell/player.h"
#include "velmo.h"

using namespace zefa;

namespace {

const VelmoApi kVelmo = {PLY,    DS_STOP,     DS_VIEW,     DS_ZOOM,    DS_W,     DS_H,
                         DS_RUN, DS_PAUSE,    DS_LEN,      DS_POS,     DS_END,   DS_SEEK,
                         DS_KEY, DS_INI_RAND, DS_RET_RAND, DS_RET_TNO, DS_VOLUME};

// Paints the list as the screen would show it, scrolled to its end (the last rows are laid
// out too).
void show_list(QtPlatform& platform) {
    auto* list = platform.window(Win::Playlist)->findChild<QListView*>();
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    benchmark::DoNotOptimize(platform.window(Win::Playlist)->grab());
}

void BM_WindowShows100kNames(benchmark::State& state) {
    std::vector<std::string> names;
    for (const std::string& path : bench::media_tree_files())
        names.emplace_back(file_name_part(path));
    QtPlatform platform;
    platform.place(Win::Playlist, Stacking::Top, {0, 333, 344, 109}, true);
    for (auto _ : state) {
        platform.set_playlist_items(names);
        show_list(platform);
    }
}
BENCHMARK(BM_WindowShows100kNames)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DropTree100kOnTheWindow(benchmark::State& state) {
    QtPlatform platform;
    test::FakeRealPlayer real1, real2;
    test::FakeFlash flash;
    Player player(platform.ports(), Engines{kVelmo, real1, real2, flash}, "/nonexistent/", "");
    apply_setting_defaults(player.cfg, DefaultPhase::Startup);
    platform.set_events(&player);
    platform.place(Win::Playlist, Stacking::Top, {0, 333, 344, 109}, true);

    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"),
                 "file://" + QByteArray::fromStdString(bench::media_tree()).toPercentEncoding("/"));
    for (auto _ : state) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(platform.window(Win::Playlist), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(platform.window(Win::Playlist), &drop);
        show_list(platform);
        if (player.list.entry_count != bench::kTreeFiles) state.SkipWithError("count");
    }
}
BENCHMARK(BM_DropTree100kOnTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // also takes LC_COLLATE from the environment
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
