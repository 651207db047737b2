#include "evaluate.h"

#include "puzzle.h"

namespace {

// Restores `pieces` when a sub-problem's evaluation is over.
class PiecesOverride {
public:
    explicit PiecesOverride(std::int16_t n) : saved_(pieces) { pieces = n; }
    ~PiecesOverride() { pieces = saved_; }
    PiecesOverride(const PiecesOverride&) = delete;
    PiecesOverride& operator=(const PiecesOverride&) = delete;

private:
    std::int16_t saved_;
};

// Moves still owed by pieces 0..k-1 on their way to peg p, counted one by one.
std::int32_t simplecount(const HanoiState& s, int k, int p)
{
    std::int32_t h = 0;
    for (int i = 0; i < k; ++i) {
        if (s.pegs[i] == p)
            continue;
        ++h;
        for (int j = 0; j < i; ++j)
            if (s.pegs[j] == s.pegs[i] || s.pegs[j] == p)
                ++h;
    }
    return h;
}

// Pieces 0..k-1 relabelled so that peg p plays the part of the goal peg 3.
HanoiState relabelled(const HanoiState& s, int k, int p)
{
    static constexpr std::int8_t towardtwo[4] = {0, 2, 3, 1};
    static constexpr std::int8_t towardthree[4] = {0, 2, 1, 3};
    const std::int8_t* relabel = p == 2 ? towardtwo : towardthree;
    HanoiState t{};
    for (int i = 0; i < k; ++i)
        t.pegs[i] = relabel[s.pegs[i]];
    return t;
}

std::int32_t subproblem(const HanoiState& s, int k, int p)
{
    const HanoiState t = relabelled(s, k, p);
    const PiecesOverride smaller(static_cast<std::int16_t>(k));
    return -eval(t, search_method::greedy);
}

std::int32_t estimate(const HanoiState& s)
{
    const int n = pieces;
    int b2 = baseof(s, 2);
    int b3 = baseof(s, 3);
    if (b2 == n || b2 % 2 != n % 2)
        b2 = -1;
    if (b3 == n || b3 % 2 == n % 2)
        b3 = -1;
    const int k = b2 > b3 ? b2 : b3;
    const int p = b2 > b3 ? 2 : 3;
    if (k == -1)
        return optimalmoves(n);
    const std::int32_t h = power2(n) - power2(k + 1);
    return h + (k <= 4 ? simplecount(s, k, p) : subproblem(s, k, p));
}

}  // namespace

std::int32_t eval(const HanoiState& state, search_method method)
{
    std::int32_t h = method == search_method::breadth ? optimalmoves(pieces) : estimate(state);
    if (method != search_method::greedy)
        h += state.move->depth;
    return -h;
}
