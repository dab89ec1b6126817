#include "src/win/view/editor_commands.h"

#include "src/win/menus/command_ids.h"

#include <unordered_map>

namespace qorva {
namespace {

const std::unordered_map<int, std::string_view>& CommandTable() {
    static const std::unordered_map<int, std::string_view> table{
        {command_id::Undo, "undo"},
        {command_id::Redo, "redo"},
        {command_id::Heading1, "styleParagraphHeading1"},
        {command_id::Heading2, "styleParagraphHeading2"},
        {command_id::Heading3, "styleParagraphHeading3"},
        {command_id::Bulleted, "styleParagraphBulleted"},
        {command_id::Numbered, "styleParagraphNumbered"},
        {command_id::CodeBlock, "styleParagraphCode"},
        {command_id::MathBlock, "styleParagraphMath"},
        {command_id::ImageBlock, "styleParagraphImage"},
        {command_id::Note, "styleParagraphNote"},
        {command_id::Quotation, "styleParagraphQuotation"},
        {command_id::Comment, "styleParagraphComment"},
        {command_id::Plain, "styleParagraphPlain"},
        {command_id::Heading4, "styleParagraphHeading4"},
        {command_id::Heading5, "styleParagraphHeading5"},
        {command_id::Heading6, "styleParagraphHeading6"},
        {command_id::HtmlBlock, "styleParagraphHtml"},
        {command_id::TexBlock, "styleParagraphTex"},
        {command_id::Term, "styleParagraphTerm"},
        {command_id::Definition, "styleParagraphDefinition"},
        {command_id::Emphasis, "styleWordEmphasis"},
        {command_id::Strong, "styleWordStrong"},
        {command_id::CodeSpan, "styleWordCode"},
        {command_id::MathSpan, "styleWordMath"},
        {command_id::Url, "styleWordUrl"},
        {command_id::HyperlinkText, "styleWordLink"},
        {command_id::Reference, "styleWordReference"},
        {command_id::ClearFormatting, "styleWordPlain"},
        {command_id::Strikeout, "styleWordStrike"},
        {command_id::Superscript, "styleWordSuperscript"},
        {command_id::Subscript, "styleWordSubscript"},
        {command_id::LeftToRight, "setLTR"},
        {command_id::RightToLeft, "setRTL"},
        {command_id::ShiftUp, "shiftParagraphUp"},
        {command_id::ShiftDown, "shiftParagraphDown"},
        {command_id::ShiftLeft, "shiftParagraphLeft"},
        {command_id::ShiftRight, "shiftParagraphRight"},
        {command_id::Indent, "indentParagraph"},
        {command_id::Unindent, "unindentParagraph"},
        {command_id::FollowLink, "followLink"},
        {command_id::InsertFootnote, "insertFootnote"},
        {command_id::InsertTable, "insertTable"},
        {command_id::InsertRule, "insertHorizontalRule"},
        {command_id::RowBefore, "insertTableRowBefore"},
        {command_id::RowAfter, "insertTableRowAfter"},
        {command_id::ColumnBefore, "insertTableColumnBefore"},
        {command_id::ColumnAfter, "insertTableColumnAfter"},
        {command_id::RemoveRow, "removeTableRow"},
        {command_id::RemoveColumn, "removeTableColumn"},
    };
    return table;
}

}  // namespace

std::string_view PageFunctionForCommand(int id) {
    auto found = CommandTable().find(id);
    return found == CommandTable().end() ? std::string_view{} : found->second;
}

}  // namespace qorva
