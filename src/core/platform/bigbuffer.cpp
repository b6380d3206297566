#include "platform/bigbuffer.h"

#include <cstdint>
#include <new>
#include <utility>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // MinGW's C++ headers define it already
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

namespace tarvex {

namespace {
#if defined(__linux__)
constexpr std::size_t LargePage = std::size_t{2} << 20;
#endif
}  // namespace

BigBuffer::BigBuffer(std::size_t capacity) : Cap(capacity)
{
    if (capacity == 0)
        return;
#if defined(_WIN32)
    Base = VirtualAlloc(nullptr, capacity, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!Base)
        throw std::bad_alloc();
    Ptr = static_cast<char*>(Base);
    Mapped = capacity;
#elif defined(__linux__)
    if (capacity < LargePage) {
        Ptr = new char[capacity];
        return;
    }
    // Large pages need 2 MiB alignment: map a little more and start at the first boundary.
    Mapped = capacity + LargePage;
    void* p = mmap(nullptr, Mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    Base = p;
    const auto addr = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = (addr + LargePage - 1) & ~(std::uintptr_t{LargePage} - 1);
    Ptr = reinterpret_cast<char*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(Ptr, Mapped - (aligned - addr), MADV_HUGEPAGE);
#endif
#else
    Ptr = new char[capacity];
#endif
}

void BigBuffer::Release()
{
    if (!Ptr)
        return;
#if defined(_WIN32)
    VirtualFree(Base, 0, MEM_RELEASE);
#elif defined(__linux__)
    if (Base)
        munmap(Base, Mapped);
    else
        delete[] Ptr;
#else
    delete[] Ptr;
#endif
    Ptr = nullptr;
    Base = nullptr;
    Cap = Mapped = 0;
}

BigBuffer::~BigBuffer()
{
    Release();
}

BigBuffer::BigBuffer(BigBuffer&& other) noexcept
    : Ptr(std::exchange(other.Ptr, nullptr)), Cap(std::exchange(other.Cap, 0)),
      Base(std::exchange(other.Base, nullptr)), Mapped(std::exchange(other.Mapped, 0))
{
}

BigBuffer& BigBuffer::operator=(BigBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        Ptr = std::exchange(other.Ptr, nullptr);
        Cap = std::exchange(other.Cap, 0);
        Base = std::exchange(other.Base, nullptr);
        Mapped = std::exchange(other.Mapped, 0);
    }
    return *this;
}

}  // namespace tarvex
