#pragma once

// The four top-level windows and what they report. The windows only translate Qt events;
// the platform decides what of it reaches the core.

#include <QImage>
#include <QListView>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/qt/playlist_model.h"

namespace zefa::qt {

class WindowSink {
  public:
    virtual ~WindowSink() = default;
    // Pointer on the main and panel windows, in the window's coordinates.
    virtual void pointer_press(Win w, Qt::MouseButton b, QPoint p) = 0;
    virtual void pointer_release(Win w, Qt::MouseButton b, QPoint p) = 0;
    virtual void pointer_double_click(Win w, Qt::MouseButton b, QPoint p) = 0;
    virtual void pointer_move(Win w, QPoint p) = 0;
    virtual void wheel(Win w, int angle_y) = 0;
    virtual void moved(Win w) = 0;
    virtual void dropped(Win w, const std::vector<std::string>& paths) = 0;
    virtual void minimised_changed(Win w, bool minimised) = 0;
    virtual void closed(Win w) = 0;
    virtual void list_double_click() = 0;
    virtual void list_release(Qt::MouseButton b) = 0;
};

class TopWindow : public QWidget {
  public:
    TopWindow(Win id, WindowSink& sink, Qt::WindowFlags flags, bool reports_pointer);
    Win id() const { return id_; }
    // Above ordinary windows (kept here on X, where Qt's flag is not used for it).
    bool stays_on_top() const { return above_; }
    void set_stays_on_top(bool on) { above_ = on; }

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

    WindowSink& sink_;

  private:
    Win id_;
    bool reports_pointer_;
    bool above_ = false;
};

// The control panel shows the core's panel surface and nothing else.
class PanelWindow : public TopWindow {
  public:
    PanelWindow(WindowSink& sink, Qt::WindowFlags flags);
    // Takes `area` of `surface` (all of it when the size changed) and repaints only that.
    void update_surface(const Bitmap& surface, QRect area);
    const QImage& surface() const { return surface_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void set_surface(QImage surface);
    QImage surface_;
};

// The playlist's list box: a view of the names' model with single selection; keys only move
// the selection. Reports double clicks and releases after it has updated its selection, so
// the core reads the clicked entry.
class PlaylistBox : public QListView {
  public:
    PlaylistBox(WindowSink& sink, QWidget* parent);
    PlaylistModel& names() { return model_; }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    WindowSink& sink_;
    PlaylistModel model_;
};

class PlaylistWindow : public TopWindow {
  public:
    PlaylistWindow(WindowSink& sink, Qt::WindowFlags flags);
    PlaylistBox* list() const { return list_; }

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    PlaylistBox* list_;
};

// The paths of a drop's local files as bytes, in their order.
std::vector<std::string> dropped_paths(const QMimeData& data);

} // namespace zefa::qt
