#include "frontier.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

Frontier::~Frontier()
{
    std::free(keys_);
}

std::size_t Frontier::grownkeys(std::size_t capacity, std::size_t needed)
{
    if (needed <= capacity)
        return capacity;
    // Doubling while the array is small keeps copies rare; past 64 MiB it
    // grows by an eighth, so its capacity stays within 12.5% of its size.
    constexpr std::size_t gentlefrom = (std::size_t{64} << 20) / sizeof(Key);
    const std::size_t grown = capacity < gentlefrom ? 2 * capacity : capacity + capacity / 8;
    return std::max({grown, needed, std::size_t{1024}});
}

std::size_t Frontier::footprint(std::size_t extra) const
{
    const std::size_t newslots = extra > freeslots_.size() ? extra - freeslots_.size() : 0;
    if (slots_.size() + newslots > UINT32_MAX)
        return SIZE_MAX;
    return grownkeys(capacity_, size_ + extra) * sizeof(Key) + slots_.footprint(newslots) +
           freeslots_.capacity() * sizeof(std::uint32_t);
}

std::uint32_t Frontier::takeslot()
{
    if (freeslots_.empty()) {
        slots_.push_back({});
        return static_cast<std::uint32_t>(slots_.size() - 1);
    }
    const std::uint32_t slot = freeslots_.back();
    freeslots_.pop_back();
    return slot;
}

void Frontier::push(const HanoiState& state)
{
    if (size_ == capacity_) {
        const std::size_t capacity = grownkeys(capacity_, size_ + 1);
        void* grown = std::realloc(keys_, capacity * sizeof(Key));
        if (!grown)
            throw std::bad_alloc();
        keys_ = static_cast<Key*>(grown);
        capacity_ = capacity;
    }
    const std::uint32_t slot = takeslot();
    slots_[slot] = {state.move, state.pegs};
    ++size_;
    siftup(size_ - 1, {state.score, slot});
}

HanoiState Frontier::top() const
{
    const Slot& slot = slots_[keys_[0].slot];
    HanoiState state;
    state.pegs = slot.pegs;
    state.score = keys_[0].score;
    state.move = slot.move;
    return state;
}

void Frontier::pop()
{
    freeslots_.push_back(keys_[0].slot);
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

void Frontier::siftup(std::size_t hole, Key key)
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
