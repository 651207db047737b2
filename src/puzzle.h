/*
 * The puzzle model: the pegs as bit sets, the queries on a position, and the
 * rule for legal moves. Functions that need N take it; all are O(N) or
 * better and do no I/O.
 */
#pragma once

#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

#include "hanoi.h"

// 2^n for 0 <= n <= 30, exact (the same value as truncating pow(2.0, n)).
constexpr std::int32_t power2(int n)
{
    return std::int32_t{1} << n;
}

// The length of the optimal solution for n pieces: 2^n - 1.
constexpr std::int32_t optimalmoves(int n)
{
    return power2(n) - 1;
}

// The pieces 0 to n - 1 as a bit set (bit i stands for piece i).
constexpr std::uint32_t allpieces(int n)
{
    return static_cast<std::uint32_t>(power2(n)) - 1;
}

// The pieces on each peg as bit sets, for pieces 0 to N - 1; entry 0 is
// unused.
struct PegSets {
    std::uint16_t on[4];

    friend bool operator==(const PegSets&, const PegSets&) = default;
};

// All n pieces on `peg`.
PegSets towerof(int n, int peg);

// The peg (1 to 3) on which `piece` lies.
int pegof(const PegSets& sets, int piece);

// Calls `visit` with each of the `pieces` pieces on `peg`, from the bottom
// (the largest) up.
template <class Visit>
void forpiecesup(const PegSets& sets, int peg, int pieces, Visit&& visit)
{
    for (int piece = pieces - 1; piece >= 0; --piece)
        if (sets.on[peg] >> piece & 1)
            visit(piece);
}

// A position written as the options take it: one digit (the peg, 1 to 3) per
// piece, from the largest piece to the smallest, so "3131" puts piece 3 on
// peg 3 and piece 0 on peg 1. Nothing when a character is not 1, 2 or 3 or
// there are more than `maxpieces` digits; the length is not checked against
// N (the caller compares it with the piece count it has).
std::optional<PegSets> parseposition(std::string_view digits);

// A move: `piece` (the top of peg `from`) goes to peg `to`.
struct PegMove {
    std::int16_t from;
    std::int16_t to;
    std::int16_t piece;
};

// Calls visit(move) for each legal move of the position `sets`, in their
// fixed order (1->2, 1->3, 2->1, 2->3, 3->1, 3->2, leaving out the illegal
// ones): the moved piece must be smaller than the top of the destination, and
// `lastto`, the peg the last move went to (0 before the first move), may not
// be a source (the piece just moved stays put).
//
// So piece 0 may always go to either other peg, and of the two other pegs the
// one with the smaller top may put it on the other (neither when both are
// empty): at most three moves, visited by source peg, then destination.
template <class Visit>
void forlegalmoves(const PegSets& sets, std::int16_t lastto, Visit&& visit)
{
    // Plain ints: the values stay in registers when the caller's loop
    // inlines this.
    const int smallestpeg = 1 + (sets.on[2] & 1) + 2 * (sets.on[3] & 1);
    const int first = smallestpeg == 1 ? 2 : 1;
    const int second = smallestpeg == 3 ? 2 : 3;
    // Tops as one-bit masks; an empty peg's 0 wraps to the largest value once
    // 1 is taken away, so it compares above any piece.
    const std::uint32_t firstpieces = sets.on[first];
    const std::uint32_t secondpieces = sets.on[second];
    const std::uint32_t firsttop = firstpieces & (0u - firstpieces);
    const std::uint32_t secondtop = secondpieces & (0u - secondpieces);
    const bool firstsmaller = firsttop - 1 < secondtop - 1;
    const int from = firstsmaller ? first : second;
    const int to = firstsmaller ? second : first;
    const bool othermove = firsttop != secondtop && from != lastto;
    const int piece = std::countr_zero(firstsmaller ? firsttop : secondtop);
    const auto move = [](int source, int destination, int moved) {
        return PegMove{static_cast<std::int16_t>(source), static_cast<std::int16_t>(destination),
                       static_cast<std::int16_t>(moved)};
    };
    if (othermove && from < smallestpeg)
        visit(move(from, to, piece));
    if (smallestpeg != lastto) {
        visit(move(smallestpeg, first, 0));
        visit(move(smallestpeg, second, 0));
    }
    if (othermove && from > smallestpeg)
        visit(move(from, to, piece));
}

// The pegs' bit sets after `move`: the moved piece changes sets, nothing else.
PegSets applymove(PegSets sets, const PegMove& move);
