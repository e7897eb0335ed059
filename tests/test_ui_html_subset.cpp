#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "html_subset.h"
#include "text_codes.h"
#include "text_run_text.h"

namespace {

using namespace qssdk::ui;
using ui_test::describe;

constexpr std::string_view base_font = "Segoe UI";
constexpr float base_size = 11.0f;
constexpr color blue{0.0f, 0.0f, 1.0f, 1.0f};

html_text parse(std::string_view html) { return parse_html_subset(html, base_font, base_size); }

// A run in the label's base style over [start, end); the with_* helpers change one field.
text_run base_run(uint32_t start, uint32_t end) {
    text_run r;
    r.font_name = base_font;
    r.size = base_size;
    r.start = start;
    r.end = end;
    return r;
}
text_run bold(text_run r) { return r.weight = weight_code_bold, r; }
text_run italic(text_run r) { return r.style = style_code_italic, r; }
text_run underlined(text_run r) { return r.underline = true, r; }
text_run sized(text_run r, float size) { return r.size = size, r; }
text_run face(text_run r, std::string_view name) { return r.font_name = name, r; }
text_run coloured(text_run r, color c) { return r.color = c, r; }
text_run link(text_run r, std::string_view href) { return r.color = blue, r.underline = true, r.href = href, r; }

struct text_case {
    std::string_view html;
    std::string_view text;
};

TEST(UiHtmlSubset, MakesThePlainTextOfEveryTagMalformedMarkupAndSourceLines) {
    const text_case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"<html><body>in body</body></html>", "in body"},
        {"<b>bold</b>", "bold"},
        {"<i>it</i><u>under</u>", "itunder"},
        {"<p>One</p><p>Two</p>", "\nOne\n\nTwo\n"},
        {"<ul><li>A</li><li>B</li></ul>", "\n* A\n* B\n"},
        {"<ul><li></li><li>B</li></ul>", "\n* B\n"},  // the bullet waits for text
        {"one<br>two", "one\ntwo"},
        {"one< br >two", "one\ntwo"},
        {"one</br>two", "onetwo"},  // not a line break
        {"foo\r\nbar", "foobar"},
        {"Hello <b>you</b>", "Hello you"},
        {"<b>kept</b> after the last tag", "kept after the last tag"},
        {"a > b", "a > b"},
        {"a < b", "a < b"},                    // no '>' follows: text
        {"<b>x</b> 1 < 2 and 3", "x 1 < 2 and 3"},
        {"x<y<b>z", "xz"},                     // the tag runs from the first '<' to the first '>'
        {"<unknown attr=1>shown</unknown>", "shown"},
        {"<abbr>not a link</abbr>", "not a link"},
        {"<font>f</font><a>l</a>", "fl"},
        {"&amp;", "&amp;"},                     // entities are not decoded
        {"<>empty tag", "empty tag"},
        {"<", "<"},
        {">", ">"},
    };
    for (const text_case& c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(parse(c.html).text, c.text);
    }
}

struct runs_case {
    std::string_view html;
    std::vector<text_run> runs;
};

TEST(UiHtmlSubset, TextBeforeATagTakesTheStyleInForceBeforeIt) {
    const runs_case cases[] = {
        {"", {base_run(0, 0)}},
        {"<b>bold</b>", {bold(base_run(0, 4)), base_run(4, 4)}},
        {"Hello <b>you</b>", {base_run(0, 6), bold(base_run(6, 9)), base_run(9, 9)}},
        {"<i>a</i><u>b</u>c", {italic(base_run(0, 1)), underlined(base_run(1, 2)), base_run(2, 3), base_run(3, 3)}},
        // Nesting: the inner closing tag pops back to bold.
        {"<b>x<i>y</i>z</b>",
         {bold(base_run(0, 1)), italic(bold(base_run(1, 2))), bold(base_run(2, 3)), base_run(3, 3)}},
        // Text after the last tag keeps the style still open.
        {"<b>open", {bold(base_run(0, 4)), bold(base_run(4, 4))}},
        // A closing tag without an opening one leaves the base style in place.
        {"</b></i>a", {base_run(0, 1), base_run(1, 1)}},
        // Runs of one look merge; the newline of a paragraph joins the text before it.
        {"<p>One</p><p>Two</p>", {base_run(0, 10), base_run(10, 10)}},
        {"<ul><li>A</li></ul>", {base_run(0, 5), base_run(5, 5)}},
    };
    for (const runs_case& c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(describe(parse(c.html).runs), describe(c.runs));
    }
}

TEST(UiHtmlSubset, FontAttributesApplyOnlyWhenPresentAndValid) {
    const color green{27 / 255.0f, 105 / 255.0f, 54 / 255.0f, 1.0f};
    const text_run plain = base_run(0, 1);
    const runs_case cases[] = {
        {"<font size=\"5\">x</font>", {sized(plain, 20.0f)}},
        {"<font size=5>x</font>", {sized(plain, 20.0f)}},  // unquoted, ends at the tag's end
        {"<font size=2.5 face=Arial>x</font>", {face(sized(plain, 10.0f), "Arial")}},
        {"<font size = \"3\">x</font>", {sized(plain, 12.0f)}},
        {"<font color = \"#1b6936\">x</font>", {coloured(plain, green)}},
        {"<font color=#1B6936>x</font>", {coloured(plain, green)}},
        {"<font face=\"Courier New\">x</font>", {face(plain, "Courier New")}},
        // Invalid or missing values leave the style as it was.
        {"<font size=0>x</font>", {plain}},
        {"<font size=-2>x</font>", {plain}},
        {"<font size=big>x</font>", {plain}},
        {"<font size=5px>x</font>", {plain}},
        {"<font size=\"\">x</font>", {plain}},
        {"<font size=\"5>x</font>", {plain}},  // the quote never closes within the tag
        {"<font size>x</font>", {plain}},
        {"<font color=1b6936>x</font>", {plain}},
        {"<font color=#1b693>x</font>", {plain}},
        {"<font color=#1b69366>x</font>", {plain}},
        {"<font color=#1b69g6>x</font>", {plain}},
        {"<font color=\"\">x</font>", {plain}},
        {"<font face=\"\">x</font>", {plain}},
        // Names match whole: "fontsize" is not "size", and a value that reads like an attribute is a value.
        {"<font fontsize=9 size=1>x</font>", {sized(plain, 4.0f)}},
        {"<font face=\"size=9\">x</font>", {face(plain, "size=9")}},
        {"<font sizes=9>x</font>", {plain}},
        // The first attribute of a name counts.
        {"<font size=1 size=2>x</font>", {sized(plain, 4.0f)}},
    };
    for (const runs_case& c : cases) {
        SCOPED_TRACE(c.html);
        const html_text out = parse(c.html);
        ASSERT_EQ(out.text, "x");
        ASSERT_FALSE(out.runs.empty());
        EXPECT_EQ(describe(out.runs.front()), describe(c.runs.front()));
    }
}

TEST(UiHtmlSubset, LinksCarryTheirOwnAddress) {
    const runs_case cases[] = {
        {"<a href=\"https://a.example/x\">go</a>", {link(base_run(0, 2), "https://a.example/x"), base_run(2, 2)}},
        {"<a href=a.html>go</a>", {link(base_run(0, 2), "a.html"), base_run(2, 2)}},
        {"<a  href = \"a\" >go</a>", {link(base_run(0, 2), "a"), base_run(2, 2)}},
        // Without an address a link keeps the surrounding style and is not clickable.
        {"<b><a>go</a></b>", {bold(base_run(0, 2)), base_run(2, 2)}},
        {"<a href=\"\">go</a>", {base_run(0, 2), base_run(2, 2)}},
        {"<a hreflang=en>go</a>", {base_run(0, 2), base_run(2, 2)}},
        // Adjacent links in the same style keep their own addresses.
        {"<a href=one>A</a><a href=two>B</a>",
         {link(base_run(0, 1), "one"), link(base_run(1, 2), "two"), base_run(2, 2)}},
        // A font inside a link keeps the address.
        {"<a href=x><font size=4>big</font></a>", {link(sized(base_run(0, 3), 16.0f), "x"), base_run(3, 3)}},
    };
    for (const runs_case& c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(describe(parse(c.html).runs), describe(c.runs));
    }
}

TEST(UiHtmlSubset, ALicenceLikeDocument) {
    const html_text out = parse(
        "<html><body>\r\n<p><b>Terms</b></p>\r\n<ul><li>Use it.</li><li>See <a href=\"https://q.example/l\">the "
        "site</a>.</li></ul>\r\n</body></html>\r\n");
    EXPECT_EQ(out.text, "\nTerms\n\n* Use it.\n* See the site.\n");
    const std::vector<text_run> expected = {
        base_run(0, 1),  // "\n" of the opening paragraph
        bold(base_run(1, 6)),
        base_run(6, 24),  // "\n\n* Use it.\n* See "
        link(base_run(24, 32), "https://q.example/l"),
        base_run(32, 34),
        base_run(34, 34),
    };
    EXPECT_EQ(describe(out.runs), describe(expected));
}

}  // namespace
