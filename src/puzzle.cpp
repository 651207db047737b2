#include "puzzle.h"

std::int16_t pieces = 0;
std::int32_t optimal = 0;

PegSets startstate()
{
    return towerof(1);
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
