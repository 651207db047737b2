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
// move went to (0 for the start only). Its children, in move order: a state
// of a search has at most two:
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
                          children.entry[children.count++] =
                              4 * movedcode(code, m) + static_cast<std::uint32_t>(m.to);
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

// More states than pass between two of the pacing's checkpoints: the span
// of a batch that holds the goal, so that it is taken state by state.
constexpr std::uint32_t solo = UINT32_MAX;
static_assert(memorycheckinterval < solo);

struct Row {
    // The children's slots (below) at level 0, in the order they are stored
    // at the top of the stack and the place after it, so that the first
    // child is taken next.
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    std::uint32_t span = 1;  // states the batch takes, or solo
    std::uint8_t push = 0;  // children pushed (the open level only)
    std::uint8_t growth = 0;  // the most the stack grows by in the batch
};
static_assert(sizeof(Row) == 16);

// Where the row of an entry at a level lies in the table of rows, in bytes:
// its slot. The stack holds slots, so that taking a state reads its row
// with no arithmetic on the way.
constexpr std::uint32_t slotof(std::uint32_t entry, int level)
{
    return (entry * levels + static_cast<std::uint32_t>(level)) * sizeof(Row);
}
static_assert(std::uint64_t{4} * powers3[maxpieces] * levels * sizeof(Row) <= UINT32_MAX);

constexpr std::uint32_t entryof(std::uint32_t slot)
{
    return slot / (levels * sizeof(Row));
}

// Walks a batch as the stack would take it: a state, then each child's
// batch in move order.
struct BatchWalk {
    const Problem& problem;
    std::uint32_t goal;
    std::uint32_t taken = 0;
    bool goalamong = false;
    int size = 0;
    int growth = 0;

    void take(std::uint32_t entry, int left)
    {
        ++taken;
        goalamong = goalamong || entry >> 2 == goal;
        if (left == 0)
            return;
        const Children children = childrenof(problem, entry);
        size += children.count;
        growth = std::max(growth, size);
        for (std::uint8_t i = 0; i < children.count; ++i) {
            --size;
            take(children.entry[i], left - 1);
        }
    }
};

Row rowof(const Problem& problem, std::uint32_t goal, std::uint32_t entry, int level)
{
    Row row;
    if (level < openlevel) {
        BatchWalk walk{problem, goal};
        walk.take(entry, level);
        row.span = walk.goalamong ? solo : walk.taken;
        row.growth = static_cast<std::uint8_t>(walk.growth);
        return row;
    }
    const Children children = childrenof(problem, entry);
    row.low = slotof(children.entry[children.count == 2 ? 1 : 0], 0);
    row.high = slotof(children.entry[0], 0);
    row.push = row.growth = children.count;
    row.span = entry >> 2 == goal ? solo : 1;
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
            const std::uint32_t entries = 4 * problem.positions();
            table_.resize(std::size_t{levels} * entries);
            for (std::uint32_t entry = 0; entry < entries; ++entry)
                for (int level = 0; level < levels; ++level)
                    table_[slotof(entry, level) / sizeof(Row)] =
                        rowof(problem, goal_, entry, level);
        }
    }

    Row operator()(std::uint32_t slot) const
    {
        if constexpr (tabulated)
            return *reinterpret_cast<const Row*>(reinterpret_cast<const char*>(table_.data()) +
                                                 slot);
        return rowof(problem_, goal_, entryof(slot), static_cast<int>(slot / sizeof(Row) % levels));
    }

    bool goal(std::uint32_t slot) const { return entryof(slot) >> 2 == goal_; }

private:
    Problem problem_;
    std::uint32_t goal_;
    std::vector<Row> table_;
};

// The move from the state of slot `from` to that of `slot`: the top of the
// latter's last destination peg came from its peg in the former.
Step stepbetween(const Problem& problem, std::uint32_t from, std::uint32_t slot)
{
    const std::uint32_t parent = entryof(from);
    const std::uint32_t child = entryof(slot);
    const auto to = static_cast<int>(child & 3);
    const int piece = std::countr_zero(static_cast<unsigned>(problem.position(child >> 2).on[to]));
    return {static_cast<std::int8_t>(pegof(problem.position(parent >> 2), piece)),
            static_cast<std::int8_t>(to)};
}

// The depth of the last state an iteration with `limit` takes from `start`:
// the end of the path through every last child.
std::int32_t lastdepth(const Problem& problem, std::uint32_t start, std::int32_t limit)
{
    std::int32_t depth = 0;
    for (Children children = childrenof(problem, start); depth < limit && children.count != 0;
         children = childrenof(problem, children.entry[children.count - 1u]))
        ++depth;
    return depth;
}

/*
 * On the stack a state is its slot at its level, with its depth in the
 * upper half. An iteration's loop keeps its stack (with room for two
 * children beyond its largest size), the slots of the path to the state
 * taken last by depth, the stack's size and its largest size in this
 * iteration and those before, and the states that may be taken before the
 * pacing's next checkpoint.
 */
using StackEntry = std::uint64_t;

struct Iteration {
    StackEntry* base;
    std::uint32_t* path;
    // By depth d, what turns a level-0 slot into the stack entry of a child
    // of a state at depth d: depth d + 1 and its level.
    const StackEntry* deeper;
    std::size_t top;
    std::size_t largest;
    std::int64_t free;
};

// The arrays of an iteration with limit L, an entry of each for each of its
// L + 1 depths (the stack holds at most L + 1: one sibling left at each
// depth above the deepest, and two children), and two more on the stack.
class IterationArrays {
public:
    // Their bytes for `depths` depths.
    static std::uint64_t bytesfor(std::size_t depths)
    {
        return depths * (2 * sizeof(StackEntry) + sizeof(std::uint32_t)) + 2 * sizeof(StackEntry);
    }
    // Their bytes now.
    std::uint64_t bytes() const
    {
        return (stack_.capacity() + deeper_.capacity()) * sizeof(StackEntry) +
               path_.capacity() * sizeof(std::uint32_t);
    }

    // Arrays of exactly bytesfor(limit + 1) bytes; `it` set on them with the
    // state of slot `start` on its stack.
    void prepare(std::int32_t limit, std::uint32_t start, Iteration& it)
    {
        const auto depths = static_cast<std::size_t>(limit) + 1;
        // Reserved first, so that each holds exactly its size, not the
        // doubled capacity a resize may take.
        const auto size = [](auto& array, std::size_t entries) {
            array.reserve(entries);
            array.resize(entries);
        };
        size(stack_, depths + 2);
        size(deeper_, depths);
        size(path_, depths);
        for (std::int32_t d = 0; d <= limit; ++d)
            deeper_[static_cast<std::size_t>(d)] =
                static_cast<StackEntry>(d + 1) << 32 |
                slotof(0, std::clamp(limit - d - 1, 0, openlevel));
        it.base = stack_.data();
        it.path = path_.data();
        it.deeper = deeper_.data();
        it.base[0] = slotof(start, std::min(limit, openlevel));
        it.top = 1;
        it.largest = std::max<std::size_t>(it.largest, 1);
    }

private:
    std::vector<StackEntry> stack_;
    std::vector<StackEntry> deeper_;
    std::vector<std::uint32_t> path_;
};

// Stores the children of the state of `entry` that `row` gives at the top
// of the stack; returns the first child's entry, the new top if any.
StackEntry pushchildren(Iteration& it, StackEntry entry, const Row& row)
{
    const StackEntry deeper = it.deeper[entry >> 32];
    it.base[it.top] = row.low + deeper;
    it.base[it.top + 1] = row.high + deeper;
    it.top += row.push;
    return row.high + deeper;
}

// Takes the states of the stack in batches while each batch's states are
// free; stops with the stack empty, or with a state to be taken alone on
// top. Out of its caller, so that the loop has the registers to itself.
template <bool tabulated>
[[gnu::noinline]] Iteration takebatches(const Rows<tabulated>& rows, Iteration it)
{
    if (it.top == 0)
        return it;
    StackEntry entry = it.base[it.top - 1];
    for (;;) {
        const Row row = rows(static_cast<std::uint32_t>(entry));
        if (row.span > it.free) [[unlikely]]
            break;
        it.path[entry >> 32] = static_cast<std::uint32_t>(entry);
        it.free -= row.span;
        --it.top;
        it.largest = std::max<std::size_t>(it.largest, it.top + row.growth);
        const StackEntry first = pushchildren(it, entry, row);
        // A first child is taken next: from the row rather than back from
        // the stack, so that taking it need not wait for the store. The
        // branch follows the tree's regular shape and is well predicted (a
        // third faster than a load every time).
        if (row.push != 0) {
            entry = first;
            continue;
        }
        if (it.top == 0)
            break;
        entry = it.base[it.top - 1];
    }
    return it;
}

// Kept out of its caller, as layered.cpp's loop is: inlined into the
// program's main, the loop loses registers to everything around it.
template <bool tabulated, class Observer>
[[gnu::noinline]] DeepeningResult searchon(const Problem& problem,
                                           std::optional<std::int32_t> largestlimit,
                                           const SearchLimits& limits, Observer& observer)
{
    const Rows<tabulated> rows(problem);
    const std::uint32_t start = 4 * problem.code(problem.start);  // its entry
    Pacing pacing(limits);
    IterationArrays arrays;
    Iteration it{nullptr, nullptr, nullptr, 0, 0, 0};
    std::int32_t iterations = 0;
    std::int32_t depth = 0;
    const auto held = [&](std::size_t /*states*/) { return arrays.bytes(); };
    const auto finish = [&](SearchStatus status, std::vector<Step>&& solution = {}) {
        SearchResult search = pacing.finish(status, std::move(solution), depth, held(0), it.top);
        search.iterations = iterations;
        if (iterations > 0)
            search.bound = iterations - 1;
        // Every state pushed was taken but those left on the stack.
        const std::int64_t generated = search.examined + static_cast<std::int64_t>(it.top);
        return DeepeningResult{std::move(search), generated, it.largest};
    };
    const auto pathto = [&](std::int32_t goaldepth) {
        std::vector<Step> steps;
        for (std::int32_t d = 1; d <= goaldepth; ++d)
            steps.push_back(stepbetween(problem, it.path[d - 1], it.path[d]));
        return steps;
    };
    // The states the last whole iteration examined: each iteration takes
    // those of the one before and the states at its limit, those it cuts.
    std::int64_t previous = 0;
    for (std::int32_t limit = 0;; ++limit) {
        if (!pacing.roomtostart(IterationArrays::bytesfor, static_cast<std::size_t>(limit) + 1))
            return finish(limit == 0 ? SearchStatus::noroom : SearchStatus::outofmemory);
        ++iterations;
        arrays.prepare(limit, start, it);
        const std::int64_t before = pacing.examined();
        it.free = pacing.freestates();
        for (;;) {
            it = takebatches(rows, it);
            // The free states taken are counted before any other.
            pacing.countmany(pacing.freestates() - it.free);
            if (it.top == 0)
                break;
            // A checkpoint or the goal lies in the top state's batch: the
            // state alone, its children pushed to be taken one by one.
            const StackEntry entry = it.base[--it.top];
            const auto slot = static_cast<std::uint32_t>(entry);
            depth = static_cast<std::int32_t>(entry >> 32);
            it.path[depth] = slot;
            if (!pacing.count(depth, observer))
                return finish(SearchStatus::cancelled);
            if (rows.goal(slot))
                return finish(SearchStatus::solved, pathto(depth));
            if (const std::optional<SearchStatus> stop = pacing.limitreached(held))
                return finish(*stop);
            it.free = pacing.freestates();
            if (depth < limit) {
                pushchildren(it, entry, rows(slotof(entryof(slot), openlevel)));
                it.largest = std::max(it.largest, it.top);
            }
        }
        depth = lastdepth(problem, start, limit);
        const std::int64_t examined = pacing.examined() - before;
        if (limit > 0 && examined == previous)
            return finish(SearchStatus::failed);
        if (largestlimit && limit == *largestlimit)
            return finish(SearchStatus::cutoff);
        previous = examined;
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

template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>, const SearchLimits&,
                                   NoObserver&);
template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>, const SearchLimits&,
                                   ProgressLines&);
template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>, const SearchLimits&,
                                   FunctionObserver&);
template DeepeningResult deepening(const Problem&, std::optional<std::int32_t>, const SearchLimits&,
                                   Watch&);
