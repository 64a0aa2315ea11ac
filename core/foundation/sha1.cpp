#include "sha1.h"

#include <algorithm>
#include <cstring>

namespace tokenade {
namespace {

uint32_t rotate(uint32_t value, int by)
{
    return value << by | value >> (32 - by);
}

}  // namespace

Sha1::Sha1() : state_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0} {}

void Sha1::block(const unsigned char* bytes)
{
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = uint32_t{bytes[4 * i]} << 24 | uint32_t{bytes[4 * i + 1]} << 16 | uint32_t{bytes[4 * i + 2]} << 8 |
               bytes[4 * i + 3];
    for (int i = 16; i < 80; ++i)
        w[i] = rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3], e = state_[4];
    for (int i = 0; i < 80; ++i) {
        uint32_t f = 0, k = 0;
        if (i < 20)
            f = (b & c) | (~b & d), k = 0x5A827999;
        else if (i < 40)
            f = b ^ c ^ d, k = 0x6ED9EBA1;
        else if (i < 60)
            f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        else
            f = b ^ c ^ d, k = 0xCA62C1D6;
        const uint32_t next = rotate(a, 5) + f + e + k + w[i];
        e = d, d = c, c = rotate(b, 30), b = a, a = next;
    }
    state_[0] += a, state_[1] += b, state_[2] += c, state_[3] += d, state_[4] += e;
}

void Sha1::add(std::string_view bytes)
{
    length_ += bytes.size();
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    if (pendingSize_ > 0) {
        const size_t taken = std::min(left, pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, at, taken);
        pendingSize_ += taken, at += taken, left -= taken;
        if (pendingSize_ < pending_.size())
            return;
        block(pending_.data());
        pendingSize_ = 0;
    }
    for (; left >= 64; at += 64, left -= 64)
        block(at);
    std::memcpy(pending_.data(), at, left);
    pendingSize_ = left;
}

std::string Sha1::hex()
{
    const uint64_t bits = length_ * 8;
    unsigned char tail[72] = {0x80};
    const size_t padding = (pendingSize_ < 56 ? 56 : 120) - pendingSize_;
    for (int i = 0; i < 8; ++i)
        tail[padding + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    add(std::string_view(reinterpret_cast<const char*>(tail), padding + 8));
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const uint32_t word : state_) {
        for (int shift = 28; shift >= 0; shift -= 4)
            text.push_back(kDigits[(word >> shift) & 15]);
    }
    return text;
}

}  // namespace tokenade
