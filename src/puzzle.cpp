#include "puzzle.h"

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
    return state;
}

PegSets pegsets(const HanoiState& state)
{
    PegSets sets{};
#if defined(__SSE2__)
    const std::uint32_t all = allpieces();
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
        sets.on[peg] = static_cast<std::uint16_t>(((hits & 0xFF) | (hits >> 8 << 7)) & all);
    }
#else
    for (int i = 0; i < pieces; ++i)
        sets.on[state.pegs[i]] |= static_cast<std::uint16_t>(1u << i);
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
    return hitgoal(pegsets(state));
}

bool hitgoal(const PegSets& sets)
{
    return sets.on[3] == allpieces();
}

PegSets applymove(PegSets sets, const PegMove& move)
{
    const auto piece = static_cast<std::uint16_t>(1u << move.piece);
    sets.on[move.from] &= static_cast<std::uint16_t>(~piece);
    sets.on[move.to] |= piece;
    return sets;
}
