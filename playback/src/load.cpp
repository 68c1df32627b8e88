// GStreamer is initialised when the library is loaded; without it the player cannot start.
#include "log.h"

#include <cstdio>
#include <cstdlib>

namespace {

__attribute__((constructor)) void velmo_load() {
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        std::fprintf(stderr, "VELMO: GStreamer を初期化できません: %s\n",
                     error && error->message ? error->message : "理由不明");
        std::fflush(stderr);
        std::exit(1);
    }
    velmo::log_init();
}

} // namespace
