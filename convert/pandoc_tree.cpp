#include "convert/pandoc_tree.h"

#include <algorithm>

namespace qorva::convert {
namespace {

constexpr std::size_t kLongestKey = (1u << 24) - 1;

}  // namespace

bool PandocValue::getInt64(std::int64_t& out) const {
    const PandocNode& n = node();
    if (n.type != PandocType::Integer) return false;
    out = n.integer;
    return true;
}

bool PandocValue::at(std::size_t index, PandocValue& out) const {
    if (index >= size()) return false;
    Iterator member = begin();
    for (std::size_t i = 0; i < index; ++i) ++member;
    out = *member;
    return true;
}

bool PandocValue::atKey(std::string_view key, PandocValue& out) const {
    if (!isObject()) return false;
    for (PandocValue member : *this) {
        if (member.key() == key) {
            out = member;
            return true;
        }
    }
    return false;
}

PandocNode& PandocTree::add(PandocType type) {
    if (!open_.empty()) ++at(open_.back()).length;
    if ((size_ & kChunkMask) == 0) chunks_.push_back(std::make_unique_for_overwrite<PandocNode[]>(kChunkMask + 1));
    PandocNode& node = at(size_++);
    node = PandocNode{};
    node.type = type;
    node.key = key_.data();
    node.keyLength = static_cast<std::uint32_t>(std::min<std::size_t>(key_.size(), kLongestKey));
    key_ = {};
    return node;
}

void PandocTree::open(PandocType type) {
    add(type);
    open_.push_back(size_ - 1);
}

void PandocTree::close() {
    at(open_.back()).end = size_;
    open_.pop_back();
}

void PandocTree::string(std::string_view text) {
    PandocNode& node = add(PandocType::String);
    node.text = text.data();
    node.length = static_cast<std::uint32_t>(text.size());
}

void PandocTree::number(double value) { add(PandocType::Real).real = value; }

void PandocTree::copy(simdjson::dom::element value) {
    using simdjson::dom::element_type;
    switch (value.type()) {
        case element_type::ARRAY: {
            const simdjson::dom::array members = value.get_array().value_unsafe();
            beginArray();
            for (simdjson::dom::element member : members) copy(member);
            endArray();
            return;
        }
        case element_type::OBJECT: {
            const simdjson::dom::object fields = value.get_object().value_unsafe();
            beginObject();
            for (simdjson::dom::key_value_pair field : fields) {
                key(field.key);
                copy(field.value);
            }
            endObject();
            return;
        }
        case element_type::STRING: string(value.get_string().value_unsafe()); return;
        case element_type::INT64: add(PandocType::Integer).integer = value.get_int64().value_unsafe(); return;
        case element_type::UINT64:
            add(PandocType::Unsigned).integer = static_cast<std::int64_t>(value.get_uint64().value_unsafe());
            return;
        case element_type::DOUBLE: number(value.get_double().value_unsafe()); return;
        case element_type::BOOL: add(PandocType::Bool).integer = value.get_bool().value_unsafe(); return;
        default: add(PandocType::Null); return;
    }
}

}  // namespace qorva::convert
