// The evaluation written out step by step, with real sub-problem states of
// fewer pieces: the oracle the fast evaluation is checked against.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "hanoi.h"
#include "puzzle.h"

namespace reference {

// Piece i on pegs[i], reached in `depth` moves.
struct Position {
    std::array<std::int8_t, maxpieces> pegs{};
    std::int32_t depth = 0;
};

inline PegSets setsof(const Position& s, int pieces)
{
    PegSets sets{};
    for (int i = 0; i < pieces; ++i)
        sets.on[s.pegs[i]] |= static_cast<std::uint16_t>(1u << i);
    return sets;
}

inline std::int32_t powerof2(int n)
{
    return static_cast<std::int32_t>(std::pow(2.0, n));
}

inline int base(const Position& s, int peg, int pieces)
{
    for (int i = pieces - 1; i >= 0; --i)
        if (s.pegs[i] == peg)
            return i;
    return pieces;
}

inline std::int32_t eval(const Position& s, search_method m, int n)
{
    std::int32_t h = powerof2(n) - 1;
    if (m != search_method::breadth) {
        int b2 = base(s, 2, n);
        int b3 = base(s, 3, n);
        if (b2 == n || b2 % 2 != n % 2)
            b2 = -1;
        if (b3 == n || b3 % 2 == n % 2)
            b3 = -1;
        const int k = b2 > b3 ? b2 : b3;
        const int p = b2 > b3 ? 2 : 3;
        if (k != -1) {
            h = h + 1 - powerof2(k + 1);
            if (k <= 4) {
                for (int i = 0; i < k; ++i) {
                    if (s.pegs[i] == p)
                        continue;
                    ++h;
                    for (int j = 0; j < i; ++j)
                        if (s.pegs[j] == s.pegs[i] || s.pegs[j] == p)
                            ++h;
                }
            } else {
                const std::int8_t towardtwo[4] = {0, 2, 3, 1};
                const std::int8_t towardthree[4] = {0, 2, 1, 3};
                Position t{};
                for (int i = 0; i < k; ++i)
                    t.pegs[i] = (p == 2 ? towardtwo : towardthree)[s.pegs[i]];
                h -= reference::eval(t, search_method::greedy, k);
            }
        }
    }
    if (m != search_method::greedy)
        h += s.depth;
    return -h;
}

}  // namespace reference
