// The inline grammar of the text format, shared by the reader (which turns a raw text
// piece into spans) and the writer (which must know where the reader would see
// mark-up). Every rule is answered in constant time after linear preparation, so no
// piece, however many unclosed markers it holds, takes more than linear time.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

// The eight characters a backslash escapes in every span.
inline bool isSpecial(char c) {
    return c == '*' || c == '`' || c == '<' || c == '>' || c == '$' || c == '\\' || c == '[' ||
           c == ']';
}

// In plain text a backslash also escapes "~" and "^" (which open strikeout,
// subscripts and superscripts); inside those three a space as well. Everywhere else
// such a backslash stays text, as it always did.
inline bool isPlainSpecial(char c) { return isSpecial(c) || c == '~' || c == '^'; }
inline bool isScriptSpecial(char c) { return isPlainSpecial(c) || c == ' '; }

// The characters at which a rule of the grammar can start.
inline bool isOpener(char c) { return c == '`' || c == '*' || c == '[' || c == '<' || c == '$' || c == '~' || c == '^'; }

// Pictures: brackets holding pictures alone, no target after them ("[![a](<u>)]"), the
// pictures of running text; its text is the pictures'.
enum class InlineRule { None, Code, Strong, Emph, LinkInline, NoteRef, LinkRef, Url, Math, Strike, Sup, Sub, Html, Tex, StrongEmph, Pictures };

// Which backslash escapes a span's text resolves.
enum class Escapes { Marked, Plain, Script };

// Where a rule matched: the whole extent and the byte ranges of the texts it yields.
struct InlineMatch {
    InlineRule rule = InlineRule::None;
    std::size_t end = 0;  // one past the last byte
    // First yielded text (code, strong, emph, math, url, noteref, link text)...
    std::size_t textBegin = 0, textEnd = 0;
    // ...and the second for links (target or label).
    std::size_t secondBegin = 0, secondEnd = 0;
    // The positions of the closing markers (used by the writer to escape them):
    // the first text's closing and, for LinkRef, the second "[" and "]".
    std::size_t close = 0, secondOpen = 0, secondClose = 0;
    // LinkInline with a title: its text (empty range when there is none).
    std::size_t titleBegin = 0, titleEnd = 0;
    bool titled = false;
};

class InlineScanner {
public:
    // Prepares for one piece; the view must stay valid while the scanner is used.
    void reset(std::string_view piece);

    // The first rule of the grammar (in its order) that matches at `at`, a Char boundary.
    InlineMatch matchAt(std::size_t at);

    // The piece's text between two boundaries with escapes resolved: a backslash before
    // a special character (of the span's kind) yields that character.
    void appendText(std::string& out, std::size_t begin, std::size_t end, Escapes escapes = Escapes::Marked) const;

    // A picture inside a link's text at `at`, its "!": "![description](<source>)" or with a
    // title, read as a LinkInline (the description may be empty); rule None otherwise.
    InlineMatch matchPicture(std::size_t at);

    // Length of the Char starting at `at` (2 for an escape, the UTF-8 length otherwise).
    // Escapes pair up the same way in every span: "\~" is one Char wherever it stands.
    std::size_t charLength(std::size_t at) const;

private:
    enum Stop { Backtick, TwoStars, Star, Bracket, Paren, Angle, Dollar, TwoTildes, Tilde, Caret, TitleEnd, PictureOpen, StopCount };
    bool stopsAt(Stop stop, std::size_t j) const {
        const char c = p_[j];
        switch (stop) {
            case Backtick: return c == '`';
            case TwoStars: return c == '*' && j + 1 < p_.size() && p_[j + 1] == '*';
            case Star: return c == '*';
            case Bracket: return c == ']';
            case Paren: return c == ')' || (c == '>' && j + 1 < p_.size() && p_[j + 1] == ')');
            case Angle: return c == '>';
            case Dollar: return c == '$';
            case TwoTildes: return c == '~' && j + 1 < p_.size() && p_[j + 1] == '~';
            case Tilde: return c == '~' || c == ' ';
            case Caret: return c == '^' || c == ' ';
            case TitleEnd: return c == '"' && j + 1 < p_.size() && p_[j + 1] == ')';
            case PictureOpen: return c == '!' && j + 1 < p_.size() && p_[j + 1] == '[';
            default: return false;
        }
    }
    // First boundary on the Char chain from `from` where `stop` holds; npos when none.
    std::size_t scan(Stop stop, std::size_t from);
    std::size_t scanFar(Stop stop, std::size_t from);
    std::size_t nextFrom(Stop stop, std::size_t at);
    const std::vector<unsigned>& nextStops(Stop stop);
    bool escapedFromStart(std::size_t j) const { return oddBackslashesBefore_[j] != 0; }
    // A link's target after its text's closing "]" at `close`: "(<target>)", "(target)" or
    // with a title; `at` is the text's "[".
    InlineMatch matchTarget(std::size_t at, std::size_t close);
    // A link's label after its text's closing "]": "[label]".
    InlineMatch matchLabel(std::size_t at, std::size_t close);
    std::size_t linkTextClose(std::size_t from, std::size_t close);
    std::size_t closeAfterPictures(std::size_t at);
    bool holdsPicturesAlone(std::size_t begin, std::size_t end);

    std::string_view p_;
    std::vector<unsigned char> oddBackslashesBefore_;
    std::array<std::vector<unsigned>, StopCount> next_;
    std::array<bool, StopCount> ready_{};
    bool parityReady_ = false;
    // closeAfterPictures by the "!" it starts at: 0 unknown, else the answer + 1 (npos: the piece's size + 1).
    std::vector<unsigned> pictureClose_;
};

// Appends the spans of one raw text piece to `out` as compact JSON elements, each
// preceded by a comma: ,["plain","..."],["emph","..."]...
void appendInlineSpansJson(InlineScanner& scanner, std::string_view piece, std::string& out);

}  // namespace qorva
