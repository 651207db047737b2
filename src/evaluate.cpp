#include "evaluate.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

// The sub-problems are not built as states. The estimate works on the pieces
// of each peg as bit sets and relabels the three sets for each sub-problem, so
// `pieces` never needs to change and a level of the recursion costs a few bit
// operations. A (sub-)problem of n pieces is tracked by the bit 2^n.

namespace {

constexpr std::uint32_t evenpieces = 0x55555555u;

// The largest piece of `set` as a one-bit mask; 0 when empty.
std::uint32_t largestbit(std::uint32_t set)
{
    return (std::uint32_t{1} << (std::bit_width(set | 1) - 1)) & set;
}

// Moves owed by pieces 0..k-1 (k <= 4) on their way to the `target` set when
// the others lie on the `other` set or the third peg: each piece off the
// target costs one move, plus one for every smaller piece on its own peg or
// on the target. Tabled at compile time by k and the two sets' low 4 bits.
struct SimpleCounts {
    std::int8_t moves[5][16][16];
};

constexpr SimpleCounts countallsimple()
{
    SimpleCounts counts{};
    for (int k = 0; k <= 4; ++k)
        for (std::uint32_t target = 0; target < 16; ++target)
            for (std::uint32_t other = 0; other < 16; ++other) {
                const std::uint32_t inplay = (std::uint32_t{1} << k) - 1;
                const std::uint32_t third = ~(target | other) & inplay;
                int h = 0;
                for (int i = 0; i < k; ++i) {
                    const std::uint32_t piece = std::uint32_t{1} << i;
                    if (target & piece)
                        continue;
                    const std::uint32_t own = other & piece ? other : third;
                    h += 1 + std::popcount((own | target) & (piece - 1));
                }
                counts.moves[k][target][other] = static_cast<std::int8_t>(h);
            }
    return counts;
}

constexpr SimpleCounts simplecounts = countallsimple();

// One of the three pegs as the estimate sees it: its pieces, and the bit
// offset of its set in PegSets.
struct Role {
    std::uint32_t pieces;
    std::uint8_t offset;
};

constexpr std::uint8_t setoffset(int peg)
{
    return static_cast<std::uint8_t>(16 * peg);
}

}  // namespace

// Out of line: only a few children need it, and the search loop that calls it
// keeps more of its own values in registers without its body.
[[gnu::noinline]] EstimateParts estimateparts(const PegSets& sets, int pieces)
{
    // The pegs that play the parts of pegs 1, 2 and the goal.
    Role one{sets.on[1], setoffset(1)};
    Role two{sets.on[2], setoffset(2)};
    Role goal{sets.on[3], setoffset(3)};
    std::uint32_t nbit = static_cast<std::uint32_t>(power2(pieces));
    std::int32_t h = 0;
    for (;;) {
        // The largest pieces already on the goal cost nothing: each hands the
        // rest down as a sub-problem toward the same goal with pegs 1 and 2
        // swapped. Skip them all at once, as long as they leave a sub-problem
        // of at least 5 pieces (smaller ones end in the simple count).
        if (nbit > 32) {
            const std::uint32_t skipto = std::max(2 * largestbit(~goal.pieces & (nbit - 1)), 32u);
            if ((std::countr_zero(nbit) ^ std::countr_zero(skipto)) & 1)
                std::swap(one, two);
            nbit = skipto;
        }
        // The largest piece on peg 2 counts when its number has n's parity,
        // the largest on the goal when it has the other; as one-bit masks, the
        // larger mask is the larger piece k.
        const std::uint32_t inplay = nbit - 1;
        const std::uint32_t sameparity = nbit & evenpieces ? evenpieces : ~evenpieces;
        const std::uint32_t base2 = largestbit(two.pieces & inplay) & sameparity;
        const std::uint32_t base3 = largestbit(goal.pieces & inplay) & ~sameparity;
        const bool towardtwo = base2 > base3;
        const std::uint32_t kbit = towardtwo ? base2 : base3;
        if (kbit == 0)
            return {static_cast<std::int16_t>(h + static_cast<std::int32_t>(inplay)), 0,
                    goal.offset, one.offset};
        h += static_cast<std::int32_t>(nbit - 2 * kbit);
        if (kbit <= 16)
            return {static_cast<std::int16_t>(h), static_cast<std::uint8_t>(std::countr_zero(kbit)),
                    towardtwo ? two.offset : goal.offset, one.offset};
        // Toward peg 2, pegs 1, 2, 3 play the parts of 2, 3, 1 in the
        // sub-problem; toward the goal, of 2, 1, 3.
        if (towardtwo) {
            const Role oldone = one;
            one = goal;
            goal = two;
            two = oldone;
        } else {
            std::swap(one, two);
        }
        nbit = kbit;
    }
}

std::int32_t childestimate(const PegSets& sets, const EstimateParts& parts)
{
    std::uint64_t packed = 0;
    static_assert(sizeof packed == sizeof sets);
    std::memcpy(&packed, &sets, sizeof packed);
    const auto target = static_cast<std::uint32_t>(packed >> parts.target) & 15;
    const auto other = static_cast<std::uint32_t>(packed >> parts.other) & 15;
    return parts.partial + simplecounts.moves[parts.k][target][other];
}
