#include "src/win/menus/menu_accelerators.h"

#include "src/win/keys/virtual_keys.h"
#include "src/win/menus/command_ids.h"

namespace qorva {
namespace {

namespace id = command_id;

constexpr int C = kModCtrl, A = kModAlt, S = kModShift;

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
        {vk::Delete, S, id::Cut},
        {'C', C, id::Copy},
        {vk::Insert, C, id::Copy},
        {'C', C | S, id::CopyAsHtml},
        {'V', C, id::Paste},
        {vk::Insert, S, id::Paste},
        {vk::Up, A | S, id::ShiftUp},
        {vk::Down, A | S, id::ShiftDown},
        {vk::Left, A | S, id::ShiftLeft},
        {vk::Right, A | S, id::ShiftRight},
        {vk::OemCloseBracket, C, id::Indent},
        {vk::OemOpenBracket, C, id::Unindent},
        {vk::Return, C, id::FollowLink},
        {vk::Right, C | A | S, id::LeftToRight},
        {vk::Left, C | A | S, id::RightToLeft},
        {'F', C, id::Search},
        {'H', C, id::Replace},
        {vk::OemComma, C, id::Preferences},
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
        {vk::OemSlash, C, id::Comment},
        {vk::OemBackslash, C | S, id::Plain},
        {'I', C, id::Emphasis},
        {'B', C, id::Strong},
        {'X', C | S, id::Strikeout},
        {'E', C, id::CodeSpan},
        {'T', C, id::MathSpan},
        {vk::OemBackslash, C, id::ClearFormatting},
        {vk::Up, C | A, id::RowBefore},
        {vk::Down, C | A, id::RowAfter},
        {vk::Left, C | A, id::ColumnBefore},
        {vk::Right, C | A, id::ColumnAfter},
        {vk::Up, A, id::RowBefore},
        {vk::Down, A, id::RowAfter},
        {vk::Left, A, id::ColumnBefore},
        {vk::Right, A, id::ColumnAfter},
        {vk::Back, C | S, id::RemoveRow},
        {vk::Delete, C | S, id::RemoveColumn},
        {vk::F11, 0, id::FullScreen},
        {'O', C | S, id::Outline},
        {vk::OemPlus, C, id::ZoomLarger},
        {vk::OemMinus, C, id::ZoomSmaller},
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
