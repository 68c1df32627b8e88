// A private Xvfb server for the process, started before any test and stopped after all.
#pragma once

#include <sys/types.h>

namespace velmo_test {

class Xvfb {
  public:
    // Starts Xvfb on a free display (it picks one and tells us) and points DISPLAY at it.
    // Fails the process when the server does not come up.
    Xvfb();
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

  private:
    pid_t pid_ = -1;
};

} // namespace velmo_test
