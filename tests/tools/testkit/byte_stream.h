#pragma once
// A long, reproducible run of bytes that the stand-in downloader writes and a test works out
// again on its own side, and a checksum to compare such runs without keeping them.
#include <cstddef>
#include <cstdint>
#include <string>

class ByteStream {
public:
    // Bytes from `seed`; none of the bytes in `excluded` ever comes out.
    ByteStream(uint32_t seed, const std::string& excluded);
    std::string next(size_t count);
    // A number in [low, high], from the same sequence (for sizes of writes).
    size_t between(size_t low, size_t high);

private:
    uint64_t step();
    uint64_t state_;
    unsigned char allowed_[256];
    size_t allowedCount_ = 0;
};

// 64-bit FNV-1a, fed piece by piece.
class Checksum {
public:
    void add(const void* data, size_t count);
    void add(const std::string& bytes) { add(bytes.data(), bytes.size()); }
    void add(const std::wstring& units) { add(units.data(), units.size() * sizeof(wchar_t)); }
    uint64_t value() const { return hash_; }
    uint64_t count() const { return count_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
    uint64_t count_ = 0;
};
