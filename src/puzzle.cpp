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

PegSets towerof(int peg)
{
    PegSets sets{};
    sets.on[peg] = static_cast<std::uint16_t>(allpieces());
    return sets;
}

int pegof(const PegSets& sets, int piece)
{
    return sets.on[1] >> piece & 1 ? 1 : sets.on[2] >> piece & 1 ? 2 : 3;
}

std::optional<PegSets> parseposition(std::string_view digits)
{
    if (digits.size() > static_cast<std::size_t>(maxpieces))
        return std::nullopt;
    PegSets sets{};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int peg = digits[i] - '0';
        if (peg < 1 || peg > 3)
            return std::nullopt;
        sets.on[peg] |= static_cast<std::uint16_t>(1u << (digits.size() - 1 - i));
    }
    return sets;
}

std::uint32_t positioncount()
{
    std::uint32_t count = 1;
    for (int i = 0; i < pieces; ++i)
        count *= 3;
    return count;
}

std::uint32_t positioncode(const PegSets& sets)
{
    std::uint32_t code = 0;
    for (int piece = pieces - 1; piece >= 0; --piece)
        code = 3 * code + static_cast<std::uint32_t>(pegof(sets, piece) - 1);
    return code;
}

PegSets positionofcode(std::uint32_t code)
{
    PegSets sets{};
    for (int piece = 0; piece < pieces; ++piece, code /= 3)
        sets.on[1 + code % 3] |= static_cast<std::uint16_t>(1u << piece);
    return sets;
}

PegSets pegsets(const HanoiState& state)
{
    const std::uint32_t all = allpieces();
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
