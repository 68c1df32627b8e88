#include "swf_writer.h"

#include <algorithm>
#include <fstream>
#include <lzma.h>
#include <stdexcept>
#include <zlib.h>

namespace zefa::test {

namespace {

// Bits that hold v as a signed field.
int signed_width(int32_t v) {
    uint32_t magnitude = static_cast<uint32_t>(v < 0 ? ~v : v);
    int bits = 1;
    while (magnitude) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

std::string rect_bytes(const int32_t (&r)[4]) {
    int n = 1;
    for (int32_t v : r)
        n = std::max(n, signed_width(v));
    std::string out;
    uint32_t acc = 0;
    int used = 0;
    const auto put = [&](uint32_t v, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            acc = acc << 1 | ((v >> i) & 1u);
            if (++used == 8) {
                out.push_back(static_cast<char>(acc));
                acc = 0;
                used = 0;
            }
        }
    };
    put(static_cast<uint32_t>(n), 5);
    for (int32_t v : r)
        put(static_cast<uint32_t>(v), n);
    if (used) out.push_back(static_cast<char>(acc << (8 - used)));
    return out;
}

} // namespace

void put_u16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8 & 0xff));
}

void put_u32(std::string& out, uint32_t v) {
    put_u16(out, v & 0xffff);
    put_u16(out, v >> 16);
}

SwfWriter& SwfWriter::version(uint8_t v) {
    version_ = v;
    return *this;
}

SwfWriter& SwfWriter::stage(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max) {
    rect_[0] = x_min;
    rect_[1] = x_max;
    rect_[2] = y_min;
    rect_[3] = y_max;
    return *this;
}

SwfWriter& SwfWriter::rate(uint16_t fixed_8_8) {
    rate_ = fixed_8_8;
    return *this;
}

SwfWriter& SwfWriter::declared_frames(uint16_t n) {
    declared_ = n;
    return *this;
}

SwfWriter& SwfWriter::file_length(uint32_t n) {
    file_length_ = n;
    return *this;
}

SwfWriter& SwfWriter::tag(uint16_t code, std::string_view data, bool long_header) {
    if (long_header || data.size() >= 0x3f) {
        put_u16(tags_, static_cast<uint32_t>(code) << 6 | 0x3f);
        put_u32(tags_, static_cast<uint32_t>(data.size()));
    } else {
        put_u16(tags_, static_cast<uint32_t>(code) << 6 | static_cast<uint32_t>(data.size()));
    }
    tags_.append(data);
    if (code == swf::kTagShowFrame) ++shown_;
    return *this;
}

SwfWriter& SwfWriter::background(uint32_t rgb) {
    const char c[3] = {static_cast<char>(rgb >> 16), static_cast<char>(rgb >> 8),
                       static_cast<char>(rgb)};
    return tag(swf::kTagSetBackgroundColor, std::string_view(c, 3));
}

SwfWriter& SwfWriter::show_frames(int n) {
    for (int i = 0; i < n; ++i)
        tag(swf::kTagShowFrame, {});
    return *this;
}

SwfWriter& SwfWriter::end() {
    return tag(swf::kTagEnd, {});
}

SwfWriter& SwfWriter::raw(std::string_view bytes) {
    tags_.append(bytes);
    return *this;
}

std::string SwfWriter::body() const {
    std::string out = rect_bytes(rect_);
    put_u16(out, rate_);
    put_u16(out, declared_.value_or(shown_));
    return out + tags_;
}

std::string SwfWriter::file(swf::Compression c) const {
    const std::string b = body();
    std::string out = c == swf::Compression::None   ? "FWS"
                      : c == swf::Compression::Zlib ? "CWS"
                                                    : "ZWS";
    out.push_back(static_cast<char>(version_));
    put_u32(out, file_length_.value_or(static_cast<uint32_t>(8 + b.size())));
    if (c == swf::Compression::None) return out + b;
    if (c == swf::Compression::Zlib) return out + zlib_compress(b);
    const std::string packed = lzma_compress(b);
    put_u32(out, static_cast<uint32_t>(packed.size() - 5));
    return out + packed;
}

std::string zlib_compress(std::string_view data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  6) != Z_OK)
        throw std::runtime_error("zlib compress failed");
    out.resize(size);
    return out;
}

std::string lzma_compress(std::string_view data) {
    lzma_options_lzma opt;
    lzma_lzma_preset(&opt, 1);
    lzma_stream s = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&s, &opt) != LZMA_OK) throw std::runtime_error("lzma init failed");
    std::string out(data.size() + data.size() / 2 + 4096, '\0');
    s.next_in = reinterpret_cast<const uint8_t*>(data.data());
    s.avail_in = data.size();
    s.next_out = reinterpret_cast<uint8_t*>(out.data());
    s.avail_out = out.size();
    const lzma_ret rc = lzma_code(&s, LZMA_FINISH);
    const size_t written = out.size() - s.avail_out;
    lzma_end(&s);
    if (rc != LZMA_STREAM_END) throw std::runtime_error("lzma compress failed");
    // The ".lzma" header is properties (5 bytes) and the length (8 bytes), which a movie
    // leaves out.
    return out.substr(0, 5) + out.substr(13, written - 13);
}

std::span<const uint8_t> as_bytes(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

void write_file(const std::string& path, std::string_view data) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

} // namespace zefa::test
