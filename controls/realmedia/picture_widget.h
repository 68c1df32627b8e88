// The picture instance's place on the main window: black, with an X child window of our own
// covering its native window, which the video sink draws into. Pointer events pass on to the
// main window.
#pragma once

#include <QWidget>

#include <functional>

namespace zefa::realmedia {

class PictureWidget final : public QWidget {
  public:
    using Resized = std::function<void()>;
    using Replaced = std::function<void(unsigned long window)>;

    // resized: the picture window changed size; replaced: it was made anew in a new native
    // window (after the widget moved to another top-level window).
    PictureWidget(Resized resized, Replaced replaced);
    ~PictureWidget() override;

    // The X child window, made on first use once the widget sits in a window on an X server;
    // 0 before that, without X and on other platforms (video is then decoded unseen).
    unsigned long picture_window();
    void show_picture(bool shown);

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool can_host() const;
    void place();
    void host_replaced();

    Resized resized_;
    Replaced replaced_;
    unsigned long child_ = 0;
    bool shown_ = false;
    bool lost_ = false; // our window went down with the widget's old native window
};

} // namespace zefa::realmedia
