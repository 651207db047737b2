/*
 * Breadth-first search on a layered frontier: the same search as the general
 * engine's with breadth-first scores, taking the same states in the same
 * order, in a few bytes a state.
 *
 * Breadth-first scores order states by depth alone, so states leave the
 * frontier in order of depth and the frontier only ever holds two depths, d
 * and d + 1. An entry keeps the position (base 3, a digit a piece), the peg
 * the last move went to and the parity of its depth: two bytes up to 8
 * pieces, four beyond. Comparisons read the depth class alone; the heap
 * mechanics are the general frontier's, tie rule included, so every count
 * is the general engine's. A child is always one of the deepest entries, so
 * a push never sifts.
 *
 * No move records are kept. The first goal taken lies at depth 2^N - 1 and
 * the puzzle's shortest solution is unique, so after the search the path is
 * recovered by a breadth-first search over the 3^N positions; a path that is
 * not unique or not 2^N - 1 moves long is reported as `pathlost`, never
 * guessed.
 *
 * Preconditions and results as for every engine (engine.h); `memory` is the
 * bytes the frontier holds (its capacity, which never shrinks).
 * Complexity: a pop walks the heap's height; a push is O(1).
 */
#pragma once

#include <optional>
#include <vector>

#include "engine.h"

// Instantiated in layered.cpp for the observers of observe.h.
template <class Observer>
SearchResult searchlayered(const SearchLimits& limits, Observer& observer);

// What the layered engine holds for a frontier entry (it keeps no move
// records).
HeldBytes layeredheld();

// The unique shortest path from the start to the goal position, in playing
// order; nothing when there is none or more than one.
std::optional<std::vector<Step>> shortestpath();
