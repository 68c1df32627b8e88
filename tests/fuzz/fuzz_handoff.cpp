// Any bytes as a hand-off record: refused or taken, never a crash; a taken record replaces the
// playlist with exactly its path.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "harness.h"
#include "shell/copy_data_record.h"
#include "shell/path_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The same bytes as a path: what a second instance encodes arrives unchanged.
    const std::string path(bytes.substr(0, std::min(bytes.find('\0'), size_t{60000})));
    const auto sent = decode_copy_data(encode_copy_data(1, path));
    if (!sent || sent->path != path) throw std::logic_error("encoded path did not round trip");

    const auto record = decode_copy_data(bytes);
    if (!record) return 0;
    if (record->path.find('\0') != std::string::npos) throw std::logic_error("NUL in path");
    static test::Harness& h = []() -> test::Harness& {
        static test::Harness started; // a hand-off before start-up waits for it
        started.start();
        return started;
    }();
    h.p().copy_data(record->dw_data, record->path);
    if (record->dw_data == 1 && !is_playlist_path(record->path) &&
        h.p().list.ListBox1 != std::vector<std::string>{record->path})
        throw std::logic_error("playlist is not the handed-over path");
    return 0;
}
