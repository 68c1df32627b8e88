// Any bytes as a dropped text/uri-list: only absolute local paths without NUL come out, and
// the paths written back as file: URIs decode to themselves.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/uri_list.h"

namespace {

std::string as_uri(const std::string& path) {
    static const char* const hex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '/' || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9')) {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(hex[b >> 4]);
            uri.push_back(hex[b & 15]);
        }
    }
    return uri;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    using test::check;
    const std::string_view list(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> paths = local_paths_from_uri_list(list, "box");
    std::string again;
    for (const std::string& p : paths) {
        check(!p.empty() && p.front() == '/', "not an absolute path");
        check(p.find('\0') == std::string::npos, "NUL in a path");
        again += as_uri(p) + "\r\n";
    }
    check(local_paths_from_uri_list(again, "box") == paths, "paths do not round trip");
    return 0;
}
