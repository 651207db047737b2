#include "deepening.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "observe.h"
#include "problem.h"
#include "puzzle.h"

namespace {

// Up to this many pieces the rows are a table made before the search.
constexpr int tabulatedpieces = 8;

// A state's entry is 4 * code + lastto: its position and the peg the last
// move went to (0 for the start only). On the stack an entry carries its
// depth in the upper half.
using StackEntry = std::uint64_t;
constexpr StackEntry depthunit = StackEntry{1} << 32;

// A state's children in move order. A state of a search has at most two:
// after the first move, either the smallest piece moved last and only one
// other move exists, or another piece did, which may not move back, and the
// smallest piece has its two; the start has the smallest piece's two.
struct Children {
    std::array<std::uint32_t, 2> entry{};
    std::uint8_t count = 0;
};

Children childrenof(const Problem& problem, std::uint32_t entry)
{
    const std::uint32_t code = entry >> 2;
    Children children;
    forlegalmoves(problem.position(code), static_cast<std::int16_t>(entry & 3),
                  [&](const PegMove& m) {
                      // Only entries that no search reaches have a third.
                      if (children.count < children.entry.size())
                          children.entry[children.count++] = 4 * movedcode(code, m) +
                                                             static_cast<std::uint32_t>(m.to);
                  });
    return children;
}

/*
 * What taking an entry amounts to at a level: 0 when it lies at the depth
 * limit, 1 and 2 when it lies so many levels above it (a batch: the state
 * and its subtree down to the limit, in the order the stack takes them), and
 * `openlevel` above those (the state alone, its children pushed).
 */
constexpr int openlevel = 3;
constexpr int levels = openlevel + 1;

struct Row {
    // The children's entries as they are stored at the top of the stack and
    // the slot after it, so that the first child is taken next.
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    std::uint8_t push = 0;    // children pushed (the open level only)
    std::uint8_t below = 0;   // states taken after this one in its batch
    std::uint8_t growth = 0;  // the most the stack grows by in the batch
    std::uint8_t goalat = 0;  // the goal's place in the batch (1: this state); 0: none
    std::uint8_t cuts = 0;    // whether the batch takes a state at the limit
    std::uint8_t last = 0;    // how much deeper than this state the batch's last one lies
};
static_assert(sizeof(Row) == 16);

// Walks a batch as the stack would take it: a state, then each child's
// batch in move order.
struct BatchWalk {
    const Problem& problem;
    std::uint32_t goal;
    Row row;
    int taken = 0;
    int size = 0;

    void take(std::uint32_t entry, int left, int depth)
    {
        ++taken;
        if (row.goalat == 0 && entry >> 2 == goal)
            row.goalat = static_cast<std::uint8_t>(taken);
        row.last = static_cast<std::uint8_t>(depth);
        if (left == 0) {
            row.cuts = 1;
            return;
        }
        const Children children = childrenof(problem, entry);
        size += children.count;
        row.growth = static_cast<std::uint8_t>(std::max<int>(row.growth, size));
        for (std::uint8_t i = 0; i < children.count; ++i) {
            --size;
            take(children.entry[i], left - 1, depth + 1);
        }
    }
};

Row rowof(const Problem& problem, std::uint32_t goal, std::uint32_t entry, int level)
{
    if (level < openlevel) {
        BatchWalk walk{problem, goal, {}};
        walk.take(entry, level, 0);
        walk.row.below = static_cast<std::uint8_t>(walk.taken - 1);
        return walk.row;
    }
    const Children children = childrenof(problem, entry);
    Row row;
    row.low = children.entry[children.count == 2 ? 1 : 0];
    row.high = children.entry[0];
    row.push = row.growth = children.count;
    row.goalat = entry >> 2 == goal ? 1 : 0;
    return row;
}

// The rows of every entry: a table made before the search up to
// `tabulatedpieces` pieces, worked out as they are read beyond.
template <bool tabulated>
class Rows {
public:
    explicit Rows(const Problem& problem)
        : problem_(problem)
        , goal_(problem.code(problem.goal))
    {
        if constexpr (tabulated) {
            table_.resize(levels * entries(problem));
            for (std::uint32_t entry = 0; entry < entries(problem); ++entry)
                for (int level = 0; level < levels; ++level)
                    table_[levels * entry + static_cast<std::size_t>(level)] =
                        rowof(problem, goal_, entry, level);
        }
    }

    Row operator()(std::uint32_t entry, int level) const
    {
        if constexpr (tabulated)
            return table_[levels * entry + static_cast<std::size_t>(level)];
        return rowof(problem_, goal_, entry, level);
    }

    bool goal(std::uint32_t entry) const { return entry >> 2 == goal_; }

private:
    static std::uint32_t entries(const Problem& problem) { return 4 * problem.positions(); }

    Problem problem_;
    std::uint32_t goal_;
    std::vector<Row> table_;
};

// The move from the state of entry `parent` to that of `child`: the top of
// the child's last destination peg came from its peg in the parent.
Step stepbetween(const Problem& problem, std::uint32_t parent, std::uint32_t child)
{
    const auto to = static_cast<int>(child & 3);
    const int piece = std::countr_zero(static_cast<unsigned>(problem.position(child >> 2).on[to]));
    return {static_cast<std::int8_t>(pegof(problem.position(parent >> 2), piece)),
            static_cast<std::int8_t>(to)};
}

// Kept out of its caller, as layered.cpp's loop is: inlined into the
// program's main, the loop loses registers to everything around it.
template <bool tabulated, class Observer>
[[gnu::noinline]] DeepeningResult searchon(const Problem& problem,
                                           std::optional<std::int32_t> largestlimit,
                                           const SearchLimits& limits, Observer& observer)
{
    const Rows<tabulated> rows(problem);
    const std::uint32_t start = 4 * problem.code(problem.start);
    Pacing pacing(limits);
    // The stack, with room for two children beyond its largest size (L + 1
    // entries at limit L: one sibling left at each level above the deepest
    // and two children); and the entries of the path to the state taken
    // last, by depth.
    std::vector<StackEntry> stack;
    std::vector<std::uint32_t> path;
    std::size_t top = 0;
    std::size_t largest = 0;
    std::int32_t iterations = 0;
    std::int32_t limit = 0;
    std::int32_t depth = 0;
    const auto held = [&](std::size_t /*states*/) {
        return stack.capacity() * sizeof(StackEntry) + path.capacity() * sizeof(std::uint32_t);
    };
    const auto finish = [&](SearchStatus status, std::vector<Step>&& solution = {}) {
        SearchResult search = pacing.finish(status, std::move(solution), depth, held(0), top);
        // Every state pushed was taken but those left on the stack.
        const std::int64_t generated = search.examined + static_cast<std::int64_t>(top);
        return DeepeningResult{std::move(search), generated, largest, iterations,
                               std::max(iterations - 1, 0)};
    };
    const auto pathto = [&](std::int32_t goaldepth) {
        std::vector<Step> steps;
        for (std::int32_t d = 1; d <= goaldepth; ++d)
            steps.push_back(stepbetween(problem, path[static_cast<std::size_t>(d - 1)],
                                        path[static_cast<std::size_t>(d)]));
        return steps;
    };
    for (;; ++limit) {
        const auto levelsdown = static_cast<std::size_t>(limit) + 1;
        const auto room = [&](std::size_t entries) {
            return (entries + 2) * sizeof(StackEntry) + entries * sizeof(std::uint32_t);
        };
        if (!pacing.roomtostart(room, levelsdown))
            return finish(limit == 0 ? SearchStatus::noroom : SearchStatus::outofmemory);
        // Exactly that room: the limit was checked against it.
        stack.reserve(levelsdown + 2);
        stack.resize(levelsdown + 2);
        path.reserve(levelsdown);
        path.resize(levelsdown);
        ++iterations;
        StackEntry* const base = stack.data();
        std::uint32_t* const trail = path.data();
        bool cut = false;
        base[0] = start;
        top = 1;
        largest = std::max<std::size_t>(largest, 1);
        while (top != 0) {
            const StackEntry entry = base[--top];
            const auto index = static_cast<std::uint32_t>(entry);
            const auto d = static_cast<std::int32_t>(entry >> 32);
            trail[d] = index;
            const Row row = rows(index, std::min(limit - d, openlevel));
            const StackEntry deeper = (entry & ~(depthunit - 1)) + depthunit;
            if (row.goalat == 0 && pacing.countmany(1 + row.below)) [[likely]] {
                largest = std::max<std::size_t>(largest, top + row.growth);
                cut |= row.cuts != 0;
                depth = d + row.last;
                base[top] = row.low + deeper;
                base[top + 1] = row.high + deeper;
                top += row.push;
                continue;
            }
            // A checkpoint or the goal lies in the batch: this state alone,
            // its children pushed to be taken one by one.
            depth = d;
            if (!pacing.count(d, observer))
                return finish(SearchStatus::cancelled);
            if (rows.goal(index))
                return finish(SearchStatus::solved, pathto(d));
            if (const std::optional<SearchStatus> stop = pacing.limitreached(held))
                return finish(*stop);
            if (d == limit) {
                cut = true;
                continue;
            }
            const Row open = rows(index, openlevel);
            base[top] = open.low + deeper;
            base[top + 1] = open.high + deeper;
            top += open.push;
            largest = std::max(largest, top);
        }
        if (!cut)
            return finish(SearchStatus::exhausted);
        if (largestlimit && limit == *largestlimit)
            return finish(SearchStatus::cutoff);
    }
}

}  // namespace

template <class Observer>
DeepeningResult deepening(const Problem& problem, std::optional<std::int32_t> largestlimit,
                          const SearchLimits& limits, Observer& observer)
{
    if (problem.pieces <= tabulatedpieces)
        return searchon<true>(problem, largestlimit, limits, observer);
    return searchon<false>(problem, largestlimit, limits, observer);
}

template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>,
                                   const SearchLimits&, NoObserver&);
template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>,
                                   const SearchLimits&, ProgressLines&);
template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>,
                                   const SearchLimits&, FunctionObserver&);
