#pragma once

// The playback library's functions as the player calls them. main.cpp binds the real library;
// tests bind a fake.

#include <cstdint>

namespace zefa {

struct VelmoApi {
    int32_t (*PLY)(uintptr_t owner, const char* path);
    int32_t (*DS_STOP)();
    int32_t (*DS_VIEW)(int32_t mode);
    int32_t (*DS_ZOOM)(int32_t width, int32_t height);
    int32_t (*DS_W)();
    int32_t (*DS_H)();
    int32_t (*DS_RUN)();
    int32_t (*DS_PAUSE)();
    int32_t (*DS_LEN)();
    int32_t (*DS_POS)();
    int32_t (*DS_END)();
    int32_t (*DS_SEEK)(int32_t mode, int32_t amount);
    int32_t (*DS_KEY)();
    int32_t (*DS_INI_RAND)(int32_t count, int32_t fallback);
    int32_t (*DS_RET_RAND)(int32_t position);
    int32_t (*DS_RET_TNO)(int32_t entry);
    int32_t (*DS_VOLUME)(int32_t percent);
};

} // namespace zefa
