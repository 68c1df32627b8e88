#include "platform/qt/windows.h"

#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QSysInfo>
#include <QUrl>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "platform/qt/image_convert.h"
#include "platform/qt/x_window_manager.h"
#include "platform/uri_list.h"

namespace zefa::qt {

namespace {

// Every row of the playlist is this tall, or as tall as the font's ascent and descent when
// that is more: a shorter row would cut off underscores and descenders.
class FixedRowDelegate : public QStyledItemDelegate {
  public:
    FixedRowDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(),
                std::max(height_, option.fontMetrics.height())};
    }

  private:
    int height_;
};

} // namespace

std::vector<std::string> dropped_paths(const QMimeData& data) {
    static const QString kUriList = QStringLiteral("text/uri-list");
    std::vector<std::string> paths;
    if (data.hasFormat(kUriList)) {
        const QByteArray list = data.data(kUriList);
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        paths = local_paths_from_uri_list(
            std::string_view(list.constData(), static_cast<size_t>(list.size())),
            std::string_view(host.constData(), static_cast<size_t>(host.size())));
    }
    // Only when the raw list is not to be had, through Qt's URLs (file names that are no
    // UTF-8 do not survive this way).
    if (paths.empty())
        for (const QUrl& url : data.urls())
            if (url.isLocalFile())
                paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return paths;
}

TopWindow::TopWindow(Win id, WindowSink& sink, Qt::WindowFlags flags, bool reports_pointer)
    : QWidget(nullptr, flags), sink_(sink), id_(id), reports_pointer_(reports_pointer) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    setAcceptDrops(true);
    // The core follows the pointer over the window without a button held, too.
    setMouseTracking(reports_pointer);
}

void TopWindow::mousePressEvent(QMouseEvent* e) {
    if (!reports_pointer_) return QWidget::mousePressEvent(e);
    sink_.pointer_press(id_, e->button(), e->position().toPoint());
    e->accept();
}

void TopWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (!reports_pointer_) return QWidget::mouseReleaseEvent(e);
    sink_.pointer_release(id_, e->button(), e->position().toPoint());
    e->accept();
}

void TopWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!reports_pointer_) return QWidget::mouseDoubleClickEvent(e);
    sink_.pointer_double_click(id_, e->button(), e->position().toPoint());
    e->accept();
}

void TopWindow::mouseMoveEvent(QMouseEvent* e) {
    if (!reports_pointer_) return QWidget::mouseMoveEvent(e);
    sink_.pointer_move(id_, e->position().toPoint());
    e->accept();
}

void TopWindow::wheelEvent(QWheelEvent* e) {
    if (!reports_pointer_) return QWidget::wheelEvent(e);
    sink_.wheel(id_, e->angleDelta().y());
    e->accept();
}

void TopWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    sink_.moved(id_);
}

void TopWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData() && !dropped_paths(*e->mimeData()).empty()) e->acceptProposedAction();
}

void TopWindow::dragMoveEvent(QDragMoveEvent* e) {
    if (e->mimeData() && !dropped_paths(*e->mimeData()).empty()) e->acceptProposedAction();
}

void TopWindow::dropEvent(QDropEvent* e) {
    if (!e->mimeData()) return;
    const std::vector<std::string> paths = dropped_paths(*e->mimeData());
    if (paths.empty()) return;
    e->acceptProposedAction();
    sink_.dropped(id_, paths);
}

void TopWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    const bool was = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized;
    const bool is = windowState() & Qt::WindowMinimized;
    if (was != is) sink_.minimised_changed(id_, is);
}

void TopWindow::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    sink_.closed(id_);
}

void TopWindow::showEvent(QShowEvent* e) {
    // Before the map, where Qt has just written the window's states without this one.
    if (above_) qt::set_stays_on_top(*this, true);
    QWidget::showEvent(e);
}

PanelWindow::PanelWindow(WindowSink& sink, Qt::WindowFlags flags)
    : TopWindow(Win::Panel, sink, flags, true) {}

void PanelWindow::set_surface(QImage surface) {
    surface_ = std::move(surface);
    update();
}

void PanelWindow::update_surface(const Bitmap& surface, QRect area) {
    if (surface_.size() != QSize(surface.width(), surface.height())) {
        set_surface(to_qimage(surface));
        return;
    }
    copy_area(surface_, surface, area);
    update(area);
}

void PanelWindow::paintEvent(QPaintEvent*) {
    if (surface_.isNull()) return;
    QPainter p(this);
    // On a HiDPI screen the skin grows by whole device pixels and stays crisp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QPoint(0, 0), surface_);
}

void PanelWindow::showEvent(QShowEvent* e) {
    // Qt sends the show event before it maps the window.
    mark_utility_window(*this);
    TopWindow::showEvent(e);
}

PlaylistBox::PlaylistBox(WindowSink& sink, QWidget* parent)
    : QListView(parent), sink_(sink), model_(this) {
    setModel(&model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    // Drops go to the window, which hands them to the core like any other drop.
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    setUniformItemSizes(true);
    setItemDelegate(new FixedRowDelegate(12, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);

    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(12);
    setFont(font);

    QPalette pal = palette();
    pal.setColor(QPalette::Base, QColor(192, 220, 192));
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

void PlaylistBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QListView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) sink_.list_double_click();
}

void PlaylistBox::mouseReleaseEvent(QMouseEvent* e) {
    QListView::mouseReleaseEvent(e);
    sink_.list_release(e->button());
}

PlaylistWindow::PlaylistWindow(WindowSink& sink, Qt::WindowFlags flags)
    : TopWindow(Win::Playlist, sink, flags, false), list_(new PlaylistBox(sink, this)) {}

void PlaylistWindow::showEvent(QShowEvent* e) {
    mark_utility_window(*this);
    TopWindow::showEvent(e);
}

void PlaylistWindow::resizeEvent(QResizeEvent* e) {
    TopWindow::resizeEvent(e);
    list_->setGeometry(rect());
}

} // namespace zefa::qt
