#pragma once
#include <cstddef>

namespace tarvex {

// Raw memory for a whole log's bytes. A log of a gigabyte in ordinary 4 KiB pages costs a
// quarter of a million page faults as it is filled; where the system offers large pages for
// such blocks, this asks for them. The bytes are left uninitialised.
class BigBuffer
{
public:
    BigBuffer() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit BigBuffer(std::size_t capacity);
    ~BigBuffer();
    BigBuffer(BigBuffer&& other) noexcept;
    BigBuffer& operator=(BigBuffer&& other) noexcept;
    BigBuffer(const BigBuffer&) = delete;
    BigBuffer& operator=(const BigBuffer&) = delete;

    char* Data() const { return Ptr; }
    std::size_t Capacity() const { return Cap; }

private:
    void Release();

    char* Ptr = nullptr;
    std::size_t Cap = 0;
    void* Base = nullptr;  // what the system gave, for freeing
    std::size_t Mapped = 0;
};

}  // namespace tarvex
