// A seeded random run of the HTML subset parser over generated markup. PELLUX_HTML_FUZZ_RUNS sets the
// number of inputs (a few thousand by default, for CI); PELLUX_HTML_FUZZ_SEED picks another sequence.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "html_subset.h"
#include "text_run_positions.h"
#include "text_run_text.h"
#include "utf.h"

namespace {

using namespace qssdk::ui;

constexpr uint64_t default_runs = 4000;
constexpr uint64_t default_seed = 0x5eed'1e55;

uint64_t setting(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// Markup built from the pieces that trouble a tokenizer: every tag of the subset and unknown ones, open
// and closed, with attributes quoted, unquoted and broken, stray '<' and '>', quotes, blanks and line
// ends, characters beyond ASCII whole and in pieces, and now and then a long stretch of text.
class markup_generator {
public:
    explicit markup_generator(uint64_t seed) : rng_(seed) {}

    std::string next() {
        std::string s;
        const int pieces = pick(0, 40);
        for (int i = 0; i < pieces; ++i) add_piece(s);
        return s;
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    template <size_t N>
    std::string_view one_of(const std::string_view (&list)[N]) {
        return list[static_cast<size_t>(pick(0, static_cast<int>(N) - 1))];
    }

    void add_piece(std::string& s) {
        static constexpr std::string_view names[] = {"html", "body", "p", "b", "u", "font", "ul", "li", "i",
                                                     "br", "a", "abbr", "x", "", "fontx", "/"};
        static constexpr std::string_view attributes[] = {"href", "size", "color", "face", "hreflang", "sizes", ""};
        static constexpr std::string_view values[] = {"\"https://x.example/\"", "5", "\"5\"", "0", "-1", "#1b6936",
                                                      "\"#ABCDEF\"", "#12", "\"unclosed", "\"\"", "=", "1e40",
                                                      "nan", "\"a b\"", "'single'", ""};
        static constexpr std::string_view stray[] = {"<", ">", "\"", "=", "\r\n", "\n", "\r", " ", "/", "<<", ">>",
                                                     "* ", "\t",
                                                     "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
        switch (pick(0, 5)) {
        case 0:
        case 1: {  // a tag
            s += '<';
            if (pick(0, 2) == 0) s += '/';
            if (pick(0, 4) == 0) s += ' ';
            s += one_of(names);
            for (int n = pick(0, 3); n > 0; --n) {
                s += std::string(static_cast<size_t>(pick(0, 2)), ' ');
                s += one_of(attributes);
                if (pick(0, 3) != 0) s += std::string(static_cast<size_t>(pick(0, 1)), ' ') + "=";
                if (pick(0, 1) == 0) s += ' ';
                s += one_of(values);
            }
            if (pick(0, 7) != 0) s += '>';
            break;
        }
        case 2: s += one_of(stray); break;
        case 3:  // a long text now and then
            s += std::string(static_cast<size_t>(pick(0, 10) == 0 ? pick(1000, 20000) : pick(0, 12)),
                             static_cast<char>('a' + pick(0, 25)));
            break;
        default:
            for (int n = pick(1, 8); n > 0; --n) s += static_cast<char>(pick(1, 255));
            break;
        }
    }

    std::mt19937_64 rng_;
};

// The runs cover [0, length) in order without gaps or overlaps and end with one empty run. As the
// parser makes them (in bytes) no other run is empty and no two neighbours share look and address
// (those merge); moved to UTF-16 positions, a run over malformed bytes may shrink to nothing.
void check_runs_cover(const std::vector<text_run>& runs, size_t length, bool as_parsed) {
    ASSERT_FALSE(runs.empty());
    uint32_t at = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const text_run& r = runs[i];
        ASSERT_EQ(r.start, at) << "run " << i;
        ASSERT_LE(r.start, r.end) << "run " << i;
        if (as_parsed && i + 1 < runs.size()) {
            ASSERT_LT(r.start, r.end) << "run " << i << " is empty";
        }
        at = r.end;
    }
    ASSERT_EQ(at, length);
    EXPECT_EQ(runs.back().start, runs.back().end);
    if (!as_parsed) return;
    for (size_t i = 1; i + 1 < runs.size(); ++i) {
        text_run a = runs[i - 1], b = runs[i];
        a.start = b.start = a.end = b.end = 0;
        EXPECT_NE(ui_test::describe(a), ui_test::describe(b)) << "runs " << i - 1 << " and " << i << " did not merge";
    }
}

TEST(UiHtmlFuzz, RunsAlwaysCoverTheTextExactlyInOrderInBytesAndInUtf16Positions) {
    const uint64_t seed = setting("PELLUX_HTML_FUZZ_SEED", default_seed);
    const uint64_t runs = setting("PELLUX_HTML_FUZZ_RUNS", default_runs);
    markup_generator generate(seed);
    for (uint64_t n = 0; n < runs; ++n) {
        const std::string html = generate.next();
        const html_text out = parse_html_subset(html, "Segoe UI", 11.0f);
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", input " << n << ": " << html.substr(0, 300));
        check_runs_cover(out.runs, out.text.size(), true);
        check_runs_cover(runs_in_utf16_positions(out.text, out.runs), qssdk::utf8_to_utf16(out.text).size(), false);
        // Source line ends never survive, and without tags the text is the input without them.
        EXPECT_EQ(out.text.find('\r'), std::string::npos);
        if (html.find('<') == std::string::npos) {
            std::string expected;
            for (const char c : html)
                if (c != '\r' && c != '\n') expected += c;
            EXPECT_EQ(out.text, expected);
            EXPECT_EQ(out.runs.size(), expected.empty() ? 1u : 2u);
        }
        if (HasFailure()) return;
    }
}

}  // namespace
