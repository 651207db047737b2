#include "evaluate.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "puzzle.h"

// The sub-problems are not built as states: the evaluation works on the
// pieces of each peg as bit sets, and follows which real peg plays the part of
// each peg of the sub-problem. So `pieces` never needs to change, and each
// level of the recursion costs a few bit operations.

namespace {

// seat[v]: the real peg that plays the part of peg v in the current
// sub-problem (index 0 unused).
using Seats = std::array<int, 4>;

int largestpiece(std::uint32_t set) { return std::bit_width(set) - 1; }  // -1 when empty

// Moves still owed by pieces 0..k-1 on their way to real peg `target`,
// counted one by one: each piece off the target costs one move, plus one for
// every smaller piece on the same peg or on the target.
std::int32_t simplecount(const HanoiState& s, const PegSets& sets, int k, int target)
{
    std::int32_t h = 0;
    for (int i = 0; i < k; ++i) {
        const int peg = s.pegs[i];
        if (peg == target)
            continue;
        // k <= 4, so at most three smaller pieces: count them by table.
        static constexpr std::int8_t count[8] = {0, 1, 1, 2, 1, 2, 2, 3};
        const std::uint32_t smaller = (std::uint32_t{1} << i) - 1;
        h += 1 + count[(sets.on[peg] | sets.on[target]) & smaller];
    }
    return h;
}

// The seats of the sub-problem whose goal is peg p of the current one:
// toward peg 2, pegs 1, 2, 3 become 2, 3, 1; toward peg 3, they become 2, 1, 3.
Seats subproblemseats(const Seats& seat, int p)
{
    if (p == 2)
        return {0, seat[3], seat[1], seat[2]};
    return {0, seat[2], seat[1], seat[3]};
}

// How many of the pieces n-1, n-2, ... (downward from the largest) are in `set`.
int largestrun(std::uint32_t set, int n)
{
    return std::countl_one(set << (32 - n));
}

std::int32_t estimate(const HanoiState& s)
{
    const PegSets sets = pegsets(s);
    Seats seat = {0, 1, 2, 3};
    std::int32_t h = 0;
    for (int n = pieces;;) {
        // The largest pieces already on the goal cost nothing: each hands the
        // rest down as a sub-problem toward the same goal with pegs 1 and 2
        // swapped. Skip them all at once, as long as they leave a sub-problem
        // of at least 5 pieces (smaller ones end in the simple count).
        if (const int inplace = n > 5 ? std::min(largestrun(sets.on[seat[3]], n), n - 5) : 0) {
            if (inplace % 2)
                std::swap(seat[1], seat[2]);
            n -= inplace;
        }
        const std::uint32_t inplay = power2(n) - 1;
        int b2 = largestpiece(sets.on[seat[2]] & inplay);
        int b3 = largestpiece(sets.on[seat[3]] & inplay);
        // A piece on peg 2 counts with N's parity, one on peg 3 with the other
        // parity; -1 (no piece) never matches a parity of 0 or 1.
        if (b2 % 2 != n % 2)
            b2 = -1;
        if (b3 % 2 == n % 2)
            b3 = -1;
        const int k = b2 > b3 ? b2 : b3;
        const int p = b2 > b3 ? 2 : 3;
        if (k < 0)
            return h + power2(n) - 1;
        h += power2(n) - power2(k + 1);
        if (k <= 4)
            return h + simplecount(s, sets, k, seat[p]);
        seat = subproblemseats(seat, p);
        n = k;
    }
}

}  // namespace

std::int32_t eval(const HanoiState& state, search_method method)
{
    std::int32_t h = method == search_method::breadth ? optimalmoves(pieces) : estimate(state);
    if (method != search_method::greedy)
        h += state.move->depth;
    return -h;
}
