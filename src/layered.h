/*
 * Breadth-first search on a layered frontier: the same search as the general
 * engine's with breadth-first scores, taking the same states in the same
 * order, in a few bytes a state.
 *
 * Breadth-first scores order states by depth alone, so states leave the
 * frontier in order of depth and the frontier only ever holds two depths, d
 * and d + 1. An entry keeps the position (base 3, a digit a piece), the peg
 * the last move went to and the parity of its depth: two bytes up to 8
 * pieces, four beyond. The frontier is a LayerHeap (layerheap.h): the
 * general frontier's mechanics and tie rule on the depth class alone, so
 * every count is the general engine's. Taking an entry is one lookup in a
 * table of every entry's successors made before the search (up to 8 pieces;
 * beyond, they are worked out as entries are taken).
 *
 * No move records are kept. The first goal taken lies at depth 2^N - 1 and
 * the puzzle's shortest solution is unique, so after the search the path is
 * recovered by a breadth-first search over the 3^N positions; a path that is
 * not unique or not 2^N - 1 moves long is reported as `pathlost`, never
 * guessed.
 *
 * The problem is the classic one (isclassic, engine.h). It numbers no nodes
 * (engine.h): an observer that needs node numbers takes the best-first
 * engine, which takes the same states in the same order.
 *
 * Preconditions and results as for every engine (engine.h); `memory` is the
 * bytes the frontier holds (its capacity, which never shrinks). The table of
 * successors, 8 bytes for each of 4 * 3^N entries (23 KB for 6 pieces, at
 * most 210 KB), is left out of the memory limit's checks (the budget's
 * margin, memory.h, covers it) but counted by layeredheld().
 * Complexity: the table O(3^N); a pop walks the heap's height; a push is
 * O(1).
 */
#pragma once

#include <optional>
#include <vector>

#include "engine.h"

// Instantiated in layered.cpp for the observers of observe.h.
template <class Observer>
SearchResult searchlayered(const Problem& problem, const SearchLimits& limits, Observer& observer);

// What the layered engine holds for a frontier entry (it keeps no move
// records), and for the whole run its table of successors.
HeldBytes layeredheld(const Problem& problem);

// The unique shortest path from the problem's start to its goal, in playing
// order; nothing when there is none or more than one.
std::optional<std::vector<Step>> shortestpath(const Problem& problem);
