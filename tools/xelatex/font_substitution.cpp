#include "tools/xelatex/font_substitution.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <regex>
#include <strings.h>

namespace qorva {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const char* genericFamily(FontRole role) {
    switch (role) {
        case FontRole::Sans: return "sans-serif";
        case FontRole::Mono: return "monospace";
        default: return "serif";
    }
}

FcConfig* config() {
    static FcConfig* loaded = FcInitLoadConfigAndFonts();
    return loaded;
}

}  // namespace

bool IsFontFamilyInstalled(std::string_view family) {
    if (!config() || family.empty()) return false;
    std::string name(family);
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(config(), pattern.get(), objects.get()));
    return fonts && fonts->nfont > 0;
}

std::string InstalledSubstitute(std::string_view family, FontRole role) {
    if (!config()) return {};
    std::string name(family);
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(genericFamily(role)));
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (role == FontRole::Mono) FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
    FcConfigSubstitute(config(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config(), pattern.get(), &result));
    if (!match) return {};
    FcChar8* matched = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) != FcResultMatch) return {};
    // A bitmap-only match cannot be used by XeLaTeX.
    if (FcPatternGetBool(match.get(), FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) return {};
    return reinterpret_cast<const char*>(matched);
}

std::string SubstituteMissingFonts(std::string_view latex) {
    static const std::regex command(R"((\\set(main|sans|mono)font\s*(?:\[[^\]]*\])?\s*\{)([^}]*)\})");
    std::string text(latex);
    std::string result;
    auto last = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), command), end; it != end; ++it) {
        const std::smatch& found = *it;
        result.append(last, found[0].first);
        last = found[0].second;
        std::string family = found[3].str();
        if (IsFontFamilyInstalled(family)) {
            result += found[0].str();
            continue;
        }
        std::string kind = found[2].str();
        FontRole role = kind == "mono" ? FontRole::Mono : kind == "sans" ? FontRole::Sans : FontRole::Main;
        std::string substitute = InstalledSubstitute(family, role);
        if (substitute.empty())
            result += "% " + found[0].str() + " (font not installed)";
        else
            result += found[1].str() + substitute + "}";
    }
    result.append(last, text.cend());
    return result;
}

}  // namespace qorva
