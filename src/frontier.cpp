#include "frontier.h"

void Frontier::push(HanoiState state)
{
    heap_.push_back(state);
    siftup(heap_.size() - 1, state);
}

void Frontier::pop()
{
    const HanoiState last = heap_.back();
    heap_.pop_back();
    const std::size_t n = heap_.size();
    if (n == 0)
        return;
    std::size_t hole = 0;
    for (std::size_t right = 2; right < n; right = 2 * hole + 2) {
        const std::size_t child = heap_[right].score < heap_[right - 1].score ? right - 1 : right;
        heap_[hole] = heap_[child];
        hole = child;
    }
    if (const std::size_t left = 2 * hole + 1; left < n) {
        heap_[hole] = heap_[left];
        hole = left;
    }
    siftup(hole, last);
}

void Frontier::siftup(std::size_t hole, const HanoiState& state)
{
    while (hole > 0) {
        const std::size_t parent = (hole - 1) / 2;
        if (!(heap_[parent].score < state.score))
            break;
        heap_[hole] = heap_[parent];
        hole = parent;
    }
    heap_[hole] = state;
}
