#include "VelaXML/Nodes.h"

#include <utility>
#include <vector>

TVelaXMLItemList::TVelaXMLItemList() : TVelaXMLClassList(true) {}

TVelaXMLItemList::~TVelaXMLItemList()
{
    // The base destructor would only see its own Clear.
    Clear();
}

int32_t TVelaXMLItemList::Add(TVelaXMLItem* item) { return TVelaXMLClassList::Add(item); }

void TVelaXMLItemList::Clear()
{
    std::vector<TVelaXMLItem*> pending;
    pending.reserve(static_cast<size_t>(Count()));
    for (int32_t i = 0; i < Count(); ++i) {
        pending.push_back(Get(i));
    }
    Detach();
    // Children are detached before their parent is deleted, so no destructor
    // ever walks a subtree and the stack stays flat whatever the depth.
    while (!pending.empty()) {
        TVelaXMLItem* node = pending.back();
        pending.pop_back();
        if (node == nullptr) {
            continue;
        }
        for (int32_t i = 0; i < node->Items.Count(); ++i) {
            pending.push_back(node->Items.Get(i));
        }
        node->Items.Detach();
        delete node;
    }
}

void TVelaXMLItem::Clear() { Items.Clear(); }

std::unique_ptr<TVelaXMLItem> TVelaXMLItem::CreateEmpty() const { return std::make_unique<TVelaXMLItem>(); }

void TVelaXMLItem::CopyOwnFields(const TVelaXMLItem&) {}

void TVelaXMLItem::Assign(const TVelaXMLItem& source)
{
    if (&source == this) {
        return;
    }
    // Copy everything out first: source may be a descendant that Clear frees.
    std::unique_ptr<TVelaXMLItem> fields = CreateEmpty();
    fields->CopyOwnFields(source);

    TVelaXMLItemList copies;
    std::vector<std::pair<const TVelaXMLItem*, TVelaXMLItemList*>> work{{&source, &copies}};
    while (!work.empty()) {
        auto [from, into] = work.back();
        work.pop_back();
        for (int32_t i = 0; i < from->Items.Count(); ++i) {
            const TVelaXMLItem* child = from->Items.Get(i);
            std::unique_ptr<TVelaXMLItem> copy = child->CreateEmpty();
            copy->CopyOwnFields(*child);
            TVelaXMLItem* raw = copy.release();
            if (into->Add(raw) >= 0) {
                work.emplace_back(child, &raw->Items);
            }
        }
    }

    Clear();
    CopyOwnFields(*fields);
    for (int32_t i = 0; i < copies.Count(); ++i) {
        Items.Add(copies.Get(i));
    }
    copies.Detach();
}

TVelaXMLParameter::TVelaXMLParameter(std::string name, std::string value)
    : Name(std::move(name)), Value(std::move(value))
{}

TVelaXMLTag::TVelaXMLTag() = default;

TVelaXMLTag::TVelaXMLTag(std::string name) : Name(std::move(name)) {}

void TVelaXMLTag::Clear()
{
    TVelaXMLItem::Clear();
    Parameters.clear();
    ParameterIndex.Clear();
    Name.clear();
}

void TVelaXMLTag::AddParameter(std::string name, std::string value)
{
    if (Parameters.size() >= static_cast<size_t>(TVelaXMLClassList::MaxCount)) {
        return;
    }
    const auto index = static_cast<int32_t>(Parameters.size());
    Parameters.emplace_back(std::move(name), std::move(value));
    ParameterIndex.Add(Parameters.back().Name, index, true);
}

const TVelaXMLParameter* TVelaXMLTag::Parameter(int32_t index) const
{
    if (index < 0 || index >= ParameterCount()) {
        return nullptr;
    }
    return &Parameters[static_cast<size_t>(index)];
}

const TVelaXMLParameter* TVelaXMLTag::FindParameter(std::string_view name) const
{
    int32_t index = 0;
    if (!ParameterIndex.Find(name, index)) {
        return nullptr;
    }
    return Parameter(index);
}

std::string TVelaXMLTag::GetParameter(std::string_view name, std::string_view fallback) const
{
    const TVelaXMLParameter* parameter = FindParameter(name);
    return parameter != nullptr ? parameter->Value : std::string(fallback);
}

std::unique_ptr<TVelaXMLItem> TVelaXMLTag::CreateEmpty() const { return std::make_unique<TVelaXMLTag>(); }

void TVelaXMLTag::CopyOwnFields(const TVelaXMLItem& source)
{
    const auto* tag = dynamic_cast<const TVelaXMLTag*>(&source);
    if (tag == nullptr) {
        return;
    }
    Name = tag->Name;
    for (int32_t i = 0; i < tag->ParameterCount(); ++i) {
        const TVelaXMLParameter* parameter = tag->Parameter(i);
        AddParameter(parameter->Name, parameter->Value);
    }
}

std::unique_ptr<TVelaXMLItem> TVelaXMLProcessTag::CreateEmpty() const { return std::make_unique<TVelaXMLProcessTag>(); }

TVelaXMLTextItem::TVelaXMLTextItem(std::string text) : Text(std::move(text)) {}

void TVelaXMLTextItem::CopyOwnFields(const TVelaXMLItem& source)
{
    if (const auto* text = dynamic_cast<const TVelaXMLTextItem*>(&source)) {
        Text = text->Text;
    }
}
