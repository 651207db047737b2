#include "frontier.h"

#include <algorithm>
#include <cstdlib>
#include <new>

ScoreHeap::~ScoreHeap()
{
    std::free(keys_);
}

std::size_t ScoreHeap::grown(std::size_t capacity, std::size_t needed)
{
    if (needed <= capacity)
        return capacity;
    // Doubling while the array is small keeps copies rare; past 64 MiB it
    // grows by an eighth, so its capacity stays within 12.5% of its size.
    constexpr std::size_t gentlefrom = (std::size_t{64} << 20) / sizeof(Key);
    const std::size_t next = capacity < gentlefrom ? 2 * capacity : capacity + capacity / 8;
    return std::max({next, needed, std::size_t{1024}});
}

std::size_t ScoreHeap::footprint(std::size_t extra) const
{
    return grown(capacity_, size_ + extra) * sizeof(Key);
}

void ScoreHeap::push(Key key)
{
    if (size_ == capacity_) {
        const std::size_t capacity = grown(capacity_, size_ + 1);
        void* keys = std::realloc(keys_, capacity * sizeof(Key));
        if (!keys)
            throw std::bad_alloc();
        keys_ = static_cast<Key*>(keys);
        capacity_ = capacity;
    }
    ++size_;
    siftup(size_ - 1, key);
}

void ScoreHeap::pop()
{
    const Key last = keys_[--size_];
    const std::size_t n = size_;
    if (n == 0)
        return;
    Key* const keys = keys_;
    std::size_t hole = 0;
    for (std::size_t right = 2; right < n; right = 2 * hole + 2) {
        const std::size_t child = keys[right].score < keys[right - 1].score ? right - 1 : right;
        keys[hole] = keys[child];
        hole = child;
    }
    if (const std::size_t left = 2 * hole + 1; left < n) {
        keys[hole] = keys[left];
        hole = left;
    }
    siftup(hole, last);
}

void ScoreHeap::siftup(std::size_t hole, Key key)
{
    Key* const keys = keys_;
    while (hole > 0) {
        const std::size_t parent = (hole - 1) / 2;
        if (!(keys[parent].score < key.score))
            break;
        keys[hole] = keys[parent];
        hole = parent;
    }
    keys[hole] = key;
}
