// The HTML subset parser of text labels.
#include "html_subset.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "text_codes.h"

namespace qssdk::ui {

namespace {

// A <font size> value counts in steps of four device-independent pixels.
constexpr float font_size_unit = 4.0f;
constexpr color link_color{0.0f, 0.0f, 1.0f, 1.0f};
constexpr std::string_view bullet = "* ";

enum class tag_kind {
    html, body, paragraph, bold, underline, font, list, list_item, italic, line_break, link, unknown
};

struct tag {
    tag_kind kind = tag_kind::unknown;
    bool opening = true;
    std::string_view attributes;  // what follows the tag's name
};

struct tag_name {
    std::string_view name;
    tag_kind kind;
};

constexpr tag_name tag_names[] = {
    {"html", tag_kind::html}, {"body", tag_kind::body},    {"p", tag_kind::paragraph}, {"b", tag_kind::bold},
    {"u", tag_kind::underline}, {"font", tag_kind::font},  {"ul", tag_kind::list},     {"li", tag_kind::list_item},
    {"i", tag_kind::italic},  {"br", tag_kind::line_break}, {"a", tag_kind::link},
};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

size_t skip_blanks(std::string_view s, size_t i) {
    while (i < s.size() && is_blank(s[i])) ++i;
    return i;
}

size_t skip_word(std::string_view s, size_t i) {
    while (i < s.size() && !is_blank(s[i])) ++i;
    return i;
}

// The tag's name is its first word (after an optional '/'), matched whole: "<abbr>" is no link.
tag classify(std::string_view inside) {
    tag t;
    size_t i = skip_blanks(inside, 0);
    if (i < inside.size() && inside[i] == '/') {
        t.opening = false;
        i = skip_blanks(inside, i + 1);
    }
    const size_t name_end = skip_word(inside, i);
    const std::string_view name = inside.substr(i, name_end - i);
    t.attributes = inside.substr(name_end);
    for (const tag_name& n : tag_names)
        if (n.name == name) t.kind = n.kind;
    // "</br>" is no line break; every other known tag pushes a style when it opens and pops one when it
    // closes.
    if (t.kind == tag_kind::line_break && !t.opening) t.kind = tag_kind::unknown;
    return t;
}

bool pushes_or_pops(tag_kind kind) { return kind != tag_kind::line_break && kind != tag_kind::unknown; }

// The value of the attribute named exactly name: name, blanks, '=', blanks, then a value in double quotes
// or one running to the next blank or the end of the tag. Nothing when the name is missing, has no '=' or
// its quote is never closed; the first attribute of that name counts.
std::optional<std::string_view> attribute(std::string_view attributes, std::string_view name) {
    size_t i = 0;
    for (;;) {
        i = skip_blanks(attributes, i);
        if (i == attributes.size()) return std::nullopt;
        const size_t name_start = i;
        while (i < attributes.size() && !is_blank(attributes[i]) && attributes[i] != '=') ++i;
        const std::string_view found = attributes.substr(name_start, i - name_start);
        i = skip_blanks(attributes, i);
        std::optional<std::string_view> value;
        if (i < attributes.size() && attributes[i] == '=') {
            i = skip_blanks(attributes, i + 1);
            if (i < attributes.size() && attributes[i] == '"') {
                const size_t close = attributes.find('"', i + 1);
                if (close != std::string_view::npos) value = attributes.substr(i + 1, close - i - 1);
                i = close == std::string_view::npos ? attributes.size() : close + 1;
            } else {
                const size_t end = skip_word(attributes, i);
                value = attributes.substr(i, end - i);
                i = end;
            }
        }
        if (found == name) return value;
    }
}

// A font size in DIPs from a decimal number that is the whole value; only a finite size above 0 counts.
std::optional<float> font_size(std::string_view value) {
    double number = 0.0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    const float size = static_cast<float>(number * font_size_unit);
    if (!std::isfinite(size) || size <= 0.0f) return std::nullopt;
    return size;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// '#' and exactly six hexadecimal digits, red first; opaque.
std::optional<color> font_color(std::string_view value) {
    if (value.size() != 7 || value[0] != '#') return std::nullopt;
    uint32_t rgb = 0;
    for (const char c : value.substr(1)) {
        const int digit = hex_digit(c);
        if (digit < 0) return std::nullopt;
        rgb = rgb << 4 | static_cast<uint32_t>(digit);
    }
    const auto channel = [rgb](int shift) { return static_cast<float>(rgb >> shift & 0xFF) / 255.0f; };
    return color{channel(16), channel(8), channel(0), 1.0f};
}

bool same_look(const text_run& a, const text_run& b) {
    return a.weight == b.weight && a.style == b.style && a.underline == b.underline && a.font_name == b.font_name &&
           a.size == b.size && a.color == b.color && a.href == b.href;
}

class parser {
public:
    parser(std::string_view font_name, float font_size) {
        text_run base;
        base.font_name.assign(font_name);
        base.size = font_size;
        stack_.push_back(std::move(base));
    }

    // One piece of text and the tag that ends it (none for the text after the last tag).
    void record(std::string_view text, const std::optional<tag>& t) {
        text_run cur = stack_.back();
        const size_t start = out_.text.size();
        append_text(text);
        if (t) apply(*t, cur);
        add_range(start, out_.text.size());
        if (!t || !pushes_or_pops(t->kind)) return;
        if (t->opening)
            stack_.push_back(std::move(cur));
        else if (stack_.size() > 1)
            stack_.pop_back();
    }

    html_text finish() {
        text_run last = stack_.back();
        last.start = last.end = static_cast<uint32_t>(out_.text.size());
        out_.runs.push_back(std::move(last));
        return std::move(out_);
    }

private:
    // Line ends of the source are dropped, not turned into blanks: lines are made by tags alone.
    void append_text(std::string_view text) {
        const bool has_text = text.find_first_not_of("\r\n") != std::string_view::npos;
        if (bullet_pending_ && has_text) {
            out_.text += bullet;
            bullet_pending_ = false;
        }
        for (const char c : text)
            if (c != '\n' && c != '\r') out_.text += c;
    }

    void apply(const tag& t, text_run& cur) {
        switch (t.kind) {
        case tag_kind::paragraph:
        case tag_kind::line_break: out_.text += '\n'; break;
        case tag_kind::list:
            if (t.opening) out_.text += '\n';
            break;
        case tag_kind::list_item:
            if (t.opening)
                bullet_pending_ = true;
            else if (!out_.text.empty() && out_.text.back() != '\n')
                out_.text += '\n';
            break;
        case tag_kind::bold: cur.weight = weight_code_bold; break;
        case tag_kind::italic: cur.style = style_code_italic; break;
        case tag_kind::underline: cur.underline = t.opening; break;
        case tag_kind::font:
            if (t.opening) apply_font(t.attributes, cur);
            break;
        case tag_kind::link:
            if (t.opening) apply_link(t.attributes, cur);
            break;
        case tag_kind::html:
        case tag_kind::body:
        case tag_kind::unknown: break;
        }
    }

    static void apply_font(std::string_view attributes, text_run& cur) {
        if (const auto face = attribute(attributes, "face"); face && !face->empty()) cur.font_name.assign(*face);
        if (const auto size = attribute(attributes, "size"))
            if (const auto dips = font_size(*size)) cur.size = *dips;
        if (const auto value = attribute(attributes, "color"))
            if (const auto c = font_color(*value)) cur.color = *c;
    }

    static void apply_link(std::string_view attributes, text_run& cur) {
        const auto href = attribute(attributes, "href");
        if (!href || href->empty()) return;
        cur.color = link_color;
        cur.underline = true;
        cur.href.assign(*href);
    }

    // [start, end) takes the style in force before the tag; it extends the last run only when the two
    // look alike and lead to the same address.
    void add_range(size_t start, size_t end) {
        if (end == start) return;
        const text_run& style = stack_.back();
        if (!out_.runs.empty() && same_look(out_.runs.back(), style)) {
            out_.runs.back().end = static_cast<uint32_t>(end);
            return;
        }
        text_run run = style;
        run.start = static_cast<uint32_t>(start);
        run.end = static_cast<uint32_t>(end);
        out_.runs.push_back(std::move(run));
    }

    html_text out_;
    std::vector<text_run> stack_;
    bool bullet_pending_ = false;
};

}  // namespace

html_text parse_html_subset(std::string_view html, std::string_view font_name, float font_size) {
    parser p(font_name, font_size);
    size_t i = 0;
    for (;;) {
        const size_t open = html.find('<', i);
        const size_t close = open == std::string_view::npos ? open : html.find('>', open + 1);
        // A '<' that no '>' follows opens no tag: the rest is text.
        if (close == std::string_view::npos) {
            p.record(html.substr(i), std::nullopt);
            break;
        }
        p.record(html.substr(i, open - i), classify(html.substr(open + 1, close - open - 1)));
        i = close + 1;
    }
    return p.finish();
}

}  // namespace qssdk::ui
