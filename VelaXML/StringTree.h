#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Ternary search tree from byte strings to 32-bit values: each node holds one
// byte of a key, its children continue the key, and siblings are kept in
// ascending byte order. Keys are case-sensitive; the empty key is never stored.
class TVelaXMLStringTree {
public:
    // Stores value under key when replace is true or the key has no value yet; returns whether it stored.
    bool Add(std::string_view key, int32_t value, bool replace);
    // Finds the value of key; false when the key was never stored.
    bool Find(std::string_view key, int32_t& value) const;
    // Makes room for nodes new key bytes without regrowth.
    void Reserve(size_t nodes) { nodes_.reserve(nodes_.size() + nodes); }
    // Removes every key.
    void Clear();
    // Number of tree nodes (one per distinct key prefix).
    size_t NodeCount() const { return nodes_.size(); }

private:
    // Nodes live in one array and link by index, so freeing a tree of any
    // depth is a single deallocation and never recurses.
    struct Node {
        uint8_t character;
        bool hasValue;
        int32_t value;
        int32_t parent;
        int32_t child;
        int32_t previous;
        int32_t next;
    };
    static constexpr int32_t None = -1;

    int32_t findSibling(int32_t first, uint8_t character) const;
    int32_t firstChildOf(int32_t node) const { return node == None ? first_ : nodes_[node].child; }

    std::vector<Node> nodes_;
    int32_t first_ = None;
};
