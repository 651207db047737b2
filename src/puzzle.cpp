#include "puzzle.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::int16_t pieces = 0;
std::int32_t optimal = 0;

HanoiState startstate()
{
    HanoiState state{};
    for (int i = 0; i < pieces; ++i)
        state.pegs[i] = 1;
    state.move = nullptr;
    return state;
}

PegSets pegsets(const HanoiState& state)
{
    const std::uint32_t all = power2(pieces) - 1;
    PegSets sets{};
#if defined(__SSE2__)
    // Sixteen lanes: pieces 0..7, then 7..14 again (two overlapping loads
    // that stay inside the array); one compare per peg.
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    static_assert(maxpieces == 15);
    std::memcpy(&low, state.pegs.data(), 8);
    std::memcpy(&high, state.pegs.data() + 7, 8);
    const __m128i lanes = _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
    for (int peg = 1; peg <= 3; ++peg) {
        const auto hits = static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(lanes, _mm_set1_epi8(static_cast<char>(peg)))));
        sets.on[peg] = ((hits & 0xFF) | (hits >> 8 << 7)) & all;
    }
#else
    for (int i = 0; i < pieces; ++i)
        sets.on[state.pegs[i]] |= std::uint32_t{1} << i;
#endif
    return sets;
}

namespace {

std::int16_t smallest(std::uint32_t set)
{
    return set ? static_cast<std::int16_t>(std::countr_zero(set)) : pieces;
}

std::int16_t largest(std::uint32_t set)
{
    return set ? static_cast<std::int16_t>(std::bit_width(set) - 1) : pieces;
}

}  // namespace

std::int16_t topof(const HanoiState& state, std::int16_t peg)
{
    return smallest(pegsets(state).on[peg]);
}

std::int16_t baseof(const HanoiState& state, std::int16_t peg)
{
    return largest(pegsets(state).on[peg]);
}

bool hitgoal(const HanoiState& state)
{
    for (int i = 0; i < pieces; ++i)
        if (state.pegs[i] != 3)
            return false;
    return true;
}

namespace {

// The legal moves of a position depend only on three things: the peg of
// piece 0, which may always move to either other peg; which of the two other
// pegs has the smaller top, which may move onto the other (neither, when both
// are empty); and the peg the last move went to. The moves of each case, in
// their fixed order, are worked out at compile time by the rule itself.
struct MoveShape {
    int count;
    std::int16_t from[3];
    std::int16_t to[3];
};

enum SmallerTop { firstother, secondother, bothempty };

constexpr int shapeindex(int smallestpeg, int smaller, int lastto)
{
    return ((smallestpeg - 1) * 3 + smaller) * 4 + lastto;
}

constexpr std::array<MoveShape, 36> shapeallmoves()
{
    std::array<MoveShape, 36> shapes{};
    constexpr int empty = 3;  // three pieces: 0, 1, 2
    for (int smallestpeg = 1; smallestpeg <= 3; ++smallestpeg)
        for (int smaller = firstother; smaller <= bothempty; ++smaller)
            for (int lastto = 0; lastto <= 3; ++lastto) {
                const int first = smallestpeg == 1 ? 2 : 1;
                const int second = smallestpeg == 3 ? 2 : 3;
                int top[4] = {};
                top[smallestpeg] = 0;
                top[first] = smaller == bothempty ? empty : smaller == firstother ? 1 : 2;
                top[second] = smaller == bothempty ? empty : smaller == firstother ? 2 : 1;
                MoveShape& shape = shapes[shapeindex(smallestpeg, smaller, lastto)];
                for (int from = 1; from <= 3; ++from)
                    for (int to = 1; to <= 3; ++to)
                        if (from != to && top[from] < top[to] && top[from] != empty && from != lastto) {
                            shape.from[shape.count] = static_cast<std::int16_t>(from);
                            shape.to[shape.count++] = static_cast<std::int16_t>(to);
                        }
            }
    return shapes;
}

constexpr std::array<MoveShape, 36> moveshapes = shapeallmoves();

}  // namespace

MoveList legalmoves(const HanoiState& state, const PegSets& sets)
{
    const int smallestpeg = state.pegs[0];
    const int first = smallestpeg == 1 ? 2 : 1;
    const int second = smallestpeg == 3 ? 2 : 3;
    // Tops as one-bit masks; 0 (an empty peg) wraps to the largest when 1 is
    // taken away, so an empty peg compares above any piece.
    const std::uint32_t top1 = sets.on[first] & -sets.on[first];
    const std::uint32_t top2 = sets.on[second] & -sets.on[second];
    const int smaller = top1 == top2 ? bothempty : top1 - 1 < top2 - 1 ? firstother : secondother;
    const auto othertop = static_cast<std::int16_t>(std::countr_zero(smaller == firstother ? top1 : top2));
    const MoveShape& shape = moveshapes[shapeindex(smallestpeg, smaller, state.move ? state.move->to : 0)];
    MoveList list;
    list.count = shape.count;
    for (int i = 0; i < shape.count; ++i)
        list.moves[i] = {shape.from[i], shape.to[i],
                         shape.from[i] == smallestpeg ? std::int16_t{0} : othertop};
    return list;
}

HanoiState applymove(HanoiState state, const PegMove& move)
{
    state.pegs[move.piece] = static_cast<std::int8_t>(move.to);
    return state;
}

PegSets applymove(PegSets sets, const PegMove& move)
{
    const std::uint32_t piece = std::uint32_t{1} << move.piece;
    sets.on[move.from] &= ~piece;
    sets.on[move.to] |= piece;
    return sets;
}
