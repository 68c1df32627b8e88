#include "swf/swf_bitmap.h"

#include <algorithm>
#include <array>
#include <zlib.h>

namespace zefa::swf {

namespace {

constexpr uint16_t kTagDefineBits = 6;
constexpr uint16_t kTagLossless = 20;
constexpr uint16_t kTagJpeg2 = 21;
constexpr uint16_t kTagJpeg3 = 35;
constexpr uint16_t kTagLossless2 = 36;
constexpr uint16_t kTagJpeg4 = 90;

enum class Format { Unknown, Jpeg, Png, Gif };

bool starts_with(std::span<const uint8_t> d, std::initializer_list<uint8_t> sig) {
    return d.size() >= sig.size() && std::equal(sig.begin(), sig.end(), d.begin());
}

Format format_of(std::span<const uint8_t> d) {
    // A leading EOI is a known quirk of older writers.
    if (starts_with(d, {0xFF, 0xD8}) || starts_with(d, {0xFF, 0xD9})) return Format::Jpeg;
    if (starts_with(d, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return Format::Png;
    if (starts_with(d, {'G', 'I', 'F', '8', '9', 'a'}) ||
        starts_with(d, {'G', 'I', 'F', '8', '7', 'a'}))
        return Format::Gif;
    return Format::Unknown;
}

uint32_t be16(std::span<const uint8_t> d, size_t at) {
    return uint32_t{d[at]} << 8 | d[at + 1];
}

uint32_t be32(std::span<const uint8_t> d, size_t at) {
    return be16(d, at) << 16 | be16(d, at + 2);
}

bool is_sof(uint8_t m) {
    // Every start-of-frame but DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

std::string check_size(int64_t w, int64_t h, const BitmapLimits& limits) {
    if (w <= 0 || h <= 0) return "bitmap without pixels";
    if (w > limits.max_pixels || h > limits.max_pixels || w * h > limits.max_pixels)
        return "bitmap larger than the limit";
    return {};
}

// One JPEG out of the marker segments of `in`: every SOI and EOI dropped, one SOI put in front
// and one EOI at the end. That joins JPEGTables with its image, two streams written back to
// back, and streams with a stray EOI/SOI prefix. Entropy-coded data never holds a bare marker
// other than a restart, so it is copied up to the next marker.
std::string clean_jpeg(std::span<const uint8_t> in, Bitmap& out) {
    std::vector<uint8_t>& o = out.encoded;
    o.reserve(in.size() + 4);
    o.push_back(0xFF);
    o.push_back(0xD8);
    bool sized = false, scanned = false;
    size_t i = 0;
    const size_t n = in.size();
    while (i < n) {
        if (in[i] != 0xFF) {
            if (scanned) break; // padding after the image, which ends the stream
            return "JPEG data outside a marker segment";
        }
        while (i + 1 < n && in[i + 1] == 0xFF) // fill bytes
            ++i;
        if (i + 1 >= n) break;
        const uint8_t m = in[i + 1];
        if (m == 0xD8 || m == 0xD9) {
            i += 2;
            continue;
        }
        if (m == 0x00) return "JPEG data outside a marker segment";
        if ((m >= 0xD0 && m <= 0xD7) || m == 0x01) { // no length
            o.insert(o.end(), in.begin() + i, in.begin() + i + 2);
            i += 2;
            continue;
        }
        if (i + 4 > n) return "JPEG segment past the end of the data";
        const size_t length = be16(in, i + 2);
        if (length < 2 || i + 2 + length > n) return "JPEG segment past the end of the data";
        if (is_sof(m) && !sized) {
            if (length < 8) return "JPEG frame header too short";
            const int64_t h = be16(in, i + 5), w = be16(in, i + 7);
            out.width = static_cast<int>(w);
            out.height = static_cast<int>(h);
            sized = true;
        }
        o.insert(o.end(), in.begin() + i, in.begin() + i + 2 + length);
        i += 2 + length;
        if (m == 0xDA) {
            scanned = true;
            size_t j = i;
            while (j < n) {
                if (in[j] == 0xFF && j + 1 < n) {
                    const uint8_t next = in[j + 1];
                    if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            o.insert(o.end(), in.begin() + i, in.begin() + j);
            i = j;
        }
    }
    if (!sized) return "JPEG without a frame header";
    o.push_back(0xFF);
    o.push_back(0xD9);
    return {};
}

// Width and height from the file's header, without decoding anything.
std::string take_encoded(std::span<const uint8_t> data, Bitmap& out, const BitmapLimits& limits) {
    int64_t w = 0, h = 0;
    switch (format_of(data)) {
    case Format::Jpeg:
        if (auto e = clean_jpeg(data, out); !e.empty()) {
            out.encoded.clear();
            return e;
        }
        w = out.width;
        h = out.height;
        break;
    case Format::Png:
        if (data.size() < 24 || !std::equal(data.begin() + 12, data.begin() + 16, "IHDR"))
            return "PNG without a header chunk";
        w = be32(data, 16);
        h = be32(data, 20);
        break;
    case Format::Gif:
        if (data.size() < 10) return "GIF without a screen descriptor";
        w = data[6] | data[7] << 8;
        h = data[8] | data[9] << 8;
        break;
    case Format::Unknown:
        return "image data of an unknown format";
    }
    if (auto e = check_size(w, h, limits); !e.empty()) {
        out.encoded.clear();
        return e;
    }
    if (out.encoded.empty()) out.encoded.assign(data.begin(), data.end());
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    return {};
}

// Inflates at most `cap` bytes; the buffer grows only as output arrives, so a short stream
// that claims a large bitmap costs little, and a stream that inflates further stops at the cap.
// Whatever arrived before a corrupt part is kept.
std::vector<uint8_t> inflate_capped(std::span<const uint8_t> in, size_t cap) {
    std::vector<uint8_t> out;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return out;
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(std::min<size_t>(in.size(), UINT32_MAX));
    std::array<uint8_t, 65536> chunk;
    while (out.size() < cap) {
        const size_t want = std::min(chunk.size(), cap - out.size());
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(want);
        const int rc = inflate(&z, Z_NO_FLUSH);
        const size_t got = want - z.avail_out;
        out.insert(out.end(), chunk.begin(), chunk.begin() + got);
        if (rc != Z_OK || got == 0) break; // end, error, or no progress possible
    }
    inflateEnd(&z);
    return out;
}

BitmapResult refused(uint16_t id, std::string error) {
    return {id, {}, std::move(error)};
}

uint8_t expand5(uint32_t v) {
    return static_cast<uint8_t>(v << 3 | v >> 2);
}

uint32_t premultiply(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    const auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | mul(r) << 16 | mul(g) << 8 | mul(b);
}

BitmapResult decode_lossless(uint16_t tag_code, Stream& s, const BitmapLimits& limits) {
    BitmapResult r;
    r.id = s.u16();
    const uint8_t format = s.u8();
    const int w = s.u16(), h = s.u16();
    const int colors = format == 3 ? s.u8() + 1 : 0;
    if (!s.ok()) return refused(r.id, "bitmap header cut short");
    if (auto e = check_size(w, h, limits); !e.empty()) return refused(r.id, e);
    const bool alpha = tag_code == kTagLossless2;
    const size_t pixels = size_t(w) * size_t(h);

    size_t table = 0, stride = 0;
    switch (format) {
    case 3:
        table = size_t(colors) * (alpha ? 4 : 3);
        stride = (size_t(w) + 3) & ~size_t{3};
        break;
    case 4: // written only for DefineBitsLossless; read in both
        stride = (2 * size_t(w) + 3) & ~size_t{3};
        break;
    case 5:
        stride = 4 * size_t(w);
        break;
    default:
        return refused(r.id, "unknown lossless bitmap format");
    }
    const size_t row = format == 3 ? size_t(w) : format == 4 ? 2 * size_t(w) : 4 * size_t(w);
    const std::vector<uint8_t> d = inflate_capped(s.rest(), table + stride * size_t(h));
    // Only the last row's padding may be missing.
    if (d.size() < table + stride * size_t(h - 1) + row)
        return refused(r.id, "bitmap data cut short");

    Bitmap& b = r.bitmap;
    b.width = w;
    b.height = h;
    b.argb.resize(pixels);
    if (format == 3) {
        std::vector<uint32_t> palette(256, 0); // indices past the table are transparent
        for (int i = 0; i < colors; ++i) {
            const uint8_t* c = d.data() + size_t(i) * (alpha ? 4 : 3);
            palette[size_t(i)] = premultiply(alpha ? c[3] : 255, c[0], c[1], c[2]);
        }
        for (size_t y = 0; y < size_t(h); ++y)
            for (size_t x = 0; x < size_t(w); ++x)
                b.argb[y * size_t(w) + x] = palette[d[table + y * stride + x]];
    } else if (format == 4) {
        for (size_t y = 0; y < size_t(h); ++y)
            for (size_t x = 0; x < size_t(w); ++x) {
                const uint8_t* p = d.data() + y * stride + 2 * x;
                const uint32_t v = uint32_t{p[0]} << 8 | p[1];
                b.argb[y * size_t(w) + x] = 0xFF000000u | uint32_t{expand5(v >> 10 & 31)} << 16 |
                                            uint32_t{expand5(v >> 5 & 31)} << 8 | expand5(v & 31);
            }
    } else {
        for (size_t i = 0; i < pixels; ++i) {
            const uint8_t* p = d.data() + 4 * i;
            if (!alpha) {
                b.argb[i] = 0xFF000000u | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
                continue;
            }
            // Premultiplied already; a colour above its alpha would overflow when composed.
            const uint32_t a = p[0];
            b.argb[i] = a << 24 | std::min<uint32_t>(p[1], a) << 16 |
                        std::min<uint32_t>(p[2], a) << 8 | std::min<uint32_t>(p[3], a);
        }
    }
    return r;
}

} // namespace

BitmapResult decode_bitmap(uint16_t tag_code, Stream& s, std::span<const uint8_t> jpeg_tables,
                           const BitmapLimits& limits) {
    if (tag_code == kTagLossless || tag_code == kTagLossless2)
        return decode_lossless(tag_code, s, limits);

    BitmapResult r;
    r.id = s.u16();
    if (!s.ok()) return refused(r.id, "bitmap header cut short");
    if (tag_code == kTagDefineBits) {
        // The shared tables and the image as one marker stream; cleaning removes the tables' EOI
        // and the image's SOI.
        std::vector<uint8_t> joined(jpeg_tables.begin(), jpeg_tables.end());
        const std::span<const uint8_t> image = s.rest();
        joined.insert(joined.end(), image.begin(), image.end());
        if (format_of(joined) != Format::Jpeg) return refused(r.id, "DefineBits without JPEG data");
        if (auto e = take_encoded(joined, r.bitmap, limits); !e.empty()) return refused(r.id, e);
        return r;
    }
    if (tag_code == kTagJpeg2) {
        if (auto e = take_encoded(s.rest(), r.bitmap, limits); !e.empty()) return refused(r.id, e);
        return r;
    }
    if (tag_code != kTagJpeg3 && tag_code != kTagJpeg4) return refused(r.id, "not a bitmap tag");

    const uint32_t image_size = s.u32();
    if (tag_code == kTagJpeg4) s.u16(); // deblocking strength: nothing to apply it with
    const std::span<const uint8_t> image = s.bytes(image_size);
    if (!s.ok()) return refused(r.id, "bitmap image data cut short");
    const bool jpeg = format_of(image) == Format::Jpeg;
    if (auto e = take_encoded(image, r.bitmap, limits); !e.empty()) return refused(r.id, e);
    if (jpeg && !s.at_end()) {
        // Values that never arrive leave those pixels opaque.
        const size_t n = size_t(r.bitmap.width) * size_t(r.bitmap.height);
        r.bitmap.alpha = inflate_capped(s.rest(), n);
        r.bitmap.alpha.resize(n, 255);
    }
    return r;
}

} // namespace zefa::swf
