#pragma once

#include "VelaXML/ClassList.h"
#include "VelaXML/StringTree.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The concrete class of a node, for callers walking a tree.
enum class TVelaXMLKind { Item, Tag, ProcessTag, Text, Comment, Script, CData, DOCTYPE, Extra };

class TVelaXMLItem;

// Owning list of nodes. Clearing it frees whole subtrees without recursion,
// so a tree nested a million levels deep is released safely.
class TVelaXMLItemList : public TVelaXMLClassList {
public:
    // Creates an empty list that owns its nodes.
    TVelaXMLItemList();
    ~TVelaXMLItemList() override;

    // The node at index, or null outside 0 .. Count() - 1.
    TVelaXMLItem* Get(int32_t index) const;
    // Takes ownership of a node and appends it; returns its index, or -1 (node freed) when the list is full.
    int32_t Add(TVelaXMLItem* item);
    // Frees every node of every subtree held, then empties the list.
    void Clear() override;
};

// Node base: any node may hold children.
class TVelaXMLItem : public TVelaXMLClass {
public:
    // Child nodes in document order.
    TVelaXMLItemList Items;

    // Frees all children (a tag also drops its name and parameters).
    virtual void Clear();
    // Replaces this node's content by a deep copy of source: children are re-created by class and
    // the fields the two classes share are copied. Safe when source lies inside this node.
    virtual void Assign(const TVelaXMLItem& source);
    // The concrete class of this node.
    virtual TVelaXMLKind Kind() const { return TVelaXMLKind::Item; }
    // Whether this node is an element (or a processing instruction, which shares its shape).
    bool IsTag() const { return Kind() == TVelaXMLKind::Tag || Kind() == TVelaXMLKind::ProcessTag; }

protected:
    // A new node of the same class, without content.
    virtual std::unique_ptr<TVelaXMLItem> CreateEmpty() const;
    // Copies this class's own fields (not the children) from a node of a compatible class.
    virtual void CopyOwnFields(const TVelaXMLItem& source);
};

inline TVelaXMLItem* TVelaXMLItemList::Get(int32_t index) const
{
    return static_cast<TVelaXMLItem*>(TVelaXMLClassList::Get(index));
}

// One attribute of an element or processing instruction.
class TVelaXMLParameter : public TVelaXMLClass {
public:
    TVelaXMLParameter() = default;
    // Creates an attribute.
    TVelaXMLParameter(std::string name, std::string value);
    // Attribute name as written.
    std::string Name;
    // Attribute value with references decoded.
    std::string Value;
};

// Element.
class TVelaXMLTag : public TVelaXMLItem {
public:
    TVelaXMLTag();
    // Creates an element with a name.
    explicit TVelaXMLTag(std::string name);

    // Element name; a stray closing tag keeps its leading "/".
    std::string Name;
    // Attributes in document order, held by value: one allocation per element, not per attribute.
    std::vector<TVelaXMLParameter> Parameters;
    // Attribute name -> index in Parameters; a repeated name points at the later attribute.
    TVelaXMLStringTree ParameterIndex;

    void Clear() override;
    TVelaXMLKind Kind() const override { return TVelaXMLKind::Tag; }

    // Appends an attribute and indexes it under its name, replacing an earlier entry of that name.
    void AddParameter(std::string name, std::string value);
    // Number of attributes.
    int32_t ParameterCount() const { return static_cast<int32_t>(Parameters.size()); }
    // The attribute at index, or null.
    const TVelaXMLParameter* Parameter(int32_t index) const;
    // The attribute indexed under name (the last one of that name), or null.
    const TVelaXMLParameter* FindParameter(std::string_view name) const;
    // The value of the attribute indexed under name, else fallback.
    std::string GetParameter(std::string_view name, std::string_view fallback) const;

protected:
    std::unique_ptr<TVelaXMLItem> CreateEmpty() const override;
    void CopyOwnFields(const TVelaXMLItem& source) override;
};

// Processing instruction ("<?name attributes?>").
class TVelaXMLProcessTag : public TVelaXMLTag {
public:
    using TVelaXMLTag::TVelaXMLTag;
    TVelaXMLKind Kind() const override { return TVelaXMLKind::ProcessTag; }

protected:
    std::unique_ptr<TVelaXMLItem> CreateEmpty() const override;
};

// Shared shape of the nodes that carry one text: character data, comments,
// scripts, CDATA sections and declarations.
class TVelaXMLTextItem : public TVelaXMLItem {
public:
    TVelaXMLTextItem() = default;
    // Creates the node with its text.
    explicit TVelaXMLTextItem(std::string text);
    // The node's text.
    std::string Text;

protected:
    void CopyOwnFields(const TVelaXMLItem& source) override;
};

// Declares one text-carrying node class.
#define VELAXML_TEXT_NODE(ClassName, KindName)                                                                         \
    class ClassName : public TVelaXMLTextItem {                                                                        \
    public:                                                                                                            \
        using TVelaXMLTextItem::TVelaXMLTextItem;                                                                      \
        TVelaXMLKind Kind() const override { return TVelaXMLKind::KindName; }                                          \
                                                                                                                       \
    protected:                                                                                                         \
        std::unique_ptr<TVelaXMLItem> CreateEmpty() const override { return std::make_unique<ClassName>(); }           \
    }

// Character data, white space folded.
VELAXML_TEXT_NODE(TVelaXMLText, Text);
// Comment: the bytes between "<!--" and "-->".
VELAXML_TEXT_NODE(TVelaXMLCommentTag, Comment);
// Script block: the bytes between "<%" and "%>".
VELAXML_TEXT_NODE(TVelaXMLScriptTag, Script);
// CDATA section: the bytes between "<![CDATA[" and "]]>".
VELAXML_TEXT_NODE(TVelaXMLCDataTag, CData);
// DOCTYPE declaration: what follows "DOCTYPE", left-trimmed.
VELAXML_TEXT_NODE(TVelaXMLDOCTYPETag, DOCTYPE);
// Any other "<!" declaration: everything between "<!" and ">".
VELAXML_TEXT_NODE(TVelaXMLExtraTag, Extra);

#undef VELAXML_TEXT_NODE
