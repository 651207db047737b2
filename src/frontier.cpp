#include "frontier.h"

#include <bit>

namespace {

// Moves the larger child of `hole` (the right one on a tie) up into it and
// returns the child's place, the new hole. `hole` has two children.
template <class Key>
std::size_t promotelargerchild(Key* keys, std::size_t hole)
{
    // Either child is as likely to win: arithmetic, not a branch.
    const std::size_t right = 2 * hole + 1;
    const std::size_t child =
        right - static_cast<std::size_t>(keys[right].rank < keys[right - 1].rank);
    keys[hole] = keys[child];
    return child;
}

}  // namespace

template <class Rank>
void RankedHeap<Rank>::pop()
{
    const Key last = keys_[keys_.size() - 1];
    keys_.pop_back();
    const std::size_t n = keys_.size() - 1;
    if (n == 0)
        return;
    Key* const keys = keys_.data();
    std::size_t hole = 1;
    // Every place above the last two levels has both children: the hole
    // passes them without a bound check. Then at most one more step, to a
    // right child or to a lone left child.
    int levels = static_cast<int>(std::bit_width(n + 1)) - 2;
    for (; levels >= 4; levels -= 4) {
        hole = promotelargerchild(keys, promotelargerchild(keys, hole));
        hole = promotelargerchild(keys, promotelargerchild(keys, hole));
    }
    for (; levels > 0; --levels)
        hole = promotelargerchild(keys, hole);
    if (2 * hole + 1 <= n) {
        hole = promotelargerchild(keys, hole);
    } else if (2 * hole <= n) {
        keys[hole] = keys[2 * hole];
        hole = 2 * hole;
    }
    siftup(hole, last);
}

template class RankedHeap<std::uint32_t>;
template class RankedHeap<std::uint64_t>;
