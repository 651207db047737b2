#include "problem.h"

#include <algorithm>

namespace {

// The pegs' bit sets of every position of `count` pieces.
template <int count>
constexpr std::array<PegSets, powers3[count]> tabulatesets()
{
    std::array<PegSets, powers3[count]> table{};
    for (std::uint32_t code = 0; code < powers3[count]; ++code) {
        std::uint32_t rest = code;
        for (int piece = 0; piece < count; ++piece, rest /= 3)
            table[code].on[1 + rest % 3] |= static_cast<std::uint16_t>(1u << piece);
    }
    return table;
}

// Pieces 0 to 7 in one table, 8 to 14 in another: 70 KB, of which a run of
// up to 6 pieces reads 6 KB.
constexpr int lowpieces = 8;
constexpr auto lowsets = tabulatesets<lowpieces>();
constexpr auto highsets = tabulatesets<maxpieces - lowpieces>();

// Moves that bring pieces 0 to count - 1 of `sets` together on `peg`, the
// larger pieces left where they are: each piece out of place, from the
// largest down, moves once after the smaller ones have gone to the third peg
// and costs 2^i with the tower that then follows it.
std::int32_t towermoves(const PegSets& sets, int count, int peg)
{
    std::int32_t moves = 0;
    for (int piece = count - 1; piece >= 0; --piece) {
        const int at = pegof(sets, piece);
        if (at != peg) {
            moves += power2(piece);
            peg = 6 - at - peg;
        }
    }
    return moves;
}

}  // namespace

std::int32_t movesbetween(int pieces, const PegSets& from, const PegSets& to)
{
    int k = pieces - 1;
    while (k >= 0 && pegof(from, k) == pegof(to, k))
        --k;
    if (k < 0)
        return 0;
    const int a = pegof(from, k);
    const int b = pegof(to, k);
    const int c = 6 - a - b;
    const std::int32_t once = towermoves(from, k, c) + 1 + towermoves(to, k, c);
    const std::int32_t twice =
        towermoves(from, k, b) + 1 + optimalmoves(k) + 1 + towermoves(to, k, a);
    return std::min(once, twice);
}

std::uint32_t Problem::code(const PegSets& sets) const
{
    std::uint32_t code = 0;
    for (int piece = pieces - 1; piece >= 0; --piece)
        code = 3 * code + static_cast<std::uint32_t>(pegof(sets, piece) - 1);
    return code;
}

PegSets Problem::position(std::uint32_t code) const
{
    PegSets sets = lowsets[code % powers3[lowpieces]];
    if (pieces > lowpieces) {
        const PegSets& high = highsets[code / powers3[lowpieces]];
        for (int peg = 1; peg <= 3; ++peg)
            sets.on[peg] = static_cast<std::uint16_t>(sets.on[peg] | high.on[peg] << lowpieces);
    }
    // Pieces past N read as digit 0, peg 1.
    sets.on[1] &= static_cast<std::uint16_t>(all());
    return sets;
}

Problem problemof(int pieces, const std::optional<PegSets>& start,
                  const std::optional<PegSets>& goal)
{
    const auto n = static_cast<std::int16_t>(pieces);
    Problem problem{n, start ? *start : towerof(n, 1), goal ? *goal : towerof(n, 3), 0};
    problem.optimal = movesbetween(n, problem.start, problem.goal);
    return problem;
}

bool isclassicproblem(const Problem& problem)
{
    return problem.start == towerof(problem.pieces, 1) &&
           problem.goal == towerof(problem.pieces, 3);
}

std::vector<std::int32_t> distancesfrom(const Problem& problem, std::uint32_t from)
{
    constexpr std::int32_t unseen = -1;
    std::vector<std::int32_t> distance(problem.positions(), unseen);
    std::vector<std::uint32_t> queue{from};
    queue.reserve(distance.size());
    distance[from] = 0;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const std::uint32_t code = queue[next];
        forlegalmoves(problem.position(code), 0, [&](const PegMove& m) {
            const std::uint32_t neighbour = movedcode(code, m);
            if (distance[neighbour] == unseen) {
                distance[neighbour] = distance[code] + 1;
                queue.push_back(neighbour);
            }
        });
    }
    return distance;
}
