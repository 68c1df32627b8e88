#include "swf/swf_reader.h"

#include "swf/swf_decompress.h"

namespace zefa::swf {

namespace {

constexpr size_t kFileHeader = 8; // signature, version, file length
constexpr size_t kZwsHeader = 17; // then compressed length (4) and LZMA properties (5)

uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Reads signed bit fields, most significant bit first, as the stage rectangle is stored.
class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    size_t bytes_used() const { return (bit_ + 7) / 8; }

    uint32_t unsigned_bits(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (bit_ / 8 >= bytes_.size()) {
                ok_ = false;
                return 0;
            }
            v = v << 1 | ((bytes_[bit_ / 8] >> (7 - bit_ % 8)) & 1u);
            ++bit_;
        }
        return v;
    }
    int32_t signed_bits(int n) {
        const uint32_t v = unsigned_bits(n);
        if (n == 0 || !(v >> (n - 1) & 1u)) return static_cast<int32_t>(v);
        return static_cast<int32_t>(v | ~uint32_t{0} << (n - 1)); // sign-extend
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t bit_ = 0;
    bool ok_ = true;
};

ReadResult fail(std::string error) {
    return ReadResult{Movie{}, std::move(error)};
}

// The body after the stage rectangle, frame rate and frame count: the tag stream.
std::string walk_tags(Movie& m, size_t pos, const Limits& limits) {
    const std::vector<uint8_t>& b = m.body;
    int32_t frames = 0;
    while (pos < b.size()) { // a stream that stops exactly at the end has no End tag: fine
        if (b.size() - pos < 2) return "a tag header runs past the end of the movie";
        const uint16_t code_and_length = u16(&b[pos]);
        pos += 2;
        uint32_t length = code_and_length & 0x3f;
        if (length == 0x3f) {
            if (b.size() - pos < 4) return "a tag header runs past the end of the movie";
            length = u32(&b[pos]);
            pos += 4;
        }
        if (length > b.size() - pos) return "a tag runs past the end of the movie";
        if (m.tags.size() >= limits.max_tags)
            return "the movie has more than " + std::to_string(limits.max_tags) + " tags";
        const Tag tag{static_cast<uint16_t>(code_and_length >> 6), static_cast<uint32_t>(pos),
                      length};
        m.tags.push_back(tag);
        pos += length;
        if (tag.code == kTagShowFrame) ++frames;
        // A colour tag shorter than a colour is ignored rather than read past.
        if (tag.code == kTagSetBackgroundColor && !m.background && length >= 3)
            m.background = uint32_t{b[tag.offset]} << 16 | uint32_t{b[tag.offset + 1]} << 8 |
                           b[tag.offset + 2];
        if (tag.code == kTagEnd) break; // what follows End is not part of the movie
    }
    m.frame_count = frames;
    return {};
}

} // namespace

ReadResult read_movie(std::span<const uint8_t> bytes, const Limits& limits) {
    if (bytes.empty()) return fail("the file is empty");
    if (bytes.size() < 3) return fail("not a Flash movie");
    Movie m;
    const std::string_view signature(reinterpret_cast<const char*>(bytes.data()), 3);
    if (signature == "FWS")
        m.compression = Compression::None;
    else if (signature == "CWS")
        m.compression = Compression::Zlib;
    else if (signature == "ZWS")
        m.compression = Compression::Lzma;
    else
        return fail("not a Flash movie");
    if (bytes.size() < kFileHeader) return fail("the file header is cut short");
    m.version = bytes[3];
    m.file_length = u32(&bytes[4]);
    if (m.file_length > limits.max_file_length)
        return fail("the movie is larger than " + std::to_string(limits.max_file_length) +
                    " bytes");
    if (m.file_length < kFileHeader) return fail("the length in the header is too small");
    const size_t want = m.file_length - kFileHeader;

    std::string error;
    switch (m.compression) {
    case Compression::None:
        // Bytes past the stated length are not part of the movie.
        if (bytes.size() < m.file_length) return fail("the file is shorter than its header says");
        m.body.assign(bytes.begin() + kFileHeader, bytes.begin() + m.file_length);
        break;
    case Compression::Zlib:
        error = inflate_zlib(bytes.subspan(kFileHeader), want, m.body);
        break;
    case Compression::Lzma:
        // The compressed length that follows the file length is not needed: the decoder
        // stops at the stated length and input past the end of the data is never read.
        if (bytes.size() < kZwsHeader) return fail("the LZMA header is cut short");
        error = inflate_lzma(bytes.subspan(12).first<5>(), bytes.subspan(kZwsHeader), want, m.body);
        break;
    }
    if (!error.empty()) return fail(std::move(error));

    // Stage rectangle: 5 bits of field width, then four signed fields.
    BitReader bits(m.body);
    const int n = static_cast<int>(bits.unsigned_bits(5));
    m.stage.x_min = bits.signed_bits(n);
    m.stage.x_max = bits.signed_bits(n);
    m.stage.y_min = bits.signed_bits(n);
    m.stage.y_max = bits.signed_bits(n);
    const size_t pos = bits.bytes_used();
    if (!bits.ok() || m.body.size() - pos < 4) return fail("the movie header is cut short");
    m.frame_rate = u16(&m.body[pos]);
    m.declared_frames = u16(&m.body[pos + 2]);

    error = walk_tags(m, pos + 4, limits);
    if (!error.empty()) return fail(std::move(error));
    return ReadResult{std::move(m), {}};
}

} // namespace zefa::swf
