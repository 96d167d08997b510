#pragma once

#include <atomic>

// A value the audio thread publishes and the game thread reads without the
// sound system's lock (positions, latches, voice counts, the note-log count).
// Every write happens under that lock, so an update may be a plain load and
// store; the atomic makes the unlocked read well defined, and release/acquire
// lets a reader that sees a new note-log count also see the entries before it.
template <class T>
class TSharedWord {
public:
    constexpr TSharedWord(T Value = T()) noexcept : value_(Value) {}
    TSharedWord(const TSharedWord& Other) noexcept : value_(Other.Load()) {}
    TSharedWord& operator=(const TSharedWord& Other) noexcept
    {
        Store(Other.Load());
        return *this;
    }
    TSharedWord& operator=(T Value) noexcept
    {
        Store(Value);
        return *this;
    }
    operator T() const noexcept { return Load(); }

    T Load() const noexcept { return value_.load(std::memory_order_acquire); }
    void Store(T Value) noexcept { value_.store(Value, std::memory_order_release); }

    TSharedWord& operator+=(T Delta) noexcept
    {
        Store(Load() + Delta);
        return *this;
    }
    TSharedWord& operator-=(T Delta) noexcept
    {
        Store(Load() - Delta);
        return *this;
    }
    TSharedWord& operator++() noexcept { return *this += 1; }
    TSharedWord& operator--() noexcept { return *this -= 1; }
    T operator++(int) noexcept
    {
        const T old = Load();
        Store(old + 1);
        return old;
    }
    T operator--(int) noexcept
    {
        const T old = Load();
        Store(old - 1);
        return old;
    }

private:
    std::atomic<T> value_;
};
