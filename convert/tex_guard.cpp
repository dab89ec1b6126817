#include "convert/tex_guard.h"

#include <algorithm>
#include <iterator>
#include <cctype>

namespace qorva::convert {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Control words refused by their exact name.
constexpr std::string_view kRefusedNames[] = {
    "openin", "closein", "read", "readline", "newread", "immediate", "dump", "shipout", "output", "font",
    "usepackage", "RequirePackage", "RequirePackageWithOptions", "documentclass", "documentstyle", "LoadClass",
    "LoadClassWithOptions", "PassOptionsToPackage", "PassOptionsToClass", "usetikzlibrary", "UseName", "ExpandArgs",
    "makeatletter", "makeatother", "ExplSyntaxOn", "ExplSyntaxOff", "Ucharcat", "url", "href", "nolinkurl",
    "Acrobatmenu", "TextField", "CheckBox", "ChoiceMenu", "PushButton", "Submit", "Reset", "Form", "fontspec",
    "setmainfont", "setsansfont", "setmonofont", "setmathfont", "newfontfamily", "newfontface", "setfontfamily",
    "fontencoding", "fontfamily", "usefont", "graphicspath", "DeclareGraphicsRule", "DeclareGraphicsExtensions",
    "bibliography", "bibliographystyle", "addbibresource", "import", "subimport", "subfile", "batchmode",
    "nonstopmode", "scrollmode", "errorstopmode", "mdfivesum", "openout", "closeout"};

// Parts of names (any case) that mark whole families: driver specials and PDF
// primitives, name building, category codes, file and terminal access, links.
constexpr std::string_view kRefusedParts[] = {
    "special", "pdf",  "xetex", "csname", "catcode", "input",      "include",  "write",
    "file",    "scan", "hyper", "lua",    "shell",   "csuse",      "cslet",    "csdef",
    // \lowercase and \uppercase with changed \lccode or \uccode can spell any name
    // that \begin then calls.
    "lowercase", "uppercase", "lccode", "uccode"};

// Environments refused by name, besides those whose \begin or \end would call a
// refused command.
constexpr std::string_view kRefusedEnvironments[] = {"document", "filecontents", "verbatimwrite"};

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < part.size() && same; ++k) {
            same = std::tolower(static_cast<unsigned char>(text[i + k])) ==
                   std::tolower(static_cast<unsigned char>(part[k]));
        }
        if (same) return true;
    }
    return false;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && containsIgnoringCase(a, b);
}

// Case is ignored so that an environment name cannot pass in capitals.
bool isRefused(std::string_view name) {
    for (std::string_view refused : kRefusedNames) {
        if (sameIgnoringCase(name, refused)) return true;
    }
    // \NewCommandCopy, \NewEnvironmentCopy and their kin copy a command by its name.
    if (name.size() > 4 && name.substr(name.size() - 4) == "Copy") return true;
    return std::any_of(std::begin(kRefusedParts), std::end(kRefusedParts),
                       [&](std::string_view part) { return containsIgnoringCase(name, part); });
}

// \begin{NAME} calls \NAME and \end{NAME} calls \endNAME: the name must be
// written out in letters (a macro there could spell anything) and both commands
// must be allowed.
bool isAllowedEnvironment(std::string_view tex, std::size_t at) {
    if (at >= tex.size() || tex[at] != '{') return false;
    const std::size_t close = tex.find('}', at + 1);
    if (close == std::string_view::npos || close == at + 1) return false;
    std::string_view name = tex.substr(at + 1, close - at - 1);
    if (!std::all_of(name.begin(), name.end(), [](char c) { return isLetter(c) || c == '*'; })) return false;
    const std::string_view bare = name.substr(0, name.find('*'));
    if (std::find(std::begin(kRefusedEnvironments), std::end(kRefusedEnvironments), bare) != std::end(kRefusedEnvironments)) {
        return false;
    }
    return !isRefused(name) && !isRefused("end" + std::string(name));
}

}  // namespace

std::string neutralizeTex(std::string_view tex) {
    // "^^" turns the characters after it into any other character, a backslash
    // or a letter of a name among them, before TeX reads names.
    std::string source;
    source.reserve(tex.size());
    for (std::size_t i = 0; i < tex.size(); ++i) {
        source += tex[i];
        if (tex[i] == '^' && i + 1 < tex.size() && tex[i + 1] == '^') source += "{}";
    }

    std::string out;
    out.reserve(source.size());
    for (std::size_t i = 0; i < source.size();) {
        if (source[i] != '\\') {
            out += source[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < source.size() && isLetter(source[end])) ++end;
        if (end == i + 1) {  // a control symbol: the backslash and one character
            out.append(source, i, std::min<std::size_t>(2, source.size() - i));
            i += 2;
            continue;
        }
        const std::string_view name = std::string_view(source).substr(i + 1, end - i - 1);
        bool refused = isRefused(name);
        if (!refused && (name == "begin" || name == "end")) {
            std::size_t arg = end;
            while (arg < source.size() && source[arg] == ' ') ++arg;
            refused = !isAllowedEnvironment(source, arg);
        }
        if (refused) {
            out += "\\mbox{\\textbackslash{}";
            out += name;
            out += '}';
        } else {
            out.append(source, i, end - i);
        }
        i = end;
    }
    return out;
}

}  // namespace qorva::convert
