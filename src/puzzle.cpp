#include "puzzle.h"

PegSets towerof(int n, int peg)
{
    PegSets sets{};
    sets.on[peg] = static_cast<std::uint16_t>(allpieces(n));
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

PegSets applymove(PegSets sets, const PegMove& move)
{
    const auto piece = static_cast<std::uint16_t>(1u << move.piece);
    sets.on[move.from] &= static_cast<std::uint16_t>(~piece);
    sets.on[move.to] |= piece;
    return sets;
}
