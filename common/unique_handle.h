#pragma once
// Move-only owners for Windows handles, mapping views and SIDs.
// Copying is deleted so that a handle can never be closed twice by accident.
#include <windows.h>
#include <utility>

template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return !Traits::empty(value_); }

    // For out-parameters: frees what is held and hands out the slot.
    T* put() {
        reset();
        return &value_;
    }

    T release() {
        T value = value_;
        value_ = Traits::invalid();
        return value;
    }

    void reset(T value = Traits::invalid()) {
        if (!Traits::empty(value_)) Traits::close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::invalid();
};

struct HandleTraits {
    static HANDLE invalid() { return nullptr; }
    // Some calls report failure as NULL, others as INVALID_HANDLE_VALUE.
    static bool empty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};

struct ViewTraits {
    static void* invalid() { return nullptr; }
    static bool empty(void* p) { return p == nullptr; }
    static void close(void* p) { UnmapViewOfFile(p); }
};

struct SidTraits {
    static PSID invalid() { return nullptr; }
    static bool empty(PSID sid) { return sid == nullptr; }
    // For SIDs from AllocateAndInitializeSid only.
    static void close(PSID sid) { FreeSid(sid); }
};

using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;
using UniqueView = UniqueResource<void*, ViewTraits>;
using UniqueSid = UniqueResource<PSID, SidTraits>;
