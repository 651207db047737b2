#include "puzzle.h"

std::int16_t pieces = 0;
std::int32_t optimal = 0;

PegSets startstate()
{
    PegSets sets{};
    sets.on[1] = static_cast<std::uint16_t>(allpieces());
    return sets;
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
