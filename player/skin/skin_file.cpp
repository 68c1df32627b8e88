#include "skin/skin_file.h"

#include "config/int_conv.h"

namespace zefa {

namespace {

constexpr size_t kLastLine = 46;
// No integer is this long; a longer field is kept short so a garbage line costs no memory.
constexpr size_t kMaxFieldBytes = 64 * 1024;

// One record: "=" starts field 1, "," and ";" move to the next field, anything else belongs
// to the current field; the label before "=" and fields from the fifth on are dropped.
class RecordScanner {
  public:
    void add(char c) {
        if (c == '=') {
            field_ = 1;
        } else if (c == ',' || c == ';') {
            if (field_ <= 4) ++field_;
        } else if (field_ >= 1 && field_ <= 4) {
            std::string& text = fields_[static_cast<size_t>(field_ - 1)];
            if (text.size() <= kMaxFieldBytes) text.push_back(c);
        }
    }

    // Converts and stores x, y, w, h in order; the message of the first field that fails.
    std::optional<std::string> store(SkinElement& e) const {
        int32_t* const targets[4] = {&e.x, &e.y, &e.w, &e.h};
        for (size_t f = 0; f < 4; ++f) {
            const std::optional<int32_t> v = str_to_int(fields_[f]);
            if (!v) return not_an_integer_message(fields_[f]);
            *targets[f] = *v;
        }
        return std::nullopt;
    }

    void clear() {
        field_ = 0;
        for (std::string& f : fields_)
            f.clear();
    }

  private:
    int field_ = 0;
    std::string fields_[4];
};

} // namespace

int32_t skin_element_of_line(size_t line) {
    if (line <= 21) return static_cast<int32_t>(line);
    if (line <= kLastLine) return static_cast<int32_t>(line + 3);
    return -1;
}

std::optional<std::string> read_skin_file(std::string_view text, SkinTable& table) {
    RecordScanner record;
    size_t line = 0;
    bool open_line = false; // characters seen since the last line end
    // A line ends at LF, CR LF or a lone CR; a last line without an end counts too.
    auto finish = [&]() -> std::optional<std::string> {
        const int32_t k = skin_element_of_line(line++);
        open_line = false;
        std::optional<std::string> error = record.store(table[static_cast<size_t>(k)]);
        record.clear();
        return error;
    };
    for (size_t i = 0; i < text.size() && line <= kLastLine; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (auto error = finish()) return error;
            continue;
        }
        open_line = true;
        record.add(c);
    }
    if (open_line && line <= kLastLine) return finish();
    return std::nullopt;
}

} // namespace zefa
