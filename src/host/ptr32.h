// 32-bit pointer fields of records whose byte layout is fixed (archives, models, the save image).
// On the 64-bit host such a field holds the offset of its target from the base of the host arena;
// 0 is null. The arena's first bytes are never handed out, so no real target has offset 0.
#pragma once

#include <cstdint>
#include <type_traits>

#include "host/arena.h"

template <class T>
struct Ptr32 {
    uint32_t offset;

    Ptr32() = default;

    T* get() const { return static_cast<T*>(ArenaAddress(offset)); }
    void set(const T* p) { offset = ArenaOffset(p); }

    Ptr32& operator=(T* p) { set(p); return *this; }
    Ptr32& operator=(std::nullptr_t) { offset = 0; return *this; }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    explicit operator bool() const { return offset != 0; }
};

static_assert(sizeof(Ptr32<int>) == 4, "Ptr32 must stay 32 bits");
static_assert(std::is_trivially_copyable<Ptr32<int>>::value, "Ptr32 lives in raw records");
