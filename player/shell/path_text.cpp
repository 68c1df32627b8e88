#include "shell/path_text.h"

namespace zefa {

std::string_view path_ext(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return {};
    if (path.find('/', dot) != std::string_view::npos) return {};
    return path.substr(dot);
}

std::string_view file_name_part(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

int32_t sjis_length(std::string_view utf8) {
    int32_t n = 0;
    for (unsigned char c : utf8) {
        if (c < 0x80)
            n += 1;
        else if ((c & 0xC0) != 0x80)
            n += 2; // lead byte of a multi-byte character
    }
    return n;
}

bool is_playlist_path(std::string_view path) {
    const std::string_view ext = path_ext(path);
    return iequal(ext, ".hen") || iequal(ext, ".m3u");
}

} // namespace zefa
