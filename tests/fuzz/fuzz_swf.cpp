// Any bytes as a Flash movie: refused with a reason or read into a consistent movie, never a
// crash. The same bytes also go in as the body of an uncompressed and of a zlib movie, so the
// tag walk sees them even when they are not a whole file.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <zlib.h>

#include "swf/swf_reader.h"

namespace {

using namespace zefa::swf;

// Small limits: a mutated length must not make every run decode 64 MiB.
const Limits kLimits{.max_file_length = 4u << 20, .max_tags = 1u << 16};

void check(const ReadResult& r) {
    const Movie& m = r.movie;
    if (!r.ok()) {
        if (m.frame_count != 0 || !m.tags.empty() || !m.body.empty())
            throw std::logic_error("a refused movie is not empty");
        return;
    }
    if (m.body.size() + 8 != m.file_length) throw std::logic_error("body is not the stated size");
    if (m.tags.size() > kLimits.max_tags) throw std::logic_error("tag limit passed");
    int32_t shown = 0;
    for (const Tag& t : m.tags) {
        if (t.offset > m.body.size() || t.length > m.body.size() - t.offset)
            throw std::logic_error("tag outside the body");
        shown += t.code == kTagShowFrame;
    }
    if (shown != m.frame_count) throw std::logic_error("frame count is not the ShowFrame tags");
}

std::string header(const char* signature, size_t body_size) {
    std::string h(signature, 3);
    h.push_back(10);
    const uint32_t n = static_cast<uint32_t>(body_size + 8);
    for (int i = 0; i < 4; ++i)
        h.push_back(static_cast<char>(n >> (8 * i)));
    return h;
}

ReadResult read(const std::string& s) {
    return read_movie({reinterpret_cast<const uint8_t*>(s.data()), s.size()}, kLimits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kLimits.max_file_length) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ReadResult whole = read(bytes);
    check(whole);

    // The body of a movie read fine is itself a movie, uncompressed, with the same tags.
    if (whole.ok()) {
        const Movie& m = whole.movie;
        const ReadResult again =
            read(header("FWS", m.body.size()) + std::string(m.body.begin(), m.body.end()));
        if (!again.ok() || again.movie.tags.size() != m.tags.size() ||
            again.movie.frame_count != m.frame_count || again.movie.background != m.background)
            throw std::logic_error("the same body read differently");
    }

    const ReadResult plain = read(header("FWS", size) + bytes);
    check(plain);
    uLongf packed_size = compressBound(static_cast<uLong>(size));
    std::string packed(packed_size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size, data,
                  static_cast<uLong>(size), 1) == Z_OK) {
        packed.resize(packed_size);
        const ReadResult zlib = read(header("CWS", size) + packed);
        check(zlib);
        if (zlib.ok() != plain.ok() || zlib.movie.tags.size() != plain.movie.tags.size())
            throw std::logic_error("zlib and plain bodies disagree");
    }
    return 0;
}
