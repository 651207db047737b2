#include "evaluate.h"

#include <bit>
#include <utility>

// The sub-problems are not built as states. The estimate works on the pieces
// of each peg as bit sets and relabels the three sets for each sub-problem,
// so `pieces` never needs to change and a level of the recursion costs a few
// bit operations.

namespace {

// Pieces of the current (sub-)problem on the pegs that play the parts of
// pegs 1, 2 and 3 (the goal).
struct Seats {
    std::uint32_t one;
    std::uint32_t two;
    std::uint32_t goal;
};

// Moves still owed by pieces 0..k-1 (k <= 4) on their way to the `target`
// set, counted one by one: each piece off the target costs one move, plus one
// for every smaller piece on its own peg or on the target.
std::int32_t simplecount(const Seats& seats, std::uint32_t target, int k)
{
    static constexpr std::int8_t count[8] = {0, 1, 1, 2, 1, 2, 2, 3};  // bits in 0..7
    std::int32_t h = 0;
    for (int i = 0; i < k; ++i) {
        const std::uint32_t piece = std::uint32_t{1} << i;
        if (target & piece)
            continue;
        const std::uint32_t own = seats.one & piece ? seats.one : seats.two & piece ? seats.two : seats.goal;
        h += 1 + count[(own | target) & (piece - 1)];
    }
    return h;
}

std::int32_t estimate(const PegSets& sets)
{
    Seats seats{sets.on[1], sets.on[2], sets.on[3]};
    std::int32_t h = 0;
    for (int n = pieces;;) {
        // The largest pieces already on the goal cost nothing: each hands the
        // rest down as a sub-problem toward the same goal with pegs 1 and 2
        // swapped. Skip them all at once, as long as they leave a sub-problem
        // of at least 5 pieces (smaller ones end in the simple count).
        if (n > 5) {
            const int inplace = std::countl_one(seats.goal << (32 - n));
            const int skipped = inplace < n - 5 ? inplace : n - 5;
            if (skipped % 2)
                std::swap(seats.one, seats.two);
            n -= skipped;
        }
        const std::uint32_t inplay = power2(n) - 1;
        // The largest piece on peg 2 counts when its number has N's parity,
        // the largest on the goal when it has the other; as one-bit masks, the
        // larger mask is the larger piece.
        const std::uint32_t sameparity = n % 2 ? 0xAAAAAAAAu : 0x55555555u;
        const std::uint32_t base2 = std::bit_floor(seats.two & inplay) & sameparity;
        const std::uint32_t base3 = std::bit_floor(seats.goal & inplay) & ~sameparity;
        if ((base2 | base3) == 0)
            return h + power2(n) - 1;
        const bool towardtwo = base2 > base3;
        const std::uint32_t kbit = towardtwo ? base2 : base3;  // 2^k
        const int k = std::countr_zero(kbit);
        h += power2(n) - static_cast<std::int32_t>(2 * kbit);
        if (k <= 4)
            return h + simplecount(seats, towardtwo ? seats.two : seats.goal, k);
        // Toward peg 2, pegs 1, 2, 3 play the parts of 2, 3, 1 in the
        // sub-problem; toward the goal, of 2, 1, 3.
        seats = towardtwo ? Seats{seats.goal, seats.one, seats.two}
                          : Seats{seats.two, seats.one, seats.goal};
        n = k;
    }
}

}  // namespace

std::int32_t eval(const HanoiState& state, search_method method)
{
    return eval(state, pegsets(state), method);
}

std::int32_t eval(const HanoiState& state, const PegSets& sets, search_method method)
{
    std::int32_t h = method == search_method::breadth ? optimalmoves(pieces) : estimate(sets);
    if (method != search_method::greedy)
        h += state.move->depth;
    return -h;
}
