// Where the console shows a clip's picture.
#pragma once

namespace zefa::realmedia {

class PictureSurface {
  public:
    virtual ~PictureSurface() = default;
    // The X window a new clip draws into; 0 to decode video unseen. It covers the whole place;
    // the sink keeps the clip's aspect inside it, on black.
    virtual unsigned long window() = 0;
    virtual void show_picture(bool shown) = 0;
};

} // namespace zefa::realmedia
