// A drag source for the end-to-end tests: a small window that, when pressed, drags the paths
// named on its command line as a text/uri-list, the way a file manager does.
// Usage: drag_source X Y PATH...

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

class Source : public QWidget {
  public:
    explicit Source(QByteArray uris) : uris_(std::move(uris)) {
        setWindowTitle(QStringLiteral("drag-source"));
        setWindowFlag(Qt::FramelessWindowHint);
    }

  protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("text/uri-list"), uris_);
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        std::printf("drag-source: %s\n", done == Qt::CopyAction ? "dropped" : "not taken");
        std::fflush(stdout);
    }

  private:
    QByteArray uris_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    QApplication app(argc, argv);
    // The paths' bytes go into the list percent-encoded, whatever their encoding.
    QByteArray uris;
    for (int i = 3; i < argc; ++i)
        uris += "file://" + QByteArray(argv[i]).toPercentEncoding("/") + "\r\n";
    Source w(uris);
    w.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), 80, 80);
    w.show();
    std::printf("drag-source: ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}
