#include "src/win/menus/menu_accelerators.h"

#include "src/win/menus/menu_commands.h"

namespace qorva {
namespace {

namespace id = menu_id;

constexpr int C = 1, A = 2, S = 4;
// Virtual-key codes of keys that are not letters or digits.
constexpr int kBack = 8, kReturn = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kDelete = 46,
              kF11 = 122, kCommaKey = 188, kPlusKey = 187, kMinusKey = 189, kSlashKey = 191, kOpenBracket = 219, kBackslash = 220,
              kCloseBracket = 221;

}  // namespace

const std::vector<Accelerator>& AcceleratorTable() {
    static const std::vector<Accelerator> table = {
        {'N', C, id::New},
        {'O', C, id::Open},
        {'S', C, id::Save},
        {'E', C | A | S, id::RepeatExport},
        {'P', C, id::Print},
        {'W', C, id::Close},
        {'Q', C, id::Exit},
        {'Z', C, id::Undo},
        {'Z', C | S, id::Redo},
        {'Y', C, id::Redo},
        {'X', C, id::Cut},
        {kDelete, S, id::Cut},
        {'C', C, id::Copy},
        {kInsert, C, id::Copy},
        {'C', C | S, id::CopyAsHtml},
        {'V', C, id::Paste},
        {kInsert, S, id::Paste},
        {kUp, A | S, id::ShiftUp},
        {kDown, A | S, id::ShiftDown},
        {kLeft, A | S, id::ShiftLeft},
        {kRight, A | S, id::ShiftRight},
        {kCloseBracket, C, id::Indent},
        {kOpenBracket, C, id::Unindent},
        {kReturn, C, id::FollowLink},
        {kRight, C | A | S, id::LeftToRight},
        {kLeft, C | A | S, id::RightToLeft},
        {'F', C, id::Search},
        {'H', C, id::Replace},
        {kCommaKey, C, id::Preferences},
        {'K', C, id::InsertHyperlink},
        {'R', C, id::InsertFootnote},
        {'I', C | S, id::InsertImage},
        {'L', C | S, id::InsertTable},
        {'1', C, id::Heading1},
        {'2', C, id::Heading2},
        {'3', C, id::Heading3},
        {'4', C, id::Heading4},
        {'5', C, id::Heading5},
        {'6', C, id::Heading6},
        {'B', C | S, id::Bulleted},
        {'N', C | S, id::Numbered},
        {'E', C | S, id::CodeBlock},
        {'T', C | S, id::MathBlock},
        {'Q', C | S, id::Quotation},
        {kSlashKey, C, id::Comment},
        {kBackslash, C | S, id::Plain},
        {'I', C, id::Emphasis},
        {'B', C, id::Strong},
        {'X', C | S, id::Strikeout},
        {'E', C, id::CodeSpan},
        {'T', C, id::MathSpan},
        {kBackslash, C, id::ClearFormatting},
        {kUp, C | A, id::RowBefore},
        {kDown, C | A, id::RowAfter},
        {kLeft, C | A, id::ColumnBefore},
        {kRight, C | A, id::ColumnAfter},
        {kUp, A, id::RowBefore},
        {kDown, A, id::RowAfter},
        {kLeft, A, id::ColumnBefore},
        {kRight, A, id::ColumnAfter},
        {kBack, C | S, id::RemoveRow},
        {kDelete, C | S, id::RemoveColumn},
        {kF11, 0, id::FullScreen},
        {'O', C | S, id::Outline},
        {kPlusKey, C, id::ZoomLarger},
        {kMinusKey, C, id::ZoomSmaller},
        {'0', C, id::ZoomReset},
    };
    return table;
}

std::optional<int> AcceleratorCommand(int virtualKey, int modifiers) {
    for (const Accelerator& accelerator : AcceleratorTable()) {
        if (accelerator.virtualKey == virtualKey && accelerator.modifiers == modifiers) return accelerator.commandId;
    }
    return std::nullopt;
}

}  // namespace qorva
