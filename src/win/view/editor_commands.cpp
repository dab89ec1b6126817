#include "src/win/view/editor_commands.h"

#include <unordered_map>

namespace qorva {
namespace {

const std::unordered_map<int, std::string_view>& CommandTable() {
    static const std::unordered_map<int, std::string_view> table{
        {57643, "undo"},
        {57644, "redo"},
        {32800, "styleParagraphHeading1"},
        {32801, "styleParagraphHeading2"},
        {32802, "styleParagraphHeading3"},
        {32803, "styleParagraphBulleted"},
        {32804, "styleParagraphNumbered"},
        {32805, "styleParagraphCode"},
        {32806, "styleParagraphMath"},
        {32807, "styleParagraphImage"},
        {32808, "styleParagraphNote"},
        {32809, "styleParagraphQuotation"},
        {32810, "styleParagraphComment"},
        {32811, "styleParagraphPlain"},
        {32812, "styleParagraphHeading4"},
        {32813, "styleParagraphHeading5"},
        {32814, "styleParagraphHeading6"},
        {32815, "styleParagraphHtml"},
        {32816, "styleParagraphTex"},
        {32817, "styleParagraphTerm"},
        {32818, "styleParagraphDefinition"},
        {32820, "styleWordEmphasis"},
        {32821, "styleWordStrong"},
        {32822, "styleWordCode"},
        {32823, "styleWordMath"},
        {32824, "styleWordUrl"},
        {32825, "styleWordLink"},
        {32826, "styleWordReference"},
        {32827, "styleWordPlain"},
        {32828, "styleWordStrike"},
        {32829, "styleWordSuperscript"},
        {32830, "styleWordSubscript"},
        {32840, "setLTR"},
        {32841, "setRTL"},
        {32850, "shiftParagraphUp"},
        {32851, "shiftParagraphDown"},
        {32852, "shiftParagraphLeft"},
        {32853, "shiftParagraphRight"},
        {32854, "indentParagraph"},
        {32855, "unindentParagraph"},
        {32860, "followLink"},
        {32870, "insertFootnote"},
        {32871, "insertTable"},
        {32872, "insertHorizontalRule"},
        {32880, "insertTableRowBefore"},
        {32881, "insertTableRowAfter"},
        {32882, "insertTableColumnBefore"},
        {32883, "insertTableColumnAfter"},
        {32884, "removeTableRow"},
        {32885, "removeTableColumn"},
    };
    return table;
}

}  // namespace

bool InCommandTableRange(int id) {
    return (id >= 57643 && id <= 57644) || (id >= 32800 && id <= 32885);
}

std::string_view PageFunctionForCommand(int id) {
    if (!InCommandTableRange(id)) return {};
    auto found = CommandTable().find(id);
    return found == CommandTable().end() ? std::string_view{} : found->second;
}

}  // namespace qorva
