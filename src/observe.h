/*
 * What watches a search. Both engines (the general one and the layered
 * breadth-first one) take an observer as a template parameter and call it at
 * three points of their loop:
 *
 *   taken(sets, depth, frontiersize)   a state was taken from the frontier
 *                                      (before it is tested for the goal);
 *                                      frontiersize counts what is left
 *   pushed(move, sets, depth, score)   a child of that state was pushed:
 *                                      the move that made it, its position,
 *                                      depth and score (higher is better)
 *   expanded(frontiersize)             every child of the state taken last
 *                                      has been pushed
 *
 * The start state is pushed before the loop and reported to no hook; it is
 * the first state taken. NoObserver does nothing: its calls inline away, so a
 * search watched by it costs what an unwatched one would.
 */
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "puzzle.h"

struct NoObserver {
    void taken(const PegSets& /*sets*/, std::int32_t /*depth*/, std::size_t /*frontiersize*/) { }
    void pushed(const PegMove& /*move*/, const PegSets& /*sets*/, std::int32_t /*depth*/,
                std::int32_t /*score*/)
    {
    }
    void expanded(std::size_t /*frontiersize*/) { }
};

// Hands each hook to a function: for watchers that need no speed, such as
// tests. An unset function is skipped.
struct FunctionObserver {
    std::function<void(const PegSets&, std::int32_t, std::size_t)> ontaken;
    std::function<void(const PegMove&, const PegSets&, std::int32_t, std::int32_t)> onpushed;
    std::function<void(std::size_t)> onexpanded;

    void taken(const PegSets& sets, std::int32_t depth, std::size_t frontiersize)
    {
        if (ontaken)
            ontaken(sets, depth, frontiersize);
    }
    void pushed(const PegMove& move, const PegSets& sets, std::int32_t depth, std::int32_t score)
    {
        if (onpushed)
            onpushed(move, sets, depth, score);
    }
    void expanded(std::size_t frontiersize)
    {
        if (onexpanded)
            onexpanded(frontiersize);
    }
};
