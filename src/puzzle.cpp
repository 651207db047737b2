#include "puzzle.h"

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

std::int16_t topof(const HanoiState& state, std::int16_t peg)
{
    for (std::int16_t i = 0; i < pieces; ++i)
        if (state.pegs[i] == peg)
            return i;
    return pieces;
}

std::int16_t baseof(const HanoiState& state, std::int16_t peg)
{
    for (std::int16_t i = pieces - 1; i >= 0; --i)
        if (state.pegs[i] == peg)
            return i;
    return pieces;
}

bool hitgoal(const HanoiState& state)
{
    for (int i = 0; i < pieces; ++i)
        if (state.pegs[i] != 3)
            return false;
    return true;
}

MoveList legalmoves(const HanoiState& state)
{
    const std::int16_t top[4] = {0, topof(state, 1), topof(state, 2), topof(state, 3)};
    const std::int16_t lastto = state.move ? state.move->to : 0;
    MoveList list;
    for (std::int16_t from = 1; from <= 3; ++from)
        for (std::int16_t to = 1; to <= 3; ++to)
            if (from != to && top[from] < top[to] && top[from] != pieces && from != lastto)
                list.moves[list.count++] = {from, to, top[from]};
    return list;
}

HanoiState applymove(HanoiState state, const PegMove& move)
{
    state.pegs[move.piece] = static_cast<std::int8_t>(move.to);
    return state;
}
