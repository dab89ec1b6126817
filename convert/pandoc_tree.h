// Pandoc JSON held in memory as the reader walks it: nodes laid out in document
// order, each container knowing where its subtree ends. Input in the 1.11 form is
// copied in from the parser; current Pandoc's form is translated straight into one
// (pandoc_import.h), so it is never written out as text and parsed again. Strings
// are views: into the parser's buffer, which must outlive the tree, or literals.
#pragma once

#include <simdjson.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qorva::convert {

enum class PandocType : std::uint8_t { Array, Object, String, Integer, Unsigned, Real, Bool, Null };

// 24 bytes: a document has a node for every value, so size is speed here.
struct PandocNode {
    const char* key = nullptr;  // members of an object: their key
    union {
        const char* text = nullptr;  // String
        std::int64_t integer;        // Integer, Unsigned (as its bits) and Bool
        double real;                 // Real
        std::uint32_t end;           // Array and Object: the index after their last descendant
    };
    std::uint32_t length = 0;  // String: its bytes; Array and Object: their members
    std::uint32_t keyLength : 24 = 0;  // longer keys are cut short: no key of Pandoc's is near
    PandocType type : 8 = PandocType::Null;
};

static_assert(sizeof(PandocNode) == 24);

class PandocTree;

// One node of a tree, with the checked access the readers need.
class PandocValue {
public:
    PandocValue(const PandocTree& tree, std::uint32_t index) : tree_(&tree), index_(index) {}

    PandocType type() const;
    bool isArray() const { return type() == PandocType::Array; }
    bool isObject() const { return type() == PandocType::Object; }
    bool isString() const { return type() == PandocType::String; }
    // False when the node has another type; `out` is then left as it is.
    bool getString(std::string_view& out) const;
    bool getInt64(std::int64_t& out) const;
    bool getDouble(double& out) const;  // a Real or an Integer

    // Arrays and objects: their members, in order (an object's with their keys).
    std::uint32_t size() const;
    bool at(std::size_t index, PandocValue& out) const;
    bool atKey(std::string_view key, PandocValue& out) const;  // the first member of that key
    std::string_view key() const;

    class Iterator {
    public:
        Iterator(const PandocTree& tree, std::uint32_t index) : tree_(&tree), index_(index) {}
        PandocValue operator*() const { return {*tree_, index_}; }
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return index_ != other.index_; }

    private:
        const PandocTree* tree_;
        std::uint32_t index_;
    };
    Iterator begin() const;
    Iterator end() const;

private:
    const PandocTree* tree_;
    std::uint32_t index_;
    const PandocNode& node() const;
};

class PandocTree {
public:
    // The first node written; the tree must not be empty.
    PandocValue root() const { return {*this, 0}; }
    const PandocNode& node(std::uint32_t index) const { return chunks_[index >> kChunkBits][index & kChunkMask]; }

    // Writing, in document order. Inside an object, key() names the next value.
    void beginArray() { open(PandocType::Array); }
    void beginObject() { open(PandocType::Object); }
    void endArray() { close(); }
    void endObject() { close(); }
    void key(std::string_view name) { key_ = name; }
    void string(std::string_view text);
    void number(double value);
    // A parsed value with everything inside it.
    void copy(simdjson::dom::element value);

private:
    // Nodes in fixed chunks: a growing document is never moved, and each chunk is small
    // enough for the allocator to hand out again without asking the system.
    static constexpr std::uint32_t kChunkBits = 15;
    static constexpr std::uint32_t kChunkMask = (1u << kChunkBits) - 1;
    std::vector<std::unique_ptr<PandocNode[]>> chunks_;
    std::uint32_t size_ = 0;

    PandocNode& at(std::uint32_t index) { return chunks_[index >> kChunkBits][index & kChunkMask]; }
    std::vector<std::uint32_t> open_;  // the containers being written, innermost last
    std::string_view key_;

    PandocNode& add(PandocType type);
    void open(PandocType type);
    void close();
};

inline const PandocNode& PandocValue::node() const { return tree_->node(index_); }

inline PandocType PandocValue::type() const { return node().type; }

inline bool PandocValue::getString(std::string_view& out) const {
    const PandocNode& n = node();
    if (n.type != PandocType::String) return false;
    out = {n.text, n.length};
    return true;
}

inline bool PandocValue::getDouble(double& out) const {
    const PandocNode& n = node();
    if (n.type == PandocType::Real) out = n.real;
    else if (n.type == PandocType::Integer) out = static_cast<double>(n.integer);
    else return false;
    return true;
}

inline std::uint32_t PandocValue::size() const {
    const PandocNode& n = node();
    return n.type == PandocType::Array || n.type == PandocType::Object ? n.length : 0;
}

inline std::string_view PandocValue::key() const {
    const PandocNode& n = node();
    return {n.key, n.keyLength};
}

inline PandocValue::Iterator& PandocValue::Iterator::operator++() {
    const PandocNode& n = tree_->node(index_);
    index_ = n.type == PandocType::Array || n.type == PandocType::Object ? n.end : index_ + 1;
    return *this;
}

inline PandocValue::Iterator PandocValue::begin() const { return {*tree_, size() > 0 ? index_ + 1 : index_}; }

inline PandocValue::Iterator PandocValue::end() const { return {*tree_, size() > 0 ? node().end : index_}; }

}  // namespace qorva::convert
