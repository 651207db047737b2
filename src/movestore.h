/*
 * Storage for the move records of one search. Records are handed out one at
 * a time and never move or die before the store does, so states and later
 * moves can link to them. They sit in fixed-size blocks: no per-record
 * allocation, and growing never copies what is already stored.
 */
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "hanoi.h"

class MoveStore {
public:
    const HanoiMove* add(const HanoiMove& move);
    std::size_t size() const { return size_; }

private:
    static constexpr std::size_t blockrecords = std::size_t{1} << 16;

    std::vector<std::unique_ptr<HanoiMove[]>> blocks_;
    std::size_t size_ = 0;
};
