#include "convert/converters.h"
#include "model/model_json.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

std::string html(const std::string& blocks) { return WriteHtml(testing::textModel(blocks), nullptr); }

using Case = testing::WriterCase;

const Case kCases[] = {
    {"TopLevelElementsAreSeparatedByAnEmptyLineAndCommentsLeftOut",
     R"(["para",{"level":0},["plain","a"]],["comment",{"level":0},["plain","c"]],["divider",{"level":0}])", "<p>a</p>\n\n<hr>\n"},
    {"SixHeadingLevelsAndHeadingsEndLists",
     R"(["heading",{"level":-3},["plain","1"]],["heading",{"level":-2},["plain","2"]],["heading",{"level":-1},["plain","3"]],)"
     R"(["bulleted",{"level":0},["plain","b"]],["heading",{"level":0},["plain","4"]],["heading",{"level":1},["plain","5"]],["heading",{"level":2},["plain","6"]])",
     "<h1>1</h1>\n\n<h2>2</h2>\n\n<h3>3</h3>\n\n<ul>\n<li>\n<p>b</p>\n</li>\n</ul>\n\n<h4>4</h4>\n\n<h5>5</h5>\n\n<h6>6</h6>\n"},
    {"CodeIsEscapedKeepsItsLinesAndNamesItsLanguage",
     R"(["verbatim",{"level":0},["plain","a<b"],["break","\n"],["plain","c"]],["verbatim",{"level":0,"info":"c++ {.numberLines}"}],)"
     R"(["verbatim",{"level":0,"info":"{#id .haskell}"}],["verbatim",{"level":0,"info":"{#id}"}])",
     "<pre><code>a&lt;b\nc\n</code></pre>\n\n<pre><code class=\"language-c++\">\n</code></pre>\n\n"
     "<pre><code class=\"language-haskell\">\n</code></pre>\n\n<pre><code>\n</code></pre>\n"},
    {"RawHtmlIsCleanedAcrossSpansAndRawTexLeftOut",
     R"(["html",{"level":0},["plain","<div onclick=\"x()\">a"],["break","\n"],["plain","<script>x()</script>"]],["tex",{"level":0},["plain","\\x"]],)"
     R"(["para",{"level":0},["html","<kbd>"],["plain","K"],["html","</kbd>"],["tex","\\LaTeX{}"],["html","<a href=\"javascript:x\">"],["plain","j"]],)"
     R"(["para",{"level":0},["html","<!-- c -->"]],["html",{"level":0},["plain","<script>x()</script>"]])",
     "<div>a\n</div>\n\n<p><kbd>K</kbd><a>j</a></p>\n"},
    {"StrikeoutSuperscriptSubscript", R"(["para",{"level":0},["strike","s<"],["sup","2"],["sub","i"]])",
     "<p><del>s&lt;</del><sup>2</sup><sub>i</sub></p>\n"},
    {"DefinitionListTermsDefinitionsAndTheirContinuations",
     R"(["term",{"level":0},["plain","T"]],["definition",{"level":0},["plain","d1"]],["para",{"level":1},["plain","more"]],)"
     R"(["definition",{"level":0},["plain","d2"]],["term",{"level":0},["emph","U"]],["para",{"level":0},["plain","after"]])",
     "<dl>\n<dt>T</dt>\n<dd>\n<p>d1</p><p>more</p>\n</dd>\n<dd>\n<p>d2</p>\n</dd>\n<dt><em>U</em></dt>\n</dl>\n\n<p>after</p>\n"},
    {"FormulaIsDisplayMath", R"(["formula",{"level":0},["plain","x^2"]])", "<figure>\n<p>\\[\nx^2\n\\]</p>\n</figure>\n"},
    {"EmptyQuotation", R"(["quote",{"level":0}])", "<blockquote>\n<p></p>\n</blockquote>\n"},
    {"ListsAndCodeInQuotations", R"(["numbered",{"level":0,"quote":"1"},["plain","a"]],["bulleted",{"level":1,"quote":"1"},["plain","b"]],["verbatim",{"level":0,"quote":"2"},["plain","c"]],["para",{"level":0},["plain","d"]])",
     "<blockquote>\n<ol>\n<li>\n<p>a</p><ul>\n<li>\n<p>b</p>\n</li>\n</ul>\n</li>\n</ol>\n</blockquote>\n\n"
     "<blockquote>\n<blockquote>\n<pre><code>c\n</code></pre>\n</blockquote>\n</blockquote>\n\n<p>d</p>\n"},
    {"ImageNeedsAUrlAndKeepsItsDescriptionAndTitle",
     R"(["image",{"level":0},["url","a.png"]],["image",{"level":0},["plain","x"]],["image",{"level":0,"alt":"A \"b\"","title":"T"},["url","b.png"]])",
     "<figure>\n<img src=\"a.png\">\n</figure>\n\n<figure>\n<img src=\"b.png\" alt=\"A &quot;b&quot;\" title=\"T\">\n</figure>\n"},
    {"RightToLeftOnTheOuterElement", R"(["para",{"level":0,"direction":"rtl"},["plain","a"]],["bulleted",{"level":0,"direction":"rtl"},["plain","b"]])",
     "<p dir=\"rtl\">a</p>\n\n<ul>\n<li>\n<p>b</p>\n</li>\n</ul>\n"},
    {"EmptiedParagraphsAreLeftOut", R"(["para",{"level":0},["linkref","x"],["noteref","undefined"]],["para",{"level":0}])", "\n"},
    {"NestedListsAndContinuationParagraphs",
     R"(["numbered",{"level":0},["plain","a"]],["para",{"level":1},["plain","more"]],["bulleted",{"level":1},["plain","x"]],["numbered",{"level":0}])",
     "<ol>\n<li>\n<p>a</p><p>more</p><ul>\n<li>\n<p>x</p>\n</li>\n</ul>\n</li><li>\n\n</li>\n</ol>\n"},
    {"LooseItemsAreParagraphsAsEveryItemAndAListsStart",
     R"(["numbered",{"level":0,"spacing":"loose","start":"7"},["plain","a"]],["numbered",{"level":0,"start":"2"},["plain","b"]],)"
     R"(["numbered",{"level":1,"start":"x"},["plain","c"]])",
     "<ol start=\"7\">\n<li>\n<p>a</p>\n</li><li>\n<p>b</p><ol>\n<li>\n<p>c</p>\n</li>\n</ol>\n</li>\n</ol>\n"},
    {"EmptyCellAndCellParagraphs",
     R"(["row",{"level":1}],["row",{"level":1},["plain","r"]],["col",{"level":2},["plain","c"]],["para",{"level":3},["plain","c2"]])",
     "<table>\n<tr>\n<td>\n\n</td>\n</tr><tr>\n<td>\n<p>r</p>\n</td><td>\n<p>c</p><p>c2</p>\n</td>\n</tr>\n</table>\n"},
    {"BlockAfterTheTable", R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],["para",{"level":1},["plain","after"]])",
     "<table>\n<tr>\n<td>\n<p>a</p>\n</td><td>\n<p>b</p>\n</td>\n</tr>\n</table>\n\n<p>after</p>\n"},
    {"ColumnsAlignedByTheFirstRow", R"(["row",{"level":1,"align":"rcl"},["plain","a"]],["col",{"level":2}],["row",{"level":1,"align":"c"}],["col",{"level":2}])",
     "<table>\n<tr>\n<td style=\"text-align: right\">\n<p>a</p>\n</td><td style=\"text-align: center\">\n\n</td>\n</tr><tr>\n"
     "<td style=\"text-align: right\">\n\n</td><td style=\"text-align: center\">\n\n</td>\n</tr>\n</table>\n"},
    {"SpanStylesBreaksMathAndEscaping",
     R"(["para",{"level":0},["plain","a<b & \"c\" 'd'"],["emph","e"],["strong","s"],["code","<c>"],["break","\n"],["math","x<y"],["odd","o"],)"
     R"(["strongemph","<"],["strongcode","c"],["emphcode","e"]])",
     "<p>a&lt;b &amp; \"c\" 'd'<em>e</em><strong>s</strong><code>&lt;c&gt;</code><br>\n\\(x&lt;y\\)o"
     "<strong><em>&lt;</em></strong><strong><code>c</code></strong><em><code>e</code></em></p>\n"},
    {"LinksWholeInEmphasisInsideItsElements",
     R"(["para",{"level":0},["linktext","t"],["emphurl","u"],["title","T"],["linkemph","x"],["stronglinkref","L"],["strongemphurl","http://v"]],)"
     R"(["link",{"level":0},["linkref","L"],["url","http://u"]])",
     "<p><em><a href=\"u\" title=\"T\">t</a></em><strong><a href=\"http://u\"><em>x</em></a></strong>"
     "<strong><em><a href=\"http://v\">http://v</a></em></strong></p>\n"},
    {"UrlIsEscapedInAttributeAndText", R"(["para",{"level":0},["url","http://a?x=\"1\"&y='2'"]])",
     "<p><a href=\"http://a?x=&quot;1&quot;&amp;y=&#39;2&#39;\">http://a?x=\"1\"&amp;y='2'</a></p>\n"},
    {"ReferenceLinkUndefinedReferenceAndLinkTitles",
     R"(["para",{"level":0},["linktext","t"],["linkref","L"],["linktext","n"],["linkref","none"],["linktext","i"],["url","http://i"],["title","I"],)"
     R"(["url","http://u"],["title","plain"]],["link",{"level":0},["linkref","L"],["url","http://l"],["title","L's"]])",
     "<p><a href=\"http://l\" title=\"L&#39;s\">t</a>n<a href=\"http://i\" title=\"I\">i</a><a href=\"http://u\">http://u</a>plain</p>\n"},
    {"LinkTextWithCodeAndEmphasisAndWithoutATarget",
     R"j(["para",{"level":0},["linktext","a<"],["linkcode","f()"],["linkemph","e"],["linkstrong","s"],["url","http://u"],)j"
     R"(["linkcode","c"],["url","javascript:x"],["linkemph","n"],["linkref","none"]])",
     "<p><a href=\"http://u\">a&lt;<code>f()</code><em>e</em><strong>s</strong></a><code>c</code><em>n</em></p>\n"},
    {"LinkTextPicturesWhoseSourceCouldRunSomethingShowTheirDescription",
     R"(["para",{"level":0},["linkimage","a\"b"],["linkimageurl","b.svg"],["linkimagetitle","T"],["linktext"," x"],["url","http://u"],)"
     R"(["linkimage","<d>"],["linkimageurl","javascript:x"],["url","javascript:y"]])",
     "<p><a href=\"http://u\"><img src=\"b.svg\" alt=\"a&quot;b\" title=\"T\"> x</a>&lt;d&gt;</p>\n"},
};

class HtmlWriter : public ::testing::TestWithParam<Case> {};

TEST_P(HtmlWriter, Writes) { EXPECT_EQ(html(GetParam().blocks), GetParam().written); }

INSTANTIATE_TEST_SUITE_P(, HtmlWriter, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

// Only relative targets and http, https, ftp, mailto and file become links or
// images, and pictures also take Windows paths and data:image/ sources; any other
// scheme, however disguised, is written as text.
TEST(HtmlWriterLinks, TargetsWithUnsafeSchemesAreWrittenAsText) {
    const std::tuple<const char*, bool, bool> targets[] = {
        {"http://a.b/", true, true},        {"HTTPS://a.b/", true, true},   {"ftp://a.b/f", true, true},
        {"mailto:a@b.c", true, true},       {"file:///tmp/x", true, true},  {"sub/page.html#x", true, true},
        {"/abs/page.html", true, true},     {"?q=1:2", true, true},         {"#frag:1", true, true},
        {"C:\\pics\\a.png", false, true},  {" DATA:Ima\tge/png;base64,iVBO", false, true},
        {"javascript:alert(1)", false, false}, {" JavaScript:alert(1)", false, false}, {"java\tscript:alert(1)", false, false},
        {"\x01" "javascript:x", false, false}, {"vbscript:x", false, false},  {"data:text/html,<b>", false, false},
        {"data:,image/png", false, false},  {"smb://host/share", false, false},  {"javascript:x//http://a.b", false, false},
    };
    for (const auto& [target, safe, picture] : targets) {
        const std::string url = Json(target).dump();
        const std::string inLink = html(R"(["para",{"level":0},["linktext","t"],["url",)" + url + "]]");
        const std::string bare = html(R"(["para",{"level":0},["url",)" + url + "]]");
        const std::string image = html(R"(["image",{"level":0},["url",)" + url + "]]");
        EXPECT_EQ(inLink.find("href=") != std::string::npos, safe) << target << inLink;
        EXPECT_EQ(bare.find("href=") != std::string::npos, safe) << target << bare;
        EXPECT_EQ(image.find("<img") != std::string::npos, picture) << target << image;
        if (!safe) EXPECT_EQ(inLink, "<p>t</p>\n");
        if (!picture) EXPECT_NE(image.find("<p>"), std::string::npos) << image;
    }
}

TEST(HtmlWriterFootnotes, NumberedByReferenceWithBackLinksNestedOnesAfterTheBodyCyclesAndChainsEnd) {
    EXPECT_EQ(html(R"(["para",{"level":0},["plain","a"],["noteref","x"],["noteref","y"],["noteref","x"]],)"
                   R"(["note",{"level":0},["noteref","x"],["plain","X"]],["note",{"level":0},["noteref","y"],["emph","Y"]])"),
              "<p>a<sup id=\"fnref:1\"><a href=\"#fn:1\" rel=\"footnote\">1</a></sup>"
              "<sup id=\"fnref:2\"><a href=\"#fn:2\" rel=\"footnote\">2</a></sup>"
              "<sup id=\"fnref:3\"><a href=\"#fn:3\" rel=\"footnote\">3</a></sup></p>\n\n"
              "<ol class=\"footnotes\">\n"
              "<li id=\"fn:1\">\n<p>X<a href=\"#fnref:1\" rev=\"footnote\">\u21A9</a><a href=\"#fnref:3\" rev=\"footnote\">\u21A9</a></p>\n</li>"
              "<li id=\"fn:2\">\n<p><em>Y</em><a href=\"#fnref:2\" rev=\"footnote\">\u21A9</a></p>\n</li>"
              "<li id=\"fn:3\">\n<p>X<a href=\"#fnref:1\" rev=\"footnote\">\u21A9</a><a href=\"#fnref:3\" rev=\"footnote\">\u21A9</a></p>\n</li>"
              "\n</ol>\n");
    const std::string out = html(R"(["para",{"level":0},["noteref","a"],["noteref","c"]],)"
                                 R"(["note",{"level":0},["noteref","a"],["plain","A"],["noteref","b"]],)"
                                 R"(["note",{"level":0},["noteref","b"],["plain","B"],["noteref","a"]],)"
                                 R"(["note",{"level":0},["noteref","c"],["plain","C"]])");
    EXPECT_NE(out.find("<li id=\"fn:3\">\n<p>B<sup id=\"fnref:4\"><a href=\"#fn:4\" rel=\"footnote\">4</a></sup>"),
              std::string::npos);
    EXPECT_NE(out.find("<li id=\"fn:4\">\n<p>A<sup id=\"fnref:3\">"), std::string::npos);
    EXPECT_EQ(out.find("fn:5"), std::string::npos);
    std::string blocks = R"(["para",{"level":0},["noteref","n0"]])";
    for (int i = 0; i < 20000; ++i)
        blocks += R"(,["note",{"level":0},["noteref","n)" + std::to_string(i) + R"("],["noteref","n)" + std::to_string(i + 1) + R"("]])";
    EXPECT_NE(html(blocks).find("<li id=\"fn:20000\">"), std::string::npos);
}

// Malformed models in general get one message from every writer (ModelMessages).
TEST(HtmlWriterBadInput, SpansCodeCannotHoldAndUnclosedDeepNestingAreRefused) {
    const std::pair<std::string, const char*> cases[] = {
        {R"(["text",["verbatim",{"level":0},["emph","a"]]])", "\"emph\" span"},
        {std::string(20000, '['), "invalid JSON"},
    };
    for (const auto& [model, fragment] : cases)
        EXPECT_NE(testing::errorOf([&] { WriteHtml(model, nullptr); }).find(fragment), std::string::npos) << model.substr(0, 80);
}

}  // namespace
}  // namespace qorva::convert
