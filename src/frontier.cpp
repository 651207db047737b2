#include "frontier.h"

void ScoreHeap::pop()
{
    const Key last = keys_[keys_.size() - 1];
    keys_.pop_back();
    const std::size_t n = keys_.size() - 1;
    if (n == 0)
        return;
    Key* const keys = keys_.data();
    std::size_t hole = 1;
    for (std::size_t right = 3; right <= n; right = 2 * hole + 1) {
        const std::size_t child = keys[right].score < keys[right - 1].score ? right - 1 : right;
        keys[hole] = keys[child];
        hole = child;
    }
    if (const std::size_t left = 2 * hole; left <= n) {
        keys[hole] = keys[left];
        hole = left;
    }
    siftup(hole, last);
}
