// Small move-only guards for the temporaries of a routine, so that every
// early return releases them. Records never hold guards; they hold raw
// handles whose owner is documented.
#pragma once

#include <cstdlib>
#include <utility>

#include "platform/kernel.h"

// A lock on a movable memory block, seen as a T. Unlocks when it goes.
template <typename T = unsigned char>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL mem) : mem_(mem), ptr_(mem ? static_cast<T*>(GlobalLock(mem)) : nullptr) {}
    ~GlobalLockGuard()
    {
        if (ptr_)
            GlobalUnlock(mem_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    GlobalLockGuard(GlobalLockGuard&& other) noexcept : mem_(other.mem_), ptr_(std::exchange(other.ptr_, nullptr)) {}

    explicit operator bool() const { return ptr_ != nullptr; }
    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }

private:
    HGLOBAL mem_;
    T* ptr_;
};

// A movable memory block that is freed unless it is released to an owner.
class GlobalBlockGuard {
public:
    explicit GlobalBlockGuard(HGLOBAL mem = nullptr) : mem_(mem) {}
    ~GlobalBlockGuard()
    {
        if (mem_)
            GlobalFree(mem_);
    }
    GlobalBlockGuard(const GlobalBlockGuard&) = delete;
    GlobalBlockGuard& operator=(const GlobalBlockGuard&) = delete;
    GlobalBlockGuard(GlobalBlockGuard&& other) noexcept : mem_(std::exchange(other.mem_, nullptr)) {}

    HGLOBAL get() const { return mem_; }
    explicit operator bool() const { return mem_ != nullptr; }
    // Hands the block to its new owner.
    HGLOBAL release() { return std::exchange(mem_, nullptr); }
    void reset(HGLOBAL mem = nullptr)
    {
        if (mem_)
            GlobalFree(mem_);
        mem_ = mem;
    }

private:
    HGLOBAL mem_;
};

// A buffer from the ordinary heap (malloc, calloc, realloc).
class HeapGuard {
public:
    explicit HeapGuard(void* ptr = nullptr) : ptr_(ptr) {}
    ~HeapGuard() { std::free(ptr_); }
    HeapGuard(const HeapGuard&) = delete;
    HeapGuard& operator=(const HeapGuard&) = delete;
    HeapGuard(HeapGuard&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}

    void* get() const { return ptr_; }
    void* release() { return std::exchange(ptr_, nullptr); }
    void reset(void* ptr = nullptr)
    {
        std::free(ptr_);
        ptr_ = ptr;
    }

private:
    void* ptr_;
};
