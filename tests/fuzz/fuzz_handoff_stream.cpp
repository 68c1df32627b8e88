// Any bytes arriving on a hand-off connection, in any pieces: the stream never holds more
// than one record, and it takes a record exactly when the record reader takes its bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "shell/copy_data_record.h"
#include "shell/copy_data_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zefa;
    using test::check;
    if (size == 0) return 0;
    // The first byte picks the piece sizes, the rest is what the socket delivers.
    const size_t piece = 1 + data[0] % 17;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    CopyDataStream whole;
    const CopyDataStream::State at_once = whole.feed(bytes);
    const auto decoded = decode_copy_data(bytes);
    check((at_once == CopyDataStream::State::record) == decoded.has_value(),
          "stream and record reader disagree");
    if (decoded)
        check(whole.record().path == decoded->path && whole.record().dw_data == decoded->dw_data,
              "stream record differs");

    CopyDataStream pieces;
    size_t fed = 0;
    while (fed < bytes.size() && pieces.state() == CopyDataStream::State::more) {
        check(pieces.room() >= 1, "no room while a record is still open");
        const size_t n = std::min({piece, bytes.size() - fed, pieces.room()});
        pieces.feed(bytes.substr(fed, n));
        fed += n;
    }
    if (decoded) check(pieces.state() == CopyDataStream::State::record, "pieces lost a record");
    if (pieces.state() == CopyDataStream::State::record) {
        // What was taken is the record at the start of the bytes, whatever followed it.
        const auto head = decode_copy_data(bytes.substr(0, fed));
        check(head && head->path == pieces.record().path, "pieces took another record");
    }
    return 0;
}
