#include "DrawSource.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ChaCha20.h"
#include "Helpers.h"

namespace zorvi {

std::uint32_t ByteStreamSource::NextWord() {
    if (used_ + 4 > kBufferSize) {
        Refill(buffer_, kBufferSize);
        used_ = 0;
    }
    const std::uint8_t* p = buffer_ + used_;
    used_ += 4;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

int ByteStreamSource::UniformBelow(int n) {
    if (n < 1)
        return 0;
    const auto range = static_cast<std::uint32_t>(n);
    // The words from `limit` up would make the low results one count more likely than the
    // others: they are thrown away. limit = 2^32 - (2^32 mod n), computed without 64 bits.
    const std::uint32_t rest = (0u - range) % range;
    const std::uint32_t limit = 0u - rest; // 0 stands for 2^32: every word is usable
    std::uint32_t word = NextWord();
    while (limit != 0 && word >= limit)
        word = NextWord();
    return static_cast<int>(word % range);
}

void ByteStreamSource::FillBytes(std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        if (used_ == kBufferSize) {
            Refill(buffer_, kBufferSize);
            used_ = 0;
        }
        const std::size_t take = std::min(size, kBufferSize - used_);
        std::memcpy(data, buffer_ + used_, take);
        // Bytes handed out are not kept: a later reader of the buffer learns nothing of them.
        std::memset(buffer_ + used_, 0, take);
        used_ += take;
        data += take;
        size -= take;
    }
}

KeyedSource::KeyedSource(const std::uint8_t (&key)[32]) {
    std::memcpy(key_, key, sizeof key_);
}

bool KeyedSource::ParseKey(const char* hex, std::size_t length, std::uint8_t (&key)[32]) {
    if (hex == nullptr || length != 64)
        return false;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::uint8_t parsed[32];
    for (std::size_t i = 0; i < 32; ++i) {
        const int high = digit(hex[2 * i]);
        const int low = digit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        parsed[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    std::memcpy(key, parsed, sizeof parsed);
    return true;
}

void KeyedSource::Refill(std::uint8_t* data, std::size_t size) {
    ChaCha20::Key key;
    std::memcpy(key.data(), key_, key.size());
    ChaCha20 stream(key, ChaCha20::Nonce{}, counter_);
    std::memset(data, 0, size);
    stream.Apply(data, size);
    counter_ += static_cast<std::uint32_t>((size + 63) / 64);
}

namespace Helpers {

void ShuffleSequence(DrawSource& source, std::vector<int>& list) {
    const std::size_t k = list.size();
    if (k < 2)
        return;
    for (std::size_t i = 1; i < k; ++i) {
        const auto j = static_cast<std::size_t>(source.UniformBelow(static_cast<int>(i + 1)));
        // A source that breaks its promise must still not index outside the list.
        std::swap(list[i], list[std::min(j, i)]);
    }
}

std::vector<int> ShuffledSequence(DrawSource& source, int n) {
    std::vector<int> list = MakeNumberSequence(n);
    ShuffleSequence(source, list);
    return list;
}

} // namespace Helpers
} // namespace zorvi
