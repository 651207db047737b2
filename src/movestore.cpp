#include "movestore.h"

const HanoiMove* MoveStore::add(const HanoiMove& move)
{
    const std::size_t slot = size_ % blockrecords;
    if (slot == 0)
        blocks_.push_back(std::make_unique_for_overwrite<HanoiMove[]>(blockrecords));
    HanoiMove* record = &blocks_.back()[slot];
    *record = move;
    ++size_;
    return record;
}
