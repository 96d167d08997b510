#include "VelaXML/ClassList.h"

#include <cstdlib>
#include <cstring>

TVelaXMLClassList::TVelaXMLClassList(bool ownsObjects) : ownsObjects_(ownsObjects) {}

TVelaXMLClassList::~TVelaXMLClassList()
{
    Clear();
    std::free(items_);
}

int32_t TVelaXMLClassList::CapacityFor(int32_t count)
{
    int32_t granularity;
    if (count < 256) {
        granularity = 16;
    } else if (count < 1024) {
        granularity = 256;
    } else if (count < 4096) {
        granularity = 1024;
    } else if (count < 16384) {
        granularity = 4096;
    } else if (count < 65536) {
        granularity = 16384;
    } else {
        granularity = 65536;
    }
    // 64-bit arithmetic: MaxCount rounded up would overflow 32 bits only past 2^31.
    const int64_t rounded = (static_cast<int64_t>(count) + granularity - 1) / granularity * granularity;
    return static_cast<int32_t>(rounded);
}

bool TVelaXMLClassList::SetCount(int32_t count)
{
    if (count < 0 || count > MaxCount) {
        return false;
    }
    const int32_t capacity = CapacityFor(count);
    if (capacity != capacity_) {
        if (capacity == 0) {
            std::free(items_);
            items_ = nullptr;
        } else {
            // realloc lets the C library move large blocks by remapping pages.
            void* grown = std::realloc(items_, static_cast<size_t>(capacity) * sizeof(TVelaXMLClass*));
            if (grown == nullptr) {
                return false;
            }
            items_ = static_cast<TVelaXMLClass**>(grown);
        }
        capacity_ = capacity;
    }
    if (count > count_) {
        std::memset(items_ + count_, 0, static_cast<size_t>(count - count_) * sizeof(TVelaXMLClass*));
    }
    count_ = count;
    return true;
}

int32_t TVelaXMLClassList::Add(TVelaXMLClass* object)
{
    const int32_t index = count_;
    if (!SetCount(count_ + 1)) {
        if (ownsObjects_) {
            delete object;
        }
        return -1;
    }
    items_[index] = object;
    return index;
}

void TVelaXMLClassList::Clear()
{
    if (ownsObjects_) {
        // Destructors cannot throw here (they are noexcept), so every object is freed.
        for (int32_t i = 0; i < count_; ++i) {
            delete items_[i];
            items_[i] = nullptr;
        }
    }
    SetCount(0);
}

void TVelaXMLClassList::Detach() { SetCount(0); }
