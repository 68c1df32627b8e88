#include "platform/uri_list.h"

namespace zefa {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percent_decode(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int hi = hex_value(s[i + 1]), lo = hex_value(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

bool starts_with_nocase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// The path of one file: URI, or nothing when it names another machine or no path.
bool local_path(std::string_view uri, std::string_view local_host, std::string& path) {
    if (!starts_with_nocase(uri, "file:")) return false;
    std::string_view rest = uri.substr(5);
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return false;
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && host != "localhost" && host != local_host) return false;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/') return false;
    path = percent_decode(rest);
    // A NUL cannot be part of a path.
    return !path.empty() && path.find('\0') == std::string::npos;
}

} // namespace

std::vector<std::string> local_paths_from_uri_list(std::string_view list,
                                                   std::string_view local_host) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view line = list.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;
        std::string path;
        if (local_path(line, local_host, path)) paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace zefa
