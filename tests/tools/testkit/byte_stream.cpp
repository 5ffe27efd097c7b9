#include "byte_stream.h"

ByteStream::ByteStream(uint32_t seed, const std::string& excluded) : state_(0x9E3779B97F4A7C15ull ^ seed) {
    for (int b = 0; b < 256; ++b) {
        if (excluded.find(static_cast<char>(b)) == std::string::npos) allowed_[allowedCount_++] = static_cast<unsigned char>(b);
    }
}

uint64_t ByteStream::step() {
    // xorshift64*: fast, and no run of it repeats within anything a test writes.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
}

std::string ByteStream::next(size_t count) {
    std::string bytes(count, '\0');
    if (allowedCount_ == 0) return {};
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(allowed_[(step() >> 32) % allowedCount_]);
    return bytes;
}

size_t ByteStream::between(size_t low, size_t high) { return low + static_cast<size_t>((step() >> 16) % (high - low + 1)); }

void Checksum::add(const void* data, size_t count) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < count; ++i) {
        hash_ ^= bytes[i];
        hash_ *= 1099511628211ull;
    }
    count_ += count;
}
