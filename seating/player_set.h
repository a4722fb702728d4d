#pragma once
// A set of up to 256 players as four words of bits: cheap to copy, compare and hash, and exact
// as a key (two different sets never compare equal).
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace quelna {

struct PlayerSet {
    static constexpr int kCapacity = 256;
    std::array<std::uint64_t, 4> words{};

    void add(int p) { words[p >> 6] |= std::uint64_t{1} << (p & 63); }
    void remove(int p) { words[p >> 6] &= ~(std::uint64_t{1} << (p & 63)); }
    bool has(int p) const { return (words[p >> 6] >> (p & 63)) & 1; }
    bool empty() const { return (words[0] | words[1] | words[2] | words[3]) == 0; }
    int size() const {
        return std::popcount(words[0]) + std::popcount(words[1]) + std::popcount(words[2]) +
               std::popcount(words[3]);
    }
    PlayerSet operator&(const PlayerSet& o) const {
        PlayerSet r;
        for (int i = 0; i < 4; ++i)
            r.words[i] = words[i] & o.words[i];
        return r;
    }
    PlayerSet operator|(const PlayerSet& o) const {
        PlayerSet r;
        for (int i = 0; i < 4; ++i)
            r.words[i] = words[i] | o.words[i];
        return r;
    }
    // Members not in o.
    PlayerSet without(const PlayerSet& o) const {
        PlayerSet r;
        for (int i = 0; i < 4; ++i)
            r.words[i] = words[i] & ~o.words[i];
        return r;
    }
    // Members above p only: each combination is then visited once.
    PlayerSet above(int p) const {
        PlayerSet r = *this;
        const int w = p >> 6;
        for (int i = 0; i < w; ++i)
            r.words[i] = 0;
        r.words[w] &= (p & 63) == 63 ? 0 : ~std::uint64_t{0} << ((p & 63) + 1);
        return r;
    }
    // Calls f(p) for every member in ascending order.
    template <class F> void forEach(F&& f) const {
        for (int i = 0; i < 4; ++i)
            for (std::uint64_t w = words[i]; w; w &= w - 1)
                f(i * 64 + std::countr_zero(w));
    }
    // True as soon as f(p) is true for a member, asked in ascending order.
    template <class F> bool any(F&& f) const {
        for (int i = 0; i < 4; ++i)
            for (std::uint64_t w = words[i]; w; w &= w - 1)
                if (f(i * 64 + std::countr_zero(w)))
                    return true;
        return false;
    }
    bool operator==(const PlayerSet&) const = default;
};

struct PlayerSetHash {
    std::size_t operator()(const PlayerSet& s) const {
        std::uint64_t h = 0x9e3779b97f4a7c15ull;
        for (std::uint64_t w : s.words)
            h = (h ^ w) * 0xff51afd7ed558ccdull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
};

} // namespace quelna
