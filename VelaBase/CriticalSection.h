#pragma once

#include <mutex>

// Re-entrant lock shared by the sound system and the game around every change
// to a module player; the owning thread may enter it again while holding it.
class TVelaCriticalSection {
public:
    // Takes the lock (blocking); the owning thread may take it again.
    void Enter() { mutex_.lock(); }
    // Releases one entry.
    void Leave() { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
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
