#pragma once

#include <atomic>
#include <type_traits>

// The one kind of word that two threads share: flags and input words of the
// game, and the status a player, sample or stream publishes for readers that do
// not take the sound system's lock. Stores release and loads acquire, so a
// reader that sees a new value (a note-log count, AssetsLoaded) also sees what
// was written before it. A word that a reader resets (a latch) is taken with
// one atomic exchange, never a load followed by a store, so that a value
// published in between is not lost.
template <class T>
class TSharedWord {
public:
    constexpr TSharedWord(T Value = T()) noexcept : value_(Value) {}
    TSharedWord(const TSharedWord&) = delete;
    TSharedWord& operator=(const TSharedWord&) = delete;

    // The current value.
    T Load() const noexcept { return value_.load(std::memory_order_acquire); }
    // Publishes Value.
    void Store(T Value) noexcept { value_.store(Value, std::memory_order_release); }
    // Publishes Value and returns the value it replaced, in one step.
    T Exchange(T Value) noexcept { return value_.exchange(Value, std::memory_order_acq_rel); }
    // Publishes Value only while the word still holds Expected; whether it did.
    bool ReplaceIf(T Expected, T Value) noexcept
    {
        return value_.compare_exchange_strong(Expected, Value, std::memory_order_acq_rel, std::memory_order_acquire);
    }

    // Adds Delta in one step; returns the value before.
    T FetchAdd(T Delta) noexcept
        requires std::is_integral_v<T>
    {
        return value_.fetch_add(Delta, std::memory_order_acq_rel);
    }
    // Sets Bits in one step; returns the value before.
    T FetchOr(T Bits) noexcept
        requires std::is_integral_v<T>
    {
        return value_.fetch_or(Bits, std::memory_order_acq_rel);
    }

private:
    std::atomic<T> value_;
};
