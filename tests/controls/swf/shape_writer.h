#pragma once

// Writes shape and morph-shape tag data for the tests: styles and edges given as drawing
// calls, written out for DefineShape 1-4 or DefineMorphShape 1/2 from the character id on
// (wrap it with SwfWriter::tag). Coordinates are twips.
//
//   std::string data = ShapeBuilder::rect(1, 0, 0, 2000, 1000, {255, 0, 0, 255})
//                          .bytes(kDefineShape3);

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bit_writer.h"
#include "swf/swf_shape.h"

namespace zefa::test {

inline constexpr uint16_t kDefineShape = 2;
inline constexpr uint16_t kDefineShape2 = 22;
inline constexpr uint16_t kDefineShape3 = 32;
inline constexpr uint16_t kDefineShape4 = 83;
inline constexpr uint16_t kDefineMorphShape = 46;
inline constexpr uint16_t kDefineMorphShape2 = 84;

struct Stop {
    uint8_t ratio = 0;
    swf::Rgba color;
};

// One FILLSTYLE as written; colours lose their alpha in DefineShape 1/2.
struct Fill {
    uint8_t type = 0x00; // 0x00 solid, 0x10 linear, 0x12 radial, 0x13 focal, 0x40-0x43 bitmap
    swf::Rgba color;
    swf::Matrix matrix;
    std::vector<Stop> stops;               // up to 15
    uint8_t spread = 0, interpolation = 0; // written whatever the tag
    double focal = 0;
    uint16_t bitmap = swf::kNoBitmap;

    static Fill solid(swf::Rgba c);
    static Fill linear(const swf::Matrix& m, std::vector<Stop> stops, uint8_t spread = 0);
    static Fill radial(const swf::Matrix& m, std::vector<Stop> stops, uint8_t spread = 0);
    static Fill focal_radial(const swf::Matrix& m, std::vector<Stop> stops, double focal);
    static Fill bitmap_fill(uint16_t id, const swf::Matrix& m, bool repeat, bool smooth);
};

// One LINESTYLE, or a LINESTYLE2 in DefineShape4 (which alone writes the caps and flags).
struct Line {
    uint16_t width = 20;
    swf::Rgba color;
    uint8_t start_cap = 0, join = 0,
            end_cap = 0;    // 0 round; caps 1 none, 2 square; join 1 bevel, 2 miter
    double miter_limit = 3; // written when join is 2
    bool no_hscale = false, no_vscale = false, pixel_hinting = false, no_close = false;
    std::optional<Fill> fill; // instead of the colour
};

// Shape records: style changes and edges, in absolute twips.
class Records {
  public:
    Records& move_to(int32_t x, int32_t y);
    Records& line_to(int32_t x, int32_t y);
    Records& curve_to(int32_t cx, int32_t cy, int32_t x, int32_t y);
    // Style indices are 1-based in the current style group; 0 is none.
    Records& set_fills(uint32_t fill0, uint32_t fill1);
    Records& set_fill0(uint32_t n);
    Records& set_fill1(uint32_t n);
    Records& set_line(uint32_t n);
    // Field widths for hostile data: move records with this many bits (up to 31), edges with
    // this NumBits (0-15); each at least what the values need.
    Records& move_bits(int bits);
    Records& edge_bits(int bits);

    // Start a new style group (ShapeBuilder only).
    Records& new_styles();

    // Largest fill and line index the given style group selects.
    std::pair<uint32_t, uint32_t> max_indices(size_t group) const;
    // Every point visited, for the bounds.
    void extend(int32_t& x_min, int32_t& x_max, int32_t& y_min, int32_t& y_max, bool& any) const;

    // The records and the end record (no NumFillBits/NumLineBits: the caller writes them);
    // `group` writes the styles of group g >= 1 and returns its bit widths.
    using GroupWriter = std::function<std::pair<int, int>(BitWriter&, size_t)>;
    void write(BitWriter& w, int fill_bits, int line_bits, const GroupWriter& group) const;

  private:
    struct Op {
        enum Kind : uint8_t {
            Move,
            Fill0,
            Fill1,
            Line,
            NewStyles,
            Straight,
            Curve,
            MoveBits,
            EdgeBits
        };
        Kind kind;
        int32_t a = 0, b = 0, c = 0, d = 0;
    };
    std::vector<Op> ops_;
};

// Unsigned field width that holds v (0 for 0).
int unsigned_width(uint32_t v);

// A font glyph's SHAPE: NumFillBits (at least 1), NumLineBits, the records, padded.
std::string glyph_bytes(const Records& r);

class ShapeBuilder {
  public:
    explicit ShapeBuilder(uint16_t id = 1) : id_(id) { groups_.emplace_back(); }

    // A filled rectangle, traced clockwise on screen with its fill as fill style 1 on the right.
    static ShapeBuilder rect(uint16_t id, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                             swf::Rgba color);

    ShapeBuilder& id(uint16_t id);
    ShapeBuilder& bounds(int32_t x_min, int32_t x_max, int32_t y_min, int32_t y_max);
    ShapeBuilder& winding(bool on); // DefineShape4 only

    // Styles of the current group; each returns its 1-based index.
    uint32_t fill(const Fill& f);
    uint32_t fill_solid(swf::Rgba c) { return fill(Fill::solid(c)); }
    uint32_t fill_linear(const swf::Matrix& m, std::vector<Stop> stops, uint8_t spread = 0) {
        return fill(Fill::linear(m, std::move(stops), spread));
    }
    uint32_t fill_radial(const swf::Matrix& m, std::vector<Stop> stops, uint8_t spread = 0) {
        return fill(Fill::radial(m, std::move(stops), spread));
    }
    uint32_t fill_focal(const swf::Matrix& m, std::vector<Stop> stops, double focal) {
        return fill(Fill::focal_radial(m, std::move(stops), focal));
    }
    uint32_t fill_bitmap(uint16_t id, const swf::Matrix& m, bool repeat, bool smooth) {
        return fill(Fill::bitmap_fill(id, m, repeat, smooth));
    }
    uint32_t line(const Line& l);
    uint32_t line(uint16_t width, swf::Rgba c);

    ShapeBuilder& move_to(int32_t x, int32_t y);
    ShapeBuilder& line_to(int32_t x, int32_t y);
    ShapeBuilder& curve_to(int32_t cx, int32_t cy, int32_t x, int32_t y);
    ShapeBuilder& set_fills(uint32_t fill0, uint32_t fill1);
    ShapeBuilder& set_line(uint32_t n);
    ShapeBuilder& new_styles(); // later styles and indices belong to a new group
    Records& records() { return records_; }

    // The tag data for DefineShape, 2, 3 or 4.
    std::string bytes(uint16_t tag_code) const;

  private:
    struct Group {
        std::vector<Fill> fills;
        std::vector<Line> lines;
    };
    uint16_t id_;
    std::optional<std::array<int32_t, 4>> bounds_;
    bool winding_ = false;
    std::vector<Group> groups_;
    Records records_;
};

struct MorphStop {
    uint8_t start_ratio = 0;
    swf::Rgba start_color;
    uint8_t end_ratio = 0;
    swf::Rgba end_color;
};

struct MorphFill {
    uint8_t type = 0x00;
    swf::Rgba start_color, end_color;
    swf::Matrix start_matrix, end_matrix;
    std::vector<MorphStop> stops;
    std::optional<uint8_t> count_byte; // written instead of the number of stops
    uint16_t bitmap = swf::kNoBitmap;
};

struct MorphLine {
    uint16_t start_width = 20, end_width = 20;
    swf::Rgba start_color, end_color;
    uint8_t start_cap = 0, join = 0, end_cap = 0; // DefineMorphShape2 only, as in Line
    double miter_limit = 3;
    bool no_hscale = false, no_vscale = false, no_close = false;
    std::optional<MorphFill> fill;
};

// A morph: one set of styles, the start records (style changes and edges) and the end records
// (the same number of edges; only their moves count).
class MorphBuilder {
  public:
    explicit MorphBuilder(uint16_t id = 1) : id_(id) {}

    uint32_t fill(const MorphFill& f);
    uint32_t fill_solid(swf::Rgba start, swf::Rgba end);
    uint32_t fill_linear(const swf::Matrix& start, const swf::Matrix& end,
                         std::vector<MorphStop> stops);
    uint32_t fill_radial(const swf::Matrix& start, const swf::Matrix& end,
                         std::vector<MorphStop> stops);
    uint32_t fill_bitmap(uint16_t id, const swf::Matrix& start, const swf::Matrix& end, bool repeat,
                         bool smooth);
    uint32_t line(const MorphLine& l);
    uint32_t line(uint16_t start_width, uint16_t end_width, swf::Rgba start, swf::Rgba end);

    Records& start() { return start_; }
    Records& end() { return end_; }
    // A wrong offset to the end records, for hostile data.
    MorphBuilder& offset(uint32_t bytes);

    // The tag data for DefineMorphShape (46) or DefineMorphShape2 (84).
    std::string bytes(uint16_t tag_code) const;

  private:
    uint16_t id_;
    std::vector<MorphFill> fills_;
    std::vector<MorphLine> lines_;
    Records start_, end_;
    std::optional<uint32_t> offset_;
};

} // namespace zefa::test
