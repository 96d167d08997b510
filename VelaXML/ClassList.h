#pragma once

#include <cstdint>

// Common base of every object of the XML unit; virtual so that owning lists
// can free what they hold through a base pointer.
class TVelaXMLClass {
public:
    virtual ~TVelaXMLClass() = default;
};

// Growable array of object references. The capacity follows the count in
// coarse steps (and shrinks with it), so large documents reallocate rarely.
class TVelaXMLClassList : public TVelaXMLClass {
public:
    // Counts above this are refused, as no document of ours comes near it.
    static constexpr int32_t MaxCount = 536870910;

    // Creates an empty list; an owning list frees its objects on Clear.
    explicit TVelaXMLClassList(bool ownsObjects = false);
    ~TVelaXMLClassList() override;
    TVelaXMLClassList(const TVelaXMLClassList&) = delete;
    TVelaXMLClassList& operator=(const TVelaXMLClassList&) = delete;

    // Number of references held.
    int32_t Count() const { return count_; }
    // Slots allocated: the count rounded up to the current granularity.
    int32_t Capacity() const { return capacity_; }
    // Whether Clear (and the destructor) free the referenced objects.
    bool OwnsObjects() const { return ownsObjects_; }
    // The raw slot array (Count() valid entries); null when empty.
    TVelaXMLClass* const* Items() const { return items_; }

    // The reference at index, or null outside 0 .. Count() - 1.
    TVelaXMLClass* Get(int32_t index) const
    {
        return static_cast<uint32_t>(index) < static_cast<uint32_t>(count_) ? items_[index] : nullptr;
    }
    // Appends a reference and returns its index; -1 (freeing an owned object) when the list cannot grow.
    int32_t Add(TVelaXMLClass* object);
    // Changes the count; new slots are null. Refused (returns false) above MaxCount or when memory runs out.
    bool SetCount(int32_t count);
    // Frees the objects when owning, then empties the list.
    virtual void Clear();
    // Empties the list without freeing anything; the caller takes the references.
    void Detach();

    // Capacity the list keeps for a given count.
    static int32_t CapacityFor(int32_t count);

private:
    TVelaXMLClass** items_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
    bool ownsObjects_;
};
