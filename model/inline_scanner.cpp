#include "model/inline_scanner.h"

#include "model/json_text.h"
#include "model/utf8.h"

#include <algorithm>

namespace qorva {

void InlineScanner::reset(std::string_view piece) {
    p_ = piece;
    ready_.fill(false);
    parityReady_ = false;
    pictureClose_.clear();
}

std::size_t InlineScanner::charLength(std::size_t at) const {
    if (p_[at] == '\\' && at + 1 < p_.size() && isScriptSpecial(p_[at + 1])) return 2;
    return utf8::sequenceLength(static_cast<unsigned char>(p_[at]));
}

// next_[stop][i]: the first j >= i where `stop` holds and the Char chain from the start
// of the piece reaches j (a special character after an odd run of backslashes is the
// second half of an escape). Chains from any later start agree with it except inside a
// run of backslashes that begins at that start, which scan() handles itself.
const std::vector<unsigned>& InlineScanner::nextStops(Stop stop) {
    std::vector<unsigned>& next = next_[stop];
    if (ready_[stop]) return next;
    const std::size_t n = p_.size();
    if (!parityReady_) {
        oddBackslashesBefore_.assign(n + 1, 0);
        for (std::size_t i = 1; i <= n; ++i) oddBackslashesBefore_[i] = p_[i - 1] == '\\' ? !oddBackslashesBefore_[i - 1] : 0;
        parityReady_ = true;
    }
    next.resize(n + 1);
    next[n] = static_cast<unsigned>(n);
    for (std::size_t i = n; i-- > 0;) {
        const bool reached = !(escapedFromStart(i) && isScriptSpecial(p_[i]));
        next[i] = reached && stopsAt(stop, i) ? static_cast<unsigned>(i) : next[i + 1];
    }
    ready_[stop] = true;
    return next;
}

std::size_t InlineScanner::scan(Stop stop, std::size_t at) {
    // Most openers find their closer within a few words: walk the Char chain for a
    // while, and only for longer distances use the table built once per piece.
    const std::size_t n = p_.size();
    // Once a piece has needed the table for this stop, it holds unclosed markers: use
    // the table from then on.
    if (ready_[stop]) return at >= n ? std::string_view::npos : scanFar(stop, at);
    const std::size_t limit = std::min(n, at + 128);
    while (at < limit) {
        const char c = p_[at];
        if (c == '\\' && at + 1 < n && isScriptSpecial(p_[at + 1])) {
            at += 2;
            continue;
        }
        if (stopsAt(stop, at)) return at;
        at += utf8::sequenceLength(static_cast<unsigned char>(c));
    }
    if (at >= n) return std::string_view::npos;
    return scanFar(stop, at);
}

// The scan from any position, through the table: handles a run of backslashes that
// starts exactly at `at`, after which the chain agrees with the one from the start of
// the piece.
std::size_t InlineScanner::scanFar(Stop stop, std::size_t at) {
    const std::size_t n = p_.size();
    if (at < n && p_[at] == '\\') {
        std::size_t run = 0;
        while (at + run < n && p_[at + run] == '\\') ++run;
        at += run;
        if (run % 2 == 1 && at < n && isScriptSpecial(p_[at])) {
            ++at;  // the run's last backslash escapes this character
            return at >= n ? std::string_view::npos : nextFrom(stop, at);
        }
    }
    // p_[at] is on the chain and is no backslash.
    if (at >= n) return std::string_view::npos;
    if (stopsAt(stop, at)) return at;
    at += utf8::sequenceLength(static_cast<unsigned char>(p_[at]));
    // After a character that is no backslash the chain agrees with the one from the
    // start of the piece.
    return at >= n ? std::string_view::npos : nextFrom(stop, at);
}

std::size_t InlineScanner::nextFrom(Stop stop, std::size_t at) {
    const std::size_t j = nextStops(stop)[at];
    return j >= p_.size() ? std::string_view::npos : j;
}

InlineMatch InlineScanner::matchAt(std::size_t at) {
    const std::size_t n = p_.size();
    const auto npos = std::string_view::npos;
    const char c = p_[at];
    const char d = at + 1 < n ? p_[at + 1] : '\0';
    InlineMatch m;
    // A rule "opener, one or more Char none at the stop, closer": the stop must come
    // after at least one Char.
    auto enclosed = [&](InlineRule rule, std::size_t open, Stop stop, std::size_t closeLength) {
        const std::size_t j = scan(stop, at + open);
        if (j == npos || j == at + open) return false;
        m = InlineMatch{rule, j + closeLength, at + open, j, 0, 0, j, 0, 0};
        return true;
    };
    switch (c) {
        case '`':
            // Code directly followed by "{=html}" or "{=tex}" ("{=latex}") is raw.
            if (enclosed(InlineRule::Code, 1, Backtick, 1)) {
                for (const auto& [suffix, rule] : {std::pair{std::string_view("{=html}"), InlineRule::Html},
                                                   std::pair{std::string_view("{=tex}"), InlineRule::Tex},
                                                   std::pair{std::string_view("{=latex}"), InlineRule::Tex}}) {
                    if (p_.substr(m.end, suffix.size()) == suffix) {
                        m.rule = rule;
                        m.end += suffix.size();
                        break;
                    }
                }
            }
            return m;
        case '~':
            // Strikeout starts with neither a space nor a tilde, so runs of tildes stay text.
            if (d == '~' && at + 2 < n && p_[at + 2] != ' ' && p_[at + 2] != '~' && enclosed(InlineRule::Strike, 2, TwoTildes, 2))
                return m;
            m = InlineMatch{};
            if (enclosed(InlineRule::Sub, 1, Tilde, 1) && p_[m.close] != '~') m = InlineMatch{};
            return m;
        case '^':
            if (enclosed(InlineRule::Sup, 1, Caret, 1) && p_[m.close] != '^') m = InlineMatch{};
            return m;
        case '*':
            // "***text***": strong emphasised text, holding no star of its own.
            if (d == '*' && at + 2 < n && p_[at + 2] == '*') {
                const std::size_t j = scan(Star, at + 3);
                if (j != npos && j > at + 3 && j + 2 < n && p_[j + 1] == '*' && p_[j + 2] == '*')
                    return InlineMatch{InlineRule::StrongEmph, j + 3, at + 3, j, 0, 0, j, 0, 0};
            }
            if (d == '*' && enclosed(InlineRule::Strong, 2, TwoStars, 2)) return m;
            enclosed(InlineRule::Emph, 1, Star, 1);
            return m;
        case '<':
            enclosed(InlineRule::Url, 1, Angle, 1);
            return m;
        case '$':
            enclosed(InlineRule::Math, 1, Dollar, 1);
            return m;
        case '[': break;
        default: return m;
    }
    // "[" starts a link with a target, a footnote reference or a link with a label. A text
    // holding a picture runs to the "]" after it; when that makes no link, the text ends at
    // its first "]", as an older file's link text "![a" did.
    const std::size_t close = scan(Bracket, at + 1);
    if (const std::size_t pictured = linkTextClose(at + 1, close); pictured != close) {
        if (InlineMatch link = matchTarget(at, pictured); link.rule != InlineRule::None) return link;
        if (InlineMatch link = matchLabel(at, pictured); link.rule != InlineRule::None) return link;
        if (holdsPicturesAlone(at + 1, pictured)) return InlineMatch{InlineRule::Pictures, pictured + 1, at + 1, pictured, 0, 0, pictured, 0, 0};
    }
    const bool text = close != npos && close > at + 1;
    if (text) {
        const InlineMatch link = matchTarget(at, close);
        if (link.rule != InlineRule::None) return link;
    }
    if (d == '^') {
        const std::size_t j = scan(Bracket, at + 2);
        if (j != npos && j > at + 2) return InlineMatch{InlineRule::NoteRef, j + 1, at + 2, j, 0, 0, j, 0, 0};
    }
    return text ? matchLabel(at, close) : m;
}

InlineMatch InlineScanner::matchLabel(std::size_t at, std::size_t close) {
    const std::size_t n = p_.size();
    if (close + 1 >= n || p_[close + 1] != '[' || (close + 2 < n && p_[close + 2] == '^')) return {};
    const std::size_t j = scan(Bracket, close + 2);
    if (j == std::string_view::npos || j <= close + 2) return {};
    return InlineMatch{InlineRule::LinkRef, j + 1, at + 1, close, close + 2, j, close, close + 1, j};
}

InlineMatch InlineScanner::matchTarget(std::size_t at, std::size_t close) {
    const std::size_t n = p_.size();
    const auto npos = std::string_view::npos;
    if (close + 1 >= n || p_[close + 1] != '(') return {};
    std::size_t target = close + 2;
    const bool angle = target < n && p_[target] == '<';
    if (angle) ++target;
    // A target in angle brackets may hold parentheses: it ends at its first ">",
    // followed either by ")" or by " \"title\")" (the title runs to the first "\")").
    std::size_t stop = angle ? scan(Angle, target) : npos;
    if (stop != npos && stop > target && stop + 2 < n && p_[stop + 1] == ' ' && p_[stop + 2] == '"') {
        const std::size_t end = scan(TitleEnd, stop + 3);
        if (end != npos) {
            InlineMatch titled{InlineRule::LinkInline, end + 2, at + 1, close, target, stop, close, 0, 0};
            titled.titleBegin = stop + 3, titled.titleEnd = end, titled.titled = true;
            return titled;
        }
    }
    if (stop == npos || stop + 1 >= n || p_[stop + 1] != ')') stop = scan(Paren, target);
    if (stop == npos || stop <= target) return {};
    std::size_t end = stop;
    if (p_[end] == '>') ++end;
    return InlineMatch{InlineRule::LinkInline, end + 1, at + 1, close, target, stop, close, 0, 0};
}

// Whether the text from `begin` to `end` is one picture after another, nothing between.
bool InlineScanner::holdsPicturesAlone(std::size_t begin, std::size_t end) {
    std::size_t at = begin;
    while (at < end) {
        const InlineMatch picture = matchPicture(at);
        if (picture.rule != InlineRule::LinkInline || picture.end > end) return false;
        at = picture.end;
    }
    return at == end && end > begin;
}

InlineMatch InlineScanner::matchPicture(std::size_t at) {
    if (at + 1 >= p_.size() || p_[at] != '!' || p_[at + 1] != '[') return {};
    const std::size_t close = scan(Bracket, at + 2);
    return close == std::string_view::npos ? InlineMatch{} : matchTarget(at + 1, close);
}

// The "]" that closes a link's text starting at `from`, whose first "]" is `close`, when
// pictures in the text are passed over whole: `close` itself when the first "![" in the
// text starts no picture or its pictures leave no "]" after them.
std::size_t InlineScanner::linkTextClose(std::size_t from, std::size_t close) {
    const auto npos = std::string_view::npos;
    if (close == npos) return npos;
    const std::size_t picture = scan(PictureOpen, from);
    if (picture == npos || picture >= close) return close;
    const std::size_t after = closeAfterPictures(picture);
    return after == npos ? close : after;
}

// The first "]" after the picture at `at` and the pictures that follow it before that "]";
// npos when `at` starts no picture. Answers are kept for every picture of the chain, so a
// piece of many pictures and brackets is still read in linear time.
std::size_t InlineScanner::closeAfterPictures(std::size_t at) {
    constexpr unsigned kUnknown = 0, kNoPicture = 1, kNoClose = 2, kClose = 3;  // kClose + the "]"
    const auto npos = std::string_view::npos;
    if (pictureClose_.empty()) pictureClose_.assign(p_.size() + 1, kUnknown);
    thread_local std::vector<std::size_t> chain;
    chain.clear();
    std::size_t answer = npos;
    for (std::size_t picture = at;;) {
        if (const unsigned known = pictureClose_[picture]; known != kUnknown) {
            if (known != kNoPicture) answer = known == kNoClose ? npos : known - kClose;
            break;
        }
        const InlineMatch m = matchPicture(picture);
        if (m.rule == InlineRule::None) {
            pictureClose_[picture] = kNoPicture;  // text: the "]" found after the picture before it stands
            break;
        }
        chain.push_back(picture);
        answer = scan(Bracket, m.end);
        const std::size_t next = scan(PictureOpen, m.end);
        if (answer == npos || next == npos || next >= answer) break;
        picture = next;
    }
    for (std::size_t picture : chain) pictureClose_[picture] = answer == npos ? kNoClose : static_cast<unsigned>(answer + kClose);
    return answer;
}

void InlineScanner::appendText(std::string& out, std::size_t begin, std::size_t end, Escapes escapes) const {
    const auto escaped = escapes == Escapes::Marked ? isSpecial : escapes == Escapes::Plain ? isPlainSpecial : isScriptSpecial;
    std::size_t clean = begin;
    for (std::size_t i = begin; i < end;) {
        if (p_[i] == '\\' && i + 1 < p_.size() && escaped(p_[i + 1])) {
            out.append(p_.substr(clean, i - clean));
            out += p_[i + 1];
            i += 2;
            clean = i;
        } else {
            i += utf8::sequenceLength(static_cast<unsigned char>(p_[i]));
        }
    }
    out.append(p_.substr(clean, end - clean));
}

namespace {

void appendSpan(std::string& out, const char* tag, const std::string& text) {
    out += ",[\"";
    out += tag;
    out += "\",";
    appendJsonString(out, text);
    out += ']';
}

// A picture inside a link's text: "linkimage" (its description), "linkimageurl" and, when
// it has one, "linkimagetitle".
void appendPictureJson(const InlineScanner& scanner, const InlineMatch& picture, std::string& out) {
    std::string part;
    scanner.appendText(part, picture.textBegin, picture.textEnd);
    appendSpan(out, "linkimage", part);
    part.clear();
    scanner.appendText(part, picture.secondBegin, picture.secondEnd);
    appendSpan(out, "linkimageurl", part);
    if (!picture.titled || picture.titleBegin == picture.titleEnd) return;
    part.clear();
    scanner.appendText(part, picture.titleBegin, picture.titleEnd);
    appendSpan(out, "linkimagetitle", part);
}

// The tags the parts of a styled text get: code, emphasis and strong emphasis in it, and
// the rest. A null tag leaves that mark-up text. Pictures are parts of a link's text only.
// Links standing whole in the text's style are read when `url` and `linkref` name their
// target tags ("emphurl", "emphlinkref"); `emphLinks` are those of an emphasis inside it.
struct PartTags {
    const char *plain, *code, *emph, *strong;
    bool pictures = false;
    const char *url = nullptr, *linkref = nullptr;
    const PartTags* emphLinks = nullptr;
};

constexpr PartTags kEmphParts{"emph", "emphcode", nullptr, nullptr, false, "emphurl", "emphlinkref"};
constexpr PartTags kStrongEmphParts{"strongemph", nullptr, nullptr, nullptr, false, "strongemphurl", "strongemphlinkref"};
constexpr PartTags kStrongParts{"strong", "strongcode", "strongemph", nullptr, false, "strongurl", "stronglinkref", &kStrongEmphParts};

void appendLinkTextJson(std::string_view text, std::string& out);

// A link (or address) at a match, its target tagged as `tags` says.
void appendOuterLinkJson(const InlineScanner& scanner, std::string_view text, const InlineMatch& m, std::string& out,
                         const PartTags& tags) {
    std::string part;
    if (m.rule == InlineRule::Url) {
        scanner.appendText(part, m.textBegin, m.textEnd);
        appendSpan(out, tags.url, part);
        return;
    }
    appendLinkTextJson(text.substr(m.textBegin, m.textEnd - m.textBegin), out);
    scanner.appendText(part, m.secondBegin, m.secondEnd);
    appendSpan(out, m.rule == InlineRule::LinkInline ? tags.url : tags.linkref, part);
    if (!m.titled) return;
    part.clear();
    scanner.appendText(part, m.titleBegin, m.titleEnd);
    appendSpan(out, "title", part);
}

// Splits a text into its code, emphasis and strong emphasis (as `tags` has them), its
// pictures or links when `tags` takes them, and the rest; every other mark-up stays text.
void appendStyledPartsJson(InlineScanner& scanner, std::string_view text, std::string& out, const PartTags& tags) {
    scanner.reset(text);
    std::string part;
    std::size_t at = 0, plainStart = 0;
    auto flushPlain = [&](std::size_t end) {
        if (end == plainStart) return;
        part.clear();
        scanner.appendText(part, plainStart, end);
        appendSpan(out, tags.plain, part);
    };
    while (at < text.size()) {
        const char c = text[at];
        InlineMatch m;
        if (c == '`' || (c == '*' && (tags.emph || tags.strong)) || ((c == '[' || c == '<') && tags.url)) m = scanner.matchAt(at);
        else if (c == '!' && tags.pictures) m = scanner.matchPicture(at);
        if (c == '[' && m.rule != InlineRule::LinkInline && m.rule != InlineRule::LinkRef) m = InlineMatch{};
        if (tags.url && (m.rule == InlineRule::LinkInline || m.rule == InlineRule::LinkRef || m.rule == InlineRule::Url)) {
            flushPlain(at);
            appendOuterLinkJson(scanner, text, m, out, tags);
            at = plainStart = m.end;
            continue;
        }
        if (m.rule == InlineRule::Emph && tags.emphLinks && text.substr(m.textBegin, m.textEnd - m.textBegin).find_first_of("[<") != std::string_view::npos) {
            flushPlain(at);
            InlineScanner inner;  // this one stays in use
            appendStyledPartsJson(inner, text.substr(m.textBegin, m.textEnd - m.textBegin), out, *tags.emphLinks);
            at = plainStart = m.end;
            continue;
        }
        // Code followed by "{=html}" is code here, the suffix text.
        if (m.rule == InlineRule::Html || m.rule == InlineRule::Tex) m.rule = InlineRule::Code, m.end = m.close + 1;
        const char* tag = m.rule == InlineRule::Code ? tags.code : m.rule == InlineRule::Emph ? tags.emph
                        : m.rule == InlineRule::Strong ? tags.strong : m.rule == InlineRule::LinkInline ? "linkimage" : nullptr;
        if (!tag) {
            at += scanner.charLength(at);
            continue;
        }
        flushPlain(at);
        if (m.rule == InlineRule::LinkInline) {
            appendPictureJson(scanner, m, out);
            at = plainStart = m.end;
            continue;
        }
        part.clear();
        scanner.appendText(part, m.textBegin, m.textEnd);
        appendSpan(out, tag, part);
        at = plainStart = m.end;
    }
    flushPlain(at);
}

// A link's text: code, emphasis and strong emphasis become "linkcode", "linkemph" and
// "linkstrong", the rest "linktext"; every other mark-up stays text, as it always did.
void appendLinkTextJson(std::string_view text, std::string& out) {
    thread_local InlineScanner scanner;
    appendStyledPartsJson(scanner, text, out, {"linktext", "linkcode", "linkemph", "linkstrong", true});
}

}  // namespace

void appendInlineSpansJson(InlineScanner& scanner, std::string_view piece, std::string& out) {
    thread_local InlineScanner styleScanner;  // for the text inside emphasis
    scanner.reset(piece);
    std::string text, second;
    std::size_t at = 0, plainStart = 0;
    auto flushPlain = [&](std::size_t end) {
        if (end == plainStart) return;
        text.clear();
        scanner.appendText(text, plainStart, end, Escapes::Plain);
        appendSpan(out, "plain", text);
    };
    while (at < piece.size()) {
        const char c = piece[at];
        InlineMatch m;
        if (isOpener(c)) m = scanner.matchAt(at);
        if (m.rule == InlineRule::None) {
            at += scanner.charLength(at);
            continue;
        }
        flushPlain(at);
        text.clear();
        const bool script = m.rule == InlineRule::Sup || m.rule == InlineRule::Sub || m.rule == InlineRule::Strike;
        scanner.appendText(text, m.textBegin, m.textEnd, script ? Escapes::Script : Escapes::Marked);
        switch (m.rule) {
            case InlineRule::Code: appendSpan(out, "code", text); break;
            case InlineRule::Strong:
            case InlineRule::Emph: {
                const std::string_view inner = piece.substr(m.textBegin, m.textEnd - m.textBegin);
                const bool strong = m.rule == InlineRule::Strong;
                if (inner.find_first_of(strong ? "`*[<" : "`[<") == std::string_view::npos) appendSpan(out, strong ? "strong" : "emph", text);
                else appendStyledPartsJson(styleScanner, inner, out, strong ? kStrongParts : kEmphParts);
                break;
            }
            case InlineRule::Url: appendSpan(out, "url", text); break;
            case InlineRule::Math: appendSpan(out, "math", text); break;
            case InlineRule::Strike: appendSpan(out, "strike", text); break;
            case InlineRule::Sup: appendSpan(out, "sup", text); break;
            case InlineRule::Sub: appendSpan(out, "sub", text); break;
            case InlineRule::Html: appendSpan(out, "html", text); break;
            case InlineRule::Tex: appendSpan(out, "tex", text); break;
            case InlineRule::NoteRef: appendSpan(out, "noteref", text); break;
            case InlineRule::LinkInline:
            case InlineRule::LinkRef:
                appendLinkTextJson(piece.substr(m.textBegin, m.textEnd - m.textBegin), out);
                second.clear();
                scanner.appendText(second, m.secondBegin, m.secondEnd);
                appendSpan(out, m.rule == InlineRule::LinkInline ? "url" : "linkref", second);
                if (m.titled) {
                    second.clear();
                    scanner.appendText(second, m.titleBegin, m.titleEnd);
                    appendSpan(out, "title", second);
                }
                break;
            case InlineRule::StrongEmph: {
                const std::string_view inner = piece.substr(m.textBegin, m.textEnd - m.textBegin);
                if (inner.find_first_of("[<") == std::string_view::npos) appendSpan(out, "strongemph", text);
                else appendStyledPartsJson(styleScanner, inner, out, kStrongEmphParts);
                break;
            }
            case InlineRule::Pictures:
                for (std::size_t picture = m.textBegin; picture < m.textEnd;) {
                    const InlineMatch one = scanner.matchPicture(picture);
                    appendPictureJson(scanner, one, out);
                    picture = one.end;
                }
                break;
            case InlineRule::None: break;
        }
        at = plainStart = m.end;
    }
    flushPlain(at);
}

}  // namespace qorva
