// Pandoc JSON held in memory as the reader walks it: nodes laid out in document
// order, each container knowing where its subtree ends. Input in the 1.11 form is
// copied in from the parser; current Pandoc's form is translated straight into one
// (pandoc_import.h), so it is never written out as text and parsed again. Strings
// are views: into the parser's buffer, which must outlive the tree, or literals.
#pragma once

#include <simdjson.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace qorva::convert {

enum class PandocType : std::uint8_t { Array, Object, String, Integer, Unsigned, Real, Bool, Null };

struct PandocNode {
    PandocType type;
    std::uint32_t end = 0;    // containers: the index after their last descendant
    std::uint32_t count = 0;  // containers: their members
    std::string_view key;     // members of an object: their key
    std::string_view text;    // strings
    std::int64_t integer = 0;  // Integer, Unsigned (as its bits) and Bool
    double real = 0;
};

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
    const PandocNode& node(std::uint32_t index) const { return nodes_[index]; }

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
    std::vector<PandocNode> nodes_;
    std::vector<std::uint32_t> open_;  // the containers being written, innermost last
    std::string_view key_;

    PandocNode& add(PandocType type);
    void open(PandocType type);
    void close();
};

// The tree of a parsed document.
PandocTree copyPandocTree(simdjson::dom::element document);

}  // namespace qorva::convert
