#pragma once

#include <cstdint>
#include <mutex>

// Re-entrant lock shared by the sound system and the game around every change
// to a module player; the owning thread may enter it again while holding it.
class TVelaCriticalSection {
public:
    // Takes the lock (blocking), then counts one more entry.
    void Enter();
    // Counts one entry less, then releases the lock once.
    void Leave();

    int32_t Depth() const { return depth_; }
    bool Locked() const { return locked_; }

private:
    std::recursive_mutex mutex_;
    int32_t depth_ = 0;
    bool locked_ = false;
};

// Holds a TVelaCriticalSection for the lifetime of a scope.
class TVelaLockGuard {
public:
    explicit TVelaLockGuard(TVelaCriticalSection& lock) : lock_(lock) { lock_.Enter(); }
    ~TVelaLockGuard() { lock_.Leave(); }
    TVelaLockGuard(const TVelaLockGuard&) = delete;
    TVelaLockGuard& operator=(const TVelaLockGuard&) = delete;

private:
    TVelaCriticalSection& lock_;
};
