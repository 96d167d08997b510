#include "VelaXML/StringTree.h"

int32_t TVelaXMLStringTree::findSibling(int32_t first, uint8_t character) const
{
    for (int32_t n = first; n != None && nodes_[n].character <= character; n = nodes_[n].next) {
        if (nodes_[n].character == character) {
            return n;
        }
    }
    return None;
}

bool TVelaXMLStringTree::Add(std::string_view key, int32_t value, bool replace)
{
    if (key.empty()) {
        return false;
    }
    int32_t parent = None;
    for (const char c : key) {
        const auto character = static_cast<uint8_t>(c);
        int32_t previous = None;
        int32_t n = firstChildOf(parent);
        while (n != None && nodes_[n].character < character) {
            previous = n;
            n = nodes_[n].next;
        }
        if (n == None || nodes_[n].character != character) {
            const auto created = static_cast<int32_t>(nodes_.size());
            nodes_.push_back(Node{character, false, 0, parent, None, previous, n});
            if (previous != None) {
                nodes_[previous].next = created;
            } else if (parent == None) {
                first_ = created;
            } else {
                nodes_[parent].child = created;
            }
            if (n != None) {
                nodes_[n].previous = created;
            }
            n = created;
        }
        parent = n;
    }
    Node& last = nodes_[parent];
    if (!replace && last.hasValue) {
        return false;
    }
    last.value = value;
    last.hasValue = true;
    return true;
}

bool TVelaXMLStringTree::Find(std::string_view key, int32_t& value) const
{
    if (key.empty()) {
        return false;
    }
    int32_t n = None;
    for (const char c : key) {
        n = findSibling(firstChildOf(n), static_cast<uint8_t>(c));
        if (n == None) {
            return false;
        }
    }
    if (!nodes_[n].hasValue) {
        return false;
    }
    value = nodes_[n].value;
    return true;
}

void TVelaXMLStringTree::Clear()
{
    nodes_.clear();
    first_ = None;
}
