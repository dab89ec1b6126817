#include "convert/pandoc_tree.h"

namespace qorva::convert {

PandocType PandocValue::type() const { return node().type; }

const PandocNode& PandocValue::node() const { return tree_->node(index_); }

bool PandocValue::getString(std::string_view& out) const {
    if (!isString()) return false;
    out = node().text;
    return true;
}

bool PandocValue::getInt64(std::int64_t& out) const {
    const PandocNode& n = node();
    if (n.type != PandocType::Integer) return false;
    out = n.integer;
    return true;
}

std::uint32_t PandocValue::size() const {
    const PandocNode& n = node();
    return n.type == PandocType::Array || n.type == PandocType::Object ? n.count : 0;
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

std::string_view PandocValue::key() const { return node().key; }

PandocValue::Iterator& PandocValue::Iterator::operator++() {
    const PandocNode& n = tree_->node(index_);
    index_ = n.type == PandocType::Array || n.type == PandocType::Object ? n.end : index_ + 1;
    return *this;
}

PandocValue::Iterator PandocValue::begin() const { return {*tree_, size() > 0 ? index_ + 1 : index_}; }

PandocValue::Iterator PandocValue::end() const { return {*tree_, size() > 0 ? node().end : index_}; }

PandocNode& PandocTree::add(PandocType type) {
    if (!open_.empty()) ++nodes_[open_.back()].count;
    PandocNode& node = nodes_.emplace_back();
    node.type = type;
    node.key = key_;
    key_ = {};
    return node;
}

void PandocTree::open(PandocType type) {
    add(type);
    open_.push_back(static_cast<std::uint32_t>(nodes_.size() - 1));
}

void PandocTree::close() {
    nodes_[open_.back()].end = static_cast<std::uint32_t>(nodes_.size());
    open_.pop_back();
}

void PandocTree::string(std::string_view text) { add(PandocType::String).text = text; }

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

PandocTree copyPandocTree(simdjson::dom::element document) {
    PandocTree tree;
    tree.copy(document);
    return tree;
}

}  // namespace qorva::convert
