#include "convert/html_sanitizer.h"

#include <gtest/gtest.h>

#include <utility>

namespace qorva::convert {
namespace {

// Raw HTML as documents hold it, and what an exported page gets of it.
const std::pair<const char*, const char*> kCases[] = {
    // kept as written
    {"<kbd>Ctrl</kbd>+<KBD>C</KBD>", "<kbd>Ctrl</kbd>+<KBD>C</KBD>"},
    {"<details><summary>More</summary>text</details>", "<details><summary>More</summary>text</details>"},
    {"<img src=\"local.png\" alt>", "<img src=\"local.png\" alt>"},
    {"<br/> <hr /> <FONT COLOR=red>f</FONT> <a href='x'  title = \"t\">q</a>",
     "<br/> <hr /> <FONT COLOR=red>f</FONT> <a href='x'  title = \"t\">q</a>"},
    {"&lt;script&gt; &amp; &nbsp; AT&T <p style=\"color:red\">c</p>", "&lt;script&gt; &amp; &nbsp; AT&T <p style=\"color:red\">c</p>"},
    {"<style>p{color:red}</style><a href=\"http://a?x=1&amp;y=2\">q</a>", "<style>p{color:red}</style><a href=\"http://a?x=1&amp;y=2\">q</a>"},
    // left open or stray
    {"<div>1<div>2", "<div>1<div>2</div></div>"},
    {"<a href=\"http://x\">open", "<a href=\"http://x\">open</a>"},
    {"<table><tr><td>a", "<table><tbody><tr><td>a</td></tr></tbody></table>"},
    {"</kbd>x</p>", "x<p></p>"},
    // scripts in every disguise
    {"a<script>alert(1)</script>b<SCRIPT SRC=//x></SCRIPT>c", "abc"},
    {"<scr<script>ipt>alert(1)</script>", "ipt&gt;alert(1)"},
    {"<img \"\"\"><script>alert(1)</script>\">", "<img>\">"},
    {"<s a/= \" onclick=x>t\" onmouseover=alert(1) x=\"</s>", "<s a>t\" onmouseover=alert(1) x=\"</s>"},
    {"<svg><script>alert(1)</script><a xlink:href=\"javascript:x\">s</a></svg>t", "t"},
    {"<math><mtext><table><mglyph><style><img src=x onerror=alert(1)>", ""},
    {"<noscript><p title=\"</noscript><img src=x onerror=alert(1)>\"></noscript>", ""},
    {"<p>t<plaintext><img src=x onerror=alert(1)>", "<p>t</p>"},
    {"<textarea></textarea><img src=x onerror=alert(1)>", "<img src=\"x\">"},
    {"<template><img src=x onerror=alert(1)></template><xmp><b></xmp>", ""},
    // event attributes
    {"<img src=x onerror=alert(1)><b OnMouseOver = \"x\" class=k>b</b>", "<img src=\"x\"><b class=\"k\">b</b>"},
    {"<body onload=alert(1)>b<input autofocus onfocus=x><img a a onerror=alert(1)>", "b<input autofocus><img a>"},
    // URL schemes, also spelled with entities, controls and spaces
    {"<a href=\"javascript:alert(1)\">1</a><a href=\"  JavaScript:x\">2</a><a href=\"java&Tab;script:x\">3</a>",
     "<a>1</a><a>2</a><a>3</a>"},
    {"<a href=\"jav&#x61;script:x\">1</a><a href=\"&#0000106avascript:x\">2</a><a href=\"javascript&#58x\">3</a>"
     "<a href=\"javascript&colon;x\">4</a>",
     "<a>1</a><a>2</a><a>3</a><a>4</a>"},
    {"<a href=\"vbscript:x\">v</a><a href=\"data:text/html,<script>alert(1)</script>\">d</a>", "<a>v</a><a>d</a>"},
    {"<img src=\"data:image/png;base64,AA\" title=t><img src=\"data:text/html,x\"><video poster=\"javascript:x\" src=\"v.mp4\">",
     "<img src=\"data:image/png;base64,AA\" title=t><img><video src=\"v.mp4\"></video>"},
    {"<img srcset=\"a.png 1x, javascript:x 2x\"><img srcset=\"a.png 1x, b.png 2x\">", "<img><img srcset=\"a.png 1x, b.png 2x\">"},
    {"<form action=\"javascript:x\"><button formaction=\"javascript:y\">go</button><input type=image src=vbscript:z></form>",
     "<button>go</button><input type=\"image\">"},
    {"<a href=\"ok\" href=\"javascript:x\">dup</a>", "<a href=\"ok\">dup</a>"},
    // what loads code, pages or styles
    {"<iframe src=\"http://x\"></iframe><iframe srcdoc=\"&lt;script&gt;\"></iframe><object data=x></object><embed src=x>", ""},
    {"<meta http-equiv=\"refresh\" content=\"0;url=javascript:x\"><base href=\"javascript:x/\"><link rel=stylesheet href=x>", ""},
    {"<div style=\"width: expression(alert(1))\">1</div><div style=\"background:u\\72l(x)\">2</div>"
     "<p style=\"behavior:url(x.htc)\">3</p>",
     "<div>1</div><div>2</div><p>3</p>"},
    {"<style>@import 'x.css';</style><style>p{background:url(x)}</style><style>i{-moz-binding:x}</style>", ""},
    // comments, CDATA, processing instructions, unknown elements
    {"<!-- c --><!--[if IE]><script>x</script><![endif]--><![CDATA[x]]><?xml x?><!DOCTYPE html>t", "t"},
    {"<x-widget onclick=x>custom</x-widget><portal src=\"http://x\">p</portal>", "customp"},
};

TEST(HtmlSanitizer, KeepsWhatIsSafeAndRemovesWhatCouldRunOrLoad) {
    for (const auto& [input, expected] : kCases) {
        const std::string once = sanitizeHtml(input);
        EXPECT_EQ(once, expected) << input;
        EXPECT_EQ(sanitizeHtml(once), once) << input;  // nothing left to remove the second time
    }
}

// Nesting or attributes that would keep the parser busy for minutes: written as text.
TEST(HtmlSanitizer, FragmentsBeyondTheParsersLimitsStandAsText) {
    std::string deep, attributes = "<a";
    for (int i = 0; i < 100000; ++i) deep += i % 2 ? "<div>" : "<ul><li>";
    for (int i = 0; i < 50000; ++i) attributes += " x" + std::to_string(i);
    for (const std::string& input : {deep, attributes + ">"}) {
        const std::string out = sanitizeHtml(input);
        EXPECT_EQ(out.find('<'), std::string::npos);
        EXPECT_EQ(out.substr(0, 4), "&lt;");
    }
}

}  // namespace
}  // namespace qorva::convert
