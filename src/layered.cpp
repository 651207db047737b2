#include "layered.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "evaluate.h"
#include "layerheap.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"

namespace {

// Up to this many pieces an entry takes two bytes.
constexpr int lowpieces = 8;

/*
 * An entry: the peg the last move went to in the low two bits (0 for the
 * start), the position's code above them, and the parity of the depth in the
 * top bit. Two bytes hold the 3^8 positions of 8 pieces; more pieces take
 * four. Without its parity bit an entry is `4 * code + lastto`, a number
 * below 4 * 3^N: its index in the table of successors.
 */
template <class Entry>
struct Layout {
    static constexpr Entry paritybit = LayerHeap<Entry>::paritybit;

    static Entry make(std::uint32_t code, std::int16_t lastto, Entry parity)
    {
        return static_cast<Entry>(code << 2 | static_cast<std::uint32_t>(lastto) | parity);
    }
    static std::uint32_t index(Entry entry) { return entry & (paritybit - 1); }
    static std::uint32_t code(Entry entry) { return index(entry) >> 2; }
    static std::int16_t lastto(Entry entry) { return static_cast<std::int16_t>(entry & 3); }
};
static_assert(4 * powers3[lowpieces] <= Layout<std::uint16_t>::paritybit);
static_assert(4 * powers3[maxpieces] <= Layout<std::uint32_t>::paritybit);

/*
 * What taking an entry leads to: whether it is the goal, and its children in
 * the order of the legal moves, side by side as the heap pushes them (parity
 * bits clear). A state of a search has at most two children: after the first
 * move, either the smallest piece moved last and only one other move exists,
 * or another piece did, which may not move back, and the smallest piece has
 * its two moves; the start has the smallest piece's two.
 */
template <class Entry>
struct Successors {
    EntryPair<Entry> children = 0;
    std::uint16_t count = 0;
    bool goal = false;
};
static_assert(sizeof(Successors<std::uint16_t>) == 8);

// The successors of position `code`, whose pegs are `sets`, reached by a
// move to `lastto` (0 for none).
template <class Entry>
Successors<Entry> successorsof(const Problem& problem, std::uint32_t code, const PegSets& sets,
                               std::int16_t lastto)
{
    using L = Layout<Entry>;
    Successors<Entry> next;
    next.goal = sets == problem.goal;
    forlegalmoves(sets, lastto, [&](const PegMove& m) {
        // Only indexes that no search reaches have a third: a position other
        // than the start with no last move, or a last move to a peg whose top
        // did not just arrive there.
        if (next.count == 2)
            return;
        const EntryPair<Entry> child = L::make(movedcode(code, m), m.to, 0);
        next.children |= child << (8 * sizeof(Entry) * next.count++);
    });
    return next;
}

// The successors of every entry: for two-byte entries a table made before
// the search, so that taking an entry is one lookup; four-byte entries (3^N
// positions too many for a table) work theirs out as they are taken.
template <class Entry>
class SuccessorTable {
public:
    // Two-byte entries only.
    static constexpr bool tabulated = sizeof(Entry) == 2;
    // Its bytes: 8 for each of the 4 * 3^N entries.

    static std::size_t bytes(const Problem& problem)
    {
        return tabulated ? indexes(problem) * sizeof(Successors<Entry>) : 0;
    }

    explicit SuccessorTable(const Problem& problem)
        : problem_(problem)
    {
        if constexpr (tabulated) {
            table_.resize(indexes(problem));
            // Each position is decoded once for its four entries.
            for (std::uint32_t code = 0; code < problem.positions(); ++code) {
                const PegSets sets = problem.position(code);
                for (std::int16_t lastto = 0; lastto < 4; ++lastto)
                    table_[4 * code + static_cast<std::uint32_t>(lastto)] =
                        successorsof<Entry>(problem, code, sets, lastto);
            }
        }
    }
    Successors<Entry> operator()(Entry entry) const
    {
        if constexpr (tabulated)
            return table_[Layout<Entry>::index(entry)];
        const std::uint32_t code = Layout<Entry>::code(entry);
        return successorsof<Entry>(problem_, code, problem_.position(code),
                                   Layout<Entry>::lastto(entry));
    }

private:
    static std::size_t indexes(const Problem& problem)
    {
        return 4 * std::size_t{problem.positions()};
    }

    Problem problem_;
    std::vector<Successors<Entry>> table_;
};

// Kept out of its caller: inlined into the program's main, the loop loses
// registers to everything around it.
template <class Entry, class Observer>
[[gnu::noinline]] SearchResult searchon(const Problem& problem, const SearchLimits& limits,
                                        Observer& observer)
{
    using L = Layout<Entry>;
    const SuccessorTable<Entry> successors(problem);
    LayerHeap<Entry> frontier;
    Pacing pacing(limits);
    // The depth of the state taken last, and the parity bit of the shallower
    // depth on the frontier.
    std::int32_t depth = 0;
    Entry shallow = 0;
    const auto footprint = [&](std::size_t states) { return frontier.footprint(states); };
    const auto finish = [&](SearchStatus status, std::vector<Step>&& solution = {}) {
        return pacing.finish(status, std::move(solution), depth, frontier.footprint(0),
                             frontier.size());
    };
    if (!pacing.roomtostart(footprint, 1))
        return finish(SearchStatus::noroom);
    frontier.push(L::make(0, 0, 0), 1);
    while (frontier.size() != 0) {
        const Entry cur = frontier.top();
        // Once the shallower depth is used up, every entry is one deeper.
        if ((cur ^ shallow) & L::paritybit) {
            shallow ^= L::paritybit;
            ++depth;
        }
        frontier.pop(shallow);
        if (!pacing.count(depth, observer))
            return finish(SearchStatus::cancelled);
        const Successors<Entry> next = successors(cur);
        // The position itself only for the observer: unwatched, this is gone.
        const PegSets sets = problem.position(L::code(cur));
        observer.taken(unnumbered, sets, depth, frontier.size());
        if (next.goal) {
            std::optional<std::vector<Step>> path = shortestpath(problem);
            if (!path || path->size() != static_cast<std::size_t>(depth))
                return finish(SearchStatus::pathlost);
            return finish(SearchStatus::solved, std::move(*path));
        }
        if (const std::optional<SearchStatus> stop = pacing.limitreached(footprint))
            return finish(*stop);
        const EntryPair<Entry> deeper = (shallow ^ L::paritybit) * pairofones<Entry>;
        frontier.push(next.children | deeper, next.count);
        forlegalmoves(sets, L::lastto(cur), [&](const PegMove& m) {
            observer.pushed(
                unnumbered, unnumbered, m, applymove(sets, m), depth + 1,
                scorefrom(search_method::breadth, breadthestimate(problem.pieces), depth + 1));
        });
        observer.expanded(frontier.size());
    }
    return finish(SearchStatus::exhausted);
}

}  // namespace

template <class Observer>
SearchResult searchlayered(const Problem& problem, const SearchLimits& limits, Observer& observer)
{
    if (problem.pieces <= lowpieces)
        return searchon<std::uint16_t>(problem, limits, observer);
    return searchon<std::uint32_t>(problem, limits, observer);
}

template SearchResult searchlayered(const Problem&, const SearchLimits&, NoObserver&);
template SearchResult searchlayered(const Problem&, const SearchLimits&, ProgressLines&);
template SearchResult searchlayered(const Problem&, const SearchLimits&, FunctionObserver&);
template SearchResult searchlayered(const Problem&, const SearchLimits&, Watch&);

HeldBytes layeredheld(const Problem& problem)
{
    if (problem.pieces <= lowpieces)
        return {sizeof(std::uint16_t), 0, SuccessorTable<std::uint16_t>::bytes(problem)};
    return {sizeof(std::uint32_t), 0, SuccessorTable<std::uint32_t>::bytes(problem)};
}

std::optional<std::vector<Step>> shortestpath(const Problem& problem)
{
    const std::uint32_t start = problem.code(problem.start);
    const std::uint32_t goal = problem.code(problem.goal);
    const std::vector<std::int32_t> distance = distancesfrom(problem, start);
    if (distance[goal] < 0)
        return std::nullopt;
    // Back from the goal, one position nearer the start at each step: the
    // path is unique when every position on it has exactly one such neighbour.
    std::vector<Step> path(static_cast<std::size_t>(distance[goal]));
    for (std::uint32_t code = goal; code != start;) {
        int nearer = 0;
        std::uint32_t previous = 0;
        forlegalmoves(problem.position(code), 0, [&](const PegMove& m) {
            const std::uint32_t neighbour = movedcode(code, m);
            if (distance[neighbour] == distance[code] - 1) {
                ++nearer;
                previous = neighbour;
                path[static_cast<std::size_t>(distance[neighbour])] = {
                    static_cast<std::int8_t>(m.to), static_cast<std::int8_t>(m.from)};
            }
        });
        if (nearer != 1)
            return std::nullopt;
        code = previous;
    }
    return path;
}
