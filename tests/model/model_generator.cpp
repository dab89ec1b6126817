#include "model_generator.h"

#include "model/list_counter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qorva::testing {
namespace {

const std::vector<std::string> kMarkUp = {"*", "`", "$", "<", ">", "[", "]", "\\", "**", "\\*", "[^", "~", "^", "~~", "\\~", "\""};
const std::vector<std::string> kLetters = {"a", "b", "c", "x", "y", "z", "Q", "R", "0", "1", "7"};
const std::vector<std::string> kPunctuation = {"(", ")", "!", "^", ":", "#", "-", "=", "~", "+", "/", "|", "_", ".", ",", "\""};
const std::vector<std::string> kMarkUpLines = {
    "# h", "## h", "### h", "- x", "* x", "12. x", "[^n]: x", "[l]: <u>", "> q", "// c", "~~~~", "~~~~~~~~ x", "$$", "$$$",
    "===", "---", std::string(80, '-'), "+---+", "| a |", "![](<i.png>)", "    indented", "  two",
    "#### h", "###### h", "~~~~ py", ":   d", "![a](<i.png>)", "![](<i.png> \"t\")", "~~s~~", "^s^"};
const std::vector<std::string> kInfos = {"python", "c++ {.numberLines}", "{#id .haskell}", " lead", "trail  ", "~~~~"};
const std::vector<std::string> kNonAscii = {"é", "ß", "Ω", "日本", "😀", "𝄞", "—", "‏a"};

class Generator {
public:
    Generator(std::mt19937& random, const GeneratorOptions& options) : r_(random), options_(options) {}

    Json document() {
        Json doc = Json::array({"text"});
        const int blocks = pick(1, 8);
        for (int i = 0; i < blocks; ++i) addBlock(doc);
        addListStarts(doc);
        addTableColumns(doc);
        return doc;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(r_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    template <class T> const T& oneOf(const std::vector<T>& items) { return items[pick(0, static_cast<int>(items.size()) - 1)]; }

    std::string word() {
        const bool markUpHeavy = chance(40);
        std::string w;
        const int length = pick(1, 5);
        for (int i = 0; i < length; ++i) {
            const int roll = pick(1, 100);
            if (roll <= (markUpHeavy ? 70 : 25)) w += oneOf(kMarkUp);
            else if (roll <= 80) w += oneOf(kLetters);
            else if (roll <= 92) w += oneOf(kPunctuation);
            else w += oneOf(kNonAscii);
        }
        // The right-to-left mark is direction, not text, in running text.
        for (std::size_t at; (at = w.find("\xE2\x80\x8F")) != std::string::npos;) w.erase(at, 3);
        return w.empty() ? "w" : w;
    }

    // Words joined by spaces; no leading or trailing space.
    std::string words(int low, int high) {
        std::string text = word();
        const int count = pick(low, high);
        for (int i = 1; i < count; ++i) {
            text += chance(10) ? "  " : " ";  // runs of two spaces too
            text += word();
        }
        return text;
    }

    static std::string without(std::string text, const std::string& characters) {
        text.erase(std::remove_if(text.begin(), text.end(), [&](char c) { return characters.find(c) != std::string::npos; }), text.end());
        return text;
    }

    static Json span(const std::string& tag, std::string text) {
        // A label or link text holding "]:" at the start of a block reads as a definition.
        if (tag.starts_with("link") || tag == "noteref")
            for (std::size_t at; (at = text.find("]:")) != std::string::npos;) text[at + 1] = '.';
        return Json::array({tag, text});
    }

    // One line of running text: spans of different kinds in turn, no line end inside.
    void addLine(Json& block, bool allowLinks = true) {
        const int count = pick(1, 5);
        std::string previous = block.size() > 2 ? block.back()[0].get<std::string>() : "";
        for (int i = 0; i < count; ++i) {
            static const std::vector<std::string> kinds = {"plain", "plain", "plain", "emph", "strong", "code", "math", "url", "link",
                                                           "noteref", "strike", "sup", "sub", "html", "tex", "strongemph", "strongcode", "emphcode",
                                                           "pictures"};
            std::string kind = oneOf(kinds);
            if (!allowLinks && (kind == "link" || kind == "noteref")) kind = "plain";
            // A link or address right after pictures of the text would take them in as link text or be their target.
            if (kind == previous || (kind == "link" && previous == "linktext") || ((kind == "link" || kind == "url") && previous == "pictures")) continue;
            if (kind == "plain") {
                std::string text = words(1, 4);
                if (previous != "") text = (chance(70) ? " " : "") + text;
                if (i + 1 < count) text += chance(70) ? " " : "";
                // After a footnote reference or pictures "(" would make a link, after a reference ":" a definition.
                while ((previous == "noteref" || previous == "pictures") && !text.empty() && (text[0] == '(' || (text[0] == ':' && previous == "noteref")))
                    text.erase(0, 1);
                if (text.empty() || text == " ") continue;
                block.push_back(span("plain", text));
            } else if (kind == "link") {
                // A link standing whole in emphasis, strong emphasis or both says so on its target.
                const std::string outer = chance(75) ? "" : oneOf(std::vector<std::string>{"emph", "strong", "strongemph"});
                if (!outer.empty() && chance(20)) {
                    const std::string target = without(words(1, 2), ">");
                    block.push_back(span(outer + "url", target.empty() ? "u" : target));
                    previous = outer + "url";
                    continue;
                }
                if (chance(50)) {
                    addLinkText(block, outer);
                    std::string target = without(words(1, 2), ">");  // ">)" would end it
                    block.push_back(span(outer + "url", target.empty() ? "u" : target));
                    previous = "url";
                    if (chance(30)) {
                        block.push_back(span("title", title()));
                        previous = "title";
                    }
                } else {
                    // sanitize() keeps the text and label from starting with "^".
                    addLinkText(block, outer);
                    block.push_back(span(outer + "linkref", words(1, 2)));
                    previous = "linkref";
                }
                continue;
            } else if (kind == "pictures") {
                for (int picture = pick(1, 2); picture > 0; --picture) addPicture(block);
            } else {
                block.push_back(span(kind, words(1, 3)));
            }
            previous = kind;
        }
        trimLine(block);
    }

    // A link's text: mostly one "linktext", else a run of plain, code and emphasised parts
    // and pictures, no two of a kind side by side (they would read back as one). A link in
    // emphasis or strong emphasis (`outer`) holds neither pictures nor the styles around it.
    void addLinkText(Json& block, const std::string& outer = "") {
        if (chance(50)) {
            block.push_back(span("linktext", words(1, 3)));
            return;
        }
        static const std::vector<std::string> kinds = {"linktext", "linkcode", "linkemph", "linkstrong", "linkimage"};
        std::string previous;
        for (int part = pick(1, 4); part > 0; --part) {
            const std::string kind = oneOf(kinds);
            if (kind == previous) continue;
            if (!outer.empty() && (kind == "linkimage" || kind == "linkstrong" || (kind == "linkemph" && outer != "strong"))) continue;
            if (kind == "linkimage") {
                addPicture(block);
                previous = "linkimageurl";
                continue;
            }
            block.push_back(span(kind, words(1, 2)));
            previous = kind;
        }
        if (previous.empty()) block.push_back(span("linkcode", words(1, 2)));
    }

    // A picture, in a link's text or in running text: its description, source and maybe a title.
    void addPicture(Json& block) {
        block.push_back(span("linkimage", chance(20) ? "" : words(1, 2)));
        const std::string source = without(words(1, 2), ">");  // ">)" would end it
        block.push_back(span("linkimageurl", source.empty() ? "p" : source));
        if (chance(30)) block.push_back(span("linkimagetitle", title()));
    }

    // A title ends at the first "\")", so it holds none.
    std::string title() {
        std::string text = words(1, 3);
        for (std::size_t at; (at = text.find("\")")) != std::string::npos;) text[at + 1] = '.';
        return text;
    }

    // A line neither starts nor ends with a space.
    static void trimLine(Json& block) {
        std::size_t lineStart = 2;
        for (std::size_t i = block.size(); i-- > 2;)
            if (block[i][0] == "break") { lineStart = i + 1; break; }
        if (lineStart < block.size() && block[lineStart][0] == "plain") {
            std::string text = block[lineStart][1];
            text.erase(0, text.find_first_not_of(' '));
            if (text.empty()) block.erase(lineStart); else block[lineStart][1] = text;
        }
        if (block.size() > lineStart && block.back()[0] == "plain") {
            std::string text = block.back()[1];
            text.erase(text.find_last_not_of(' ') + 1);
            if (text.empty()) block.erase(block.size() - 1); else block.back()[1] = text;
        }
    }

    // Lines separated by breaks; `edgeBreaks` allows breaks first, last and in a row.
    void addRunningText(Json& block, bool edgeBreaks, bool leadingBreak) {
        if (leadingBreak && edgeBreaks && chance(10)) block.push_back(span("break", "\n"));
        const int lines = chance(70) ? 1 : pick(2, 3);
        for (int line = 0; line < lines; ++line) {
            if (line > 0) {
                block.push_back(span("break", "\n"));
                if (edgeBreaks && chance(15)) block.push_back(span("break", "\n"));
            }
            const std::size_t lineStart = block.size();
            addLine(block);
            if (line > 0 && options_.hostile && chance(50)) startLineHostilely(block, lineStart);
        }
        if (edgeBreaks && chance(10)) block.push_back(span("break", "\n"));
        dropEdgeBreaks(block, edgeBreaks, leadingBreak);
    }

    // The line starting at `at` (after a break) begins with spaces or with what looks
    // like a block's mark-up.
    void startLineHostilely(Json& block, std::size_t at) {
        std::string start = chance(40) ? std::string(pick(1, 9), ' ') : "";
        start += oneOf(kMarkUpLines);
        if (at < block.size() && block[at][0] == "plain") {
            block[at][1] = start + " " + block[at][1].get<std::string>();
        } else {
            block.insert(block.begin() + static_cast<std::ptrdiff_t>(at), span("plain", at < block.size() ? start + " " : start));
        }
    }

    // Lines that came out empty leave breaks at the edges or in a row; keep them only
    // where the block's kind can say them.
    static void dropEdgeBreaks(Json& block, bool edgeBreaks, bool leadingBreak) {
        const std::size_t first = block.size() > 2 && (block[2][0] == "noteref" || block[2][0] == "linkref") ? 3 : 2;
        if (!(edgeBreaks && leadingBreak))
            while (block.size() > first && block[first][0] == "break") block.erase(first);
        if (edgeBreaks) return;
        while (block.size() > first && block.back()[0] == "break") block.erase(block.size() - 1);
        for (std::size_t i = first + 1; i < block.size();) {
            if (block[i][0] == "break" && block[i - 1][0] == "break") block.erase(i); else ++i;
        }
    }

    static Json attributes(int level, bool rtl) {
        Json a = {{"level", level}};
        if (rtl) a["direction"] = "rtl";
        return a;
    }

    static bool startsUnsayably(const std::string& text) {
        if (text.empty()) return false;
        const char c = text[0];
        if (c == '-' || c == '#' || c == '~' || c == '+' || c == '/' || c == '=') return true;
        std::size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
        return digits > 0 && digits < text.size() && text[digits] == '.';
    }

    static bool onlyOf(const std::string& text, char c) {
        return !text.empty() && text.find_first_not_of(c) == std::string::npos;
    }

    // A start number stands on the first item of a numbered list, counted as the
    // format counts them (tables are not counted, headings end every list).
    void addListStarts(Json& doc) {
        ListCounter lists;
        for (std::size_t i = 1; i < doc.size(); ++i) {
            const std::string tag = doc[i][0];
            if (tag == "row" || tag == "col") continue;
            const long level = doc[i][1]["level"];
            const std::string quote = doc[i][1].value("quote", "0");
            lists.next(tag == "heading" ? std::min(level, -1L) : level, tag == "numbered", 1, std::stoi(quote));
            if (tag == "numbered" && lists.startedList(level) && chance(40))
                doc[i][1]["start"] = std::to_string(oneOf(std::vector<int>{0, 2, 9, 10, 123456789}));
            if (quote != "0") doc[i][1].erase("quote"), doc[i][1]["quote"] = quote;  // written after the start
        }
    }

    void addCodeLines(Json& block, const std::string& fence) {
        const int lines = pick(0, 4);
        for (int i = 0; i < lines; ++i) {
            if (chance(30)) { block.push_back(span("break", "\n")); continue; }
            std::string text = (chance(30) ? std::string(pick(1, 8), ' ') : "") + words(1, 4);
            if (options_.hostile && chance(40)) {
                // A fence-like line of any length, maybe indented, maybe with text after it.
                text = std::string(4 * pick(0, 2), ' ') + std::string(pick(1, 90), fence[0]);
                if (chance(20)) text += " x";
            } else if (text.find_first_not_of(' ') != std::string::npos &&
                       text.compare(text.find_first_not_of(' '), fence.size(), fence) == 0) {
                text.insert(0, "x");
            }
            if (block.size() > 2 && block.back()[0] == "plain") block.push_back(span("break", "\n"));
            block.push_back(span("plain", text));
        }
    }

    void addBlock(Json& doc) {
        static const std::vector<std::string> tags = {"para", "para", "heading", "bulleted", "numbered", "quote", "comment",
                                                      "verbatim", "formula", "image", "note", "link", "table", "divider",
                                                      "html", "tex", "term", "definition", "metadata"};
        const std::string tag = oneOf(tags);
        const bool rtl = chance(15);
        if (tag == "table") return addTable(doc);
        if (tag == "divider") return doc.push_back(Json::array({"divider", attributes(0, rtl)}));
        const bool deep = tag == "para" || tag == "comment" || tag == "verbatim" || tag == "formula" || tag == "image" ||
                          tag == "html" || tag == "tex";
        const int level = tag == "heading" ? pick(-3, 2) : tag == "metadata" ? 0 : pick(0, deep ? 5 : 4);
        Json block = Json::array({tag, attributes(level, rtl)});

        if (tag == "para") {
            if (!chance(5)) addRunningText(block, true, true);
            std::string first = block.size() > 2 && block[2][0] == "plain" ? block[2][1].get<std::string>() : "";
            if (startsUnsayably(first)) block[2][1] = "p" + first;
            // An underline after the only line break makes a heading of the first line.
            if (level == 0 && block.size() > 2) {
                std::size_t breaks = 0;
                for (std::size_t i = 2; i < block.size(); ++i) breaks += block[i][0] == "break";
                const auto& last = block.back();
                if (breaks == 1 && last[0] == "plain" && (onlyOf(last[1], '=') || onlyOf(last[1], '-'))) block.back()[1] = "u" + last[1].get<std::string>();
            }
        } else if (tag == "heading") {
            addLine(block);
            if (block.size() == 2) block.push_back(span("plain", "h"));
            if (block[2][0] == "plain" && startsUnsayably(block[2][1])) block[2][1] = "h" + block[2][1].get<std::string>();
        } else if (tag == "bulleted" || tag == "numbered") {
            if (chance(30)) block[1]["spacing"] = chance(50) ? "loose" : "tight";
            if (chance(20)) block[1]["quote"] = std::to_string(pick(1, 5));
            if (!chance(5)) addRunningText(block, true, false);
        } else if (tag == "quote" || tag == "comment") {
            addRunningText(block, false, false);
            if (block.size() == 2) block.push_back(span("plain", "q"));
            // Quotation text that looks like a list item or code block in the quotation.
            if (options_.hostile && chance(20) && block[2][0] == "plain")
                block[2][1] = oneOf(std::vector<std::string>{"-   ", "12. ", "~~~~ ", "    1.  "}) + block[2][1].get<std::string>();
        } else if (tag == "verbatim" || tag == "formula" || tag == "html" || tag == "tex" || tag == "metadata") {
            if (tag == "verbatim" && chance(50)) block[1]["info"] = oneOf(kInfos);
            if (tag == "verbatim" && chance(20)) block[1]["quote"] = std::to_string(pick(1, 5));
            addCodeLines(block, tag == "formula" ? "$$" : "~~~~");
        } else if (tag == "term" || tag == "definition") {
            // A term stands on one line, followed by its definitions at its level.
            if (tag == "term") {
                addLine(block);
                if (block.size() == 2) block.push_back(span("plain", "t"));
                if (block[2][0] == "plain" && startsUnsayably(block[2][1])) block[2][1] = "t" + block[2][1].get<std::string>();
                sanitize(block);
                doc.push_back(block);
                block = Json::array({"definition", attributes(level, chance(15))});
            }
            if (chance(40)) block[1]["spacing"] = "tight";
            if (!chance(5)) addRunningText(block, true, false);
        } else if (tag == "image") {
            block.push_back(span("url", without(words(1, 3), ">")));
            if (block.back()[1] == "") block.back()[1] = "i.png";
            if (chance(40)) block[1]["alt"] = words(1, 3);
            if (chance(30)) block[1]["title"] = words(1, 2);
        } else if (tag == "note") {
            block.push_back(span("noteref", without(words(1, 2), "]")));
            if (block.back()[1] == "") block.back()[1] = "1";
            if (chance(90)) addRunningText(block, true, false);
            // The text after the label starts a line too.
            if (block.size() > 3 && block[3][0] == "plain") {
                std::string text = block[3][1];
                text.erase(0, text.find_first_not_of(' '));
                if (text.empty()) block.erase(3); else block[3][1] = text;
            }
        } else if (tag == "link") {
            std::string label = without(words(1, 2), "]");
            if (label.empty() || label[0] == '^') label.insert(0, "l");
            block.push_back(span("linkref", label));
            block.push_back(span("url", words(1, 1)));
            if (chance(30)) block.push_back(span("title", words(1, 2)));
        }
        sanitize(block);
        doc.push_back(block);
    }

    // Pairs the format cannot say, whatever produced them: a footnote reference followed
    // by "(" or ":", a link text starting with "^" before a label.
    static void sanitize(Json& block) {
        for (std::size_t i = 3; i < block.size(); ++i) {
            const std::string before = block[i - 1][0];
            if (before == "noteref" && block[i][0] == "plain") {
                std::string text = block[i][1];
                while (!text.empty() && (text[0] == '(' || text[0] == ':')) text[0] = 'n';
                block[i][1] = text;
            }
            if (before.starts_with("link") && block[i][0].get<std::string>().ends_with("linkref")) {
                std::size_t first = i - 1;
                while (first > 2 && block[first - 1][0].get<std::string>().starts_with("link") && !block[first - 1][0].get<std::string>().ends_with("linkref")) --first;
                std::string text = block[first][1], label = block[i][1];
                if (block[first][0] == "linktext" && !text.empty() && text[0] == '^') block[first][1] = "t" + text;
                if (!label.empty() && label[0] == '^') block[i][1] = "l" + label;
            }
        }
    }

    void addTable(Json& doc) {
        const int rows = pick(1, 3);
        for (int r = 0; r < rows; ++r) {
            const int cells = pick(1, 3);
            for (int c = 0; c < cells; ++c) {
                Json cell = Json::array({c == 0 ? "row" : "col", attributes(c == 0 ? 1 : 2, false)});
                if (!chance(15)) {
                    addLine(cell);
                    for (std::size_t i = 2; i < cell.size(); ++i) {
                        std::string text = options_.hostile ? cell[i][1].get<std::string>() : without(cell[i][1], "|");
                        if (options_.hostile && chance(30)) text += oneOf(std::vector<std::string>{"|", "||", "\\|", "---", "+--+"});
                        // Cells are filled: no doubled spaces, and no space at either end.
                        for (std::size_t at; (at = text.find("  ")) != std::string::npos;) text.erase(at, 1);
                        cell[i][1] = text.empty() ? "c" : text;
                    }
                    trimLine(cell);
                    sanitize(cell);
                }
                doc.push_back(cell);
            }
        }
    }

    // Alignments and widths on the first row of a table (tables side by side are one),
    // one per column, at least one of each not the default.
    void addTableColumns(Json& doc) {
        const auto inTable = [&](std::size_t i) { return i > 0 && (doc[i][0] == "row" || doc[i][0] == "col"); };
        for (std::size_t i = 1; i < doc.size(); ++i) {
            if (!inTable(i) || inTable(i - 1)) continue;
            std::size_t columns = 0;
            for (std::size_t j = i, cells = 0; j < doc.size() && inTable(j); ++j)
                columns = std::max(columns, cells = doc[j][0] == "row" ? 1 : cells + 1);
            std::string align, widths;
            for (std::size_t c = 0; c < columns; ++c) {
                align += oneOf(std::vector<char>{'l', 'c', 'r', 'd'});
                widths += (c ? " " : "") + oneOf(std::vector<std::string>{"0", "0.25", "0.1388888888888889", "1e-05", "1"});
            }
            if (align.find_first_not_of('d') == std::string::npos) align[0] = 'c';
            if (widths.find_first_not_of("0 ") == std::string::npos) widths[0] = '1';
            if (chance(40)) doc[i][1]["align"] = align;
            if (chance(40)) doc[i][1]["widths"] = widths;
        }
    }

    std::mt19937& r_;
    GeneratorOptions options_;
};

}  // namespace

Json generateDocument(std::mt19937& random, const GeneratorOptions& options) {
    return Generator(random, options).document();
}

}  // namespace qorva::testing
