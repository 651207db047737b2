/*
 * What a run searches: the pieces, the start and the goal, the fewest moves
 * between them (`optimal`), and the numbering of positions in base 3. A
 * Problem is a plain value: every query, estimate and engine takes the one it
 * works on, so two searches of different problems can run side by side.
 *
 * Positions are numbered in base 3: digit i is the peg of piece i less one,
 * so 0 is every piece on peg 1 and 3^N - 1 every piece on peg 3. A move
 * changes one digit, so a child's number is its parent's plus a multiple of
 * a power of 3 (movedcode).
 *
 * movesbetween is computed by the classic recursion over the pieces: the
 * pieces larger than the largest one out of place never move; that piece k
 * moves once (from its peg a to its goal peg b, the smaller pieces gathered
 * on the third peg c before and leaving from there after), or twice (a to c,
 * then c to b, the smaller pieces gathered on b, carried whole to a between
 * the two moves, and leaving from a), whichever is shorter; the largest piece
 * never needs more than two moves. Gathering pieces as a tower is the
 * recursion of the standard solution. Cost: O(N).
 *
 * distancesfrom is the breadth-first search over all 3^N positions, from one
 * of them: the true distances that the analysis of the estimates and the
 * layered engine's recovery of a path read. Cost: O(3^N).
 */
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "hanoi.h"
#include "puzzle.h"

// 3^i for 0 <= i <= maxpieces.
inline constexpr std::array<std::uint32_t, maxpieces + 1> powers3 = [] {
    std::array<std::uint32_t, maxpieces + 1> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = 3 * powers[i - 1];
    return powers;
}();

struct Problem {
    std::int16_t pieces;  // N, 1 to 15
    PegSets start;
    PegSets goal;
    std::int32_t optimal;  // the fewest moves from start to goal

    // The pieces 0 to N - 1 as a bit set.
    std::uint32_t all() const { return allpieces(pieces); }
    std::uint32_t positions() const { return powers3[static_cast<std::size_t>(pieces)]; }
    std::uint32_t code(const PegSets& sets) const;
    PegSets position(std::uint32_t code) const;
};

// The problem of `pieces` pieces from `start` to `goal` (every piece on peg 1
// and on peg 3 when not given), with its optimal length worked out.
Problem problemof(int pieces, const std::optional<PegSets>& start = std::nullopt,
                  const std::optional<PegSets>& goal = std::nullopt);

// The fewest moves from `from` to `to`, positions of `pieces` pieces.
std::int32_t movesbetween(int pieces, const PegSets& from, const PegSets& to);

// True for every piece on peg 1 to every piece on peg 3.
bool isclassicproblem(const Problem& problem);

// The number of the position `move` leads to from the position numbered `code`.
inline std::uint32_t movedcode(std::uint32_t code, const PegMove& move)
{
    return code + static_cast<std::uint32_t>(move.to - move.from) *
                      powers3[static_cast<std::size_t>(move.piece)];
}

// A set of positions of a problem, one bit each by number: the positions
// graph search has examined.
class PositionSet {
public:
    explicit PositionSet(std::uint32_t positions)
        : words_((positions + 63) / 64)
    {
    }
    static std::uint64_t bytesfor(std::uint32_t positions)
    {
        return (positions + 63) / 64 * sizeof(std::uint64_t);
    }
    bool has(std::uint32_t code) const { return words_[code / 64] >> (code % 64) & 1; }
    void add(std::uint32_t code) { words_[code / 64] |= std::uint64_t{1} << (code % 64); }
    void clear() { std::fill(words_.begin(), words_.end(), 0); }

private:
    std::vector<std::uint64_t> words_;
};

// Moves from the position numbered `from` to every position, by index
// (every move can be undone, so these are the distances to it as well).
std::vector<std::int32_t> distancesfrom(const Problem& problem, std::uint32_t from);
