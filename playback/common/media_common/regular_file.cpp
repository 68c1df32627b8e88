#include "media_common/regular_file.h"

#include <sys/stat.h>

namespace zefa::media_common {

bool is_regular_file(const char* path) {
    struct stat info {};
    return path && stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace zefa::media_common
