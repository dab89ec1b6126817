// First stage of the text reader: the block grammar. It splits the input into blocks,
// finds each block's kind, level and direction, and keeps the raw text pieces of its
// running text for the inline grammar.
//
// It is a parsing expression grammar run by hand: alternatives are taken for good,
// repetitions never give back, look-aheads record nothing. Every terminal that fails
// is recorded when it is at the furthest position reached so far, which is what the
// syntax error lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

struct BlockElement {
    enum Kind : std::uint8_t { Piece, Span } kind;
    const char* tag;  // Span only: "break", "plain", "noteref", "linkref", "url"
    std::size_t begin, length;  // in BlockGrammar::arena
};

struct RawBlock {
    const char* tag;
    long level;
    bool rtl;
    std::uint32_t attributes;  // 0, or its string attributes in BlockGrammar::attributes
    std::size_t firstElement, elementCount;
    long number = 0;  // a numbered item's number as written (1 past 999999999)
    const char* spacing = nullptr;  // a list item's or definition's "loose" or "tight", as its marker says
    int quote = 0;  // how many quotations a list item or code block stands in, 0 to 5
};

// Whether a quotation line's text (after ">   ") opens a list item or code block standing in
// the quotation rather than the quotation's own text: a list marker padded as the writer pads
// it ("-   ", "*   ", "+   ", "1.  ", "12) ", "3]  "), then text or nothing, or a fence of tildes,
// after any whole indentation units (a nested item, an item's code).
bool opensQuotedBlock(std::string_view text);

struct RawAttributes {
    std::string info, alt, title;  // empty when absent
    std::string align, widths;  // a table's first row: its columns (model/table_columns.h)
};

class BlockGrammar {
public:
    explicit BlockGrammar(std::string_view text);

    // Parses the whole input; throws SyntaxError when it cannot.
    void parse();

    std::vector<RawBlock> blocks;
    std::vector<RawAttributes> attributes = {RawAttributes{}};
    std::vector<BlockElement> elements;
    std::string arena;  // the texts the elements refer to

private:
    enum Exp : std::uint8_t {
        NL, CR, RLM, SPACE, TWO_SPACES, THREE_SPACES, INDENT, TILDES, DASHES, DIGIT, DOLLARS, PLUS,
        MINUS, BAR, NOTE_OPEN, LABEL_CLOSE, BRACKET, IMAGE_OPEN, IMAGE_CLOSE, EQUALS, ATX1, ATX2,
        ATX3, STAR, DOT, GT, SLASHES, ANY, ATX4, ATX5, ATX6, COLON, EXP_COUNT
    };
    enum class Fence { Tildes, Dollars };

    // Recording failures.
    void fail(std::size_t at, Exp e) { failMask(at, std::uint64_t{1} << e); }
    void failMask(std::size_t at, std::uint64_t mask) {
        if (silent_ > 0 || at < maxFail_) return;
        if (at > maxFail_) { maxFail_ = at; expected_ = 0; }
        expected_ |= mask;
    }
    [[noreturn]] void throwError(std::size_t at);

    // Terminals; on success they advance `p`.
    bool lit(std::size_t& p, std::string_view literal, Exp e);
    bool ch(std::size_t& p, char c, Exp e);
    bool eol(std::size_t& p);
    bool rlm(std::size_t& p);
    void optionalRlm(std::size_t& p) { (void)rlm(p); }
    bool anyChar(std::size_t& p);
    bool lineContinues(std::size_t& p, bool rtl);
    bool copyChar(std::size_t& p, std::string& out);

    // Silent tests (inside look-aheads).
    std::size_t eolLength(std::size_t p) const;
    bool rlmAt(std::size_t p) const;
    std::size_t spaceRunEnd(std::size_t p);
    bool breakAt(std::size_t p);
    bool blockEndAt(std::size_t p) const;
    bool finalEolAt(std::size_t p) const;
    bool underlineAt(std::size_t p, char mark) const;
    bool charStopAt(std::size_t p);
    std::size_t closingFenceRun(std::size_t p, Fence fence) const;
    bool closingFenceAt(std::size_t p, Fence fence, std::size_t openRun) const { return closingFenceRun(p, fence) >= openRun; }
    bool closingFenceAfter(std::size_t p, Fence fence, bool rtl, std::size_t openRun);

    // Shared pieces of rules.
    long indents(std::size_t& p);
    void spaces(std::size_t& p);
    bool spacesPlus(std::size_t& p);
    void optionalNotIndent(std::size_t& p);
    bool blockChar(std::size_t& p, std::string& out, bool rtl);
    bool inlineText(std::size_t& p, std::string& out, bool rtl);
    bool hardBreak(std::size_t& p);
    bool continuedBreak(std::size_t& p, long maxIndents, bool rtl);
    void inlinesWithBreaks(std::size_t& p, long maxIndents, bool rtl);
    void label(std::size_t& p);

    // Block rules in the order they are tried.
    void block(std::size_t& p);
    bool fenced(std::size_t& p, bool rtl, Fence fence);
    bool divider(std::size_t& p, bool rtl);
    bool table(std::size_t& p, bool rtl);
    bool tableDivider(std::size_t& p, std::vector<char>* align);
    bool tableWidths(std::size_t& p, std::string& widths);
    bool tableRow(std::size_t& p, std::vector<std::string>& cells, RawAttributes* columns);
    bool tableLine(std::size_t& p, std::vector<std::string_view>& cells);
    bool definition(std::size_t& p, bool rtl, bool note);
    bool image(std::size_t& p, bool rtl);
    bool linkWithTitle(std::size_t& p);
    bool definitionItem(std::size_t& p, bool rtl);
    bool term(std::size_t& p, bool rtl);
    bool heading(std::size_t& p, bool rtl);
    bool underlined(std::size_t& p, bool rtl, char underline, long level);
    bool atx(std::size_t& p, bool rtl, std::string_view marker, Exp e, long level);
    bool listItem(std::size_t& p, bool rtl, bool numbered);
    bool quotedBlock(std::size_t& p, bool rtl);
    bool quoted(std::size_t& p, bool rtl, std::string_view marker, Exp e, const char* tag);
    bool quoteInline(std::size_t& p, std::string& out, std::string_view marker, Exp e, bool rtl);
    bool quoteChar(std::size_t& p, std::string& out, std::string_view marker, Exp e, bool rtl);
    bool quoteMarker(std::size_t& p, std::string_view marker, Exp e, bool lineStart = false);
    bool emptyQuoteLine(std::size_t& p, std::string_view marker, long level, bool rtl, bool& isBreak);
    void para(std::size_t& p, bool rtl);

    // Building the result.
    struct Mark { std::size_t elements, arena; };
    Mark mark() const { return {elements.size(), arena.size()}; }
    void rollback(Mark m) { elements.resize(m.elements); arena.resize(m.arena); }
    void pushPiece(std::string_view text);
    void pushSpan(const char* tag, std::string_view text);
    void pushBlock(const char* tag, long level, bool rtl, Mark from);

    std::string_view s_;
    std::size_t n_;
    std::size_t maxFail_ = 0;
    std::uint64_t expected_ = 0;
    int silent_ = 0;
    bool termPending_ = false;  // a term was read: its definition follows on the next line
    bool insideQuotation_ = false;  // reading the lines of a list item or code block in a quotation

    // Caches that keep every rule linear: the indentation at the last block start, the
    // last run of spaces, the last inline text, and the last fence line of each kind.
    std::size_t indentFrom_ = SIZE_MAX, indentTo_ = 0;
    long indentCount_ = 0;
    std::size_t runFrom_ = SIZE_MAX, runTo_ = 0;
    struct InlineMemo { std::size_t from = SIZE_MAX; bool rtl = false, ok = false; std::size_t to = 0; std::string text; } inlineMemo_;
    // [fence][rtl]: the line ends followed by a line that could close a fence, with the
    // longest run of fence characters on such a line at or after each of them.
    struct FenceLines { bool computed = false; std::vector<std::size_t> eols, longestFrom; };
    FenceLines fenceLines_[2][2];
};

}  // namespace qorva
