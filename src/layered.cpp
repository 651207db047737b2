#include "layered.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "layerheap.h"
#include "observe.h"
#include "puzzle.h"

namespace {

// Positions are numbers in base 3: digit i is the peg of piece i less one.
constexpr int maxpow3 = maxpieces + 1;
constexpr std::array<std::uint32_t, maxpow3> powers3 = [] {
    std::array<std::uint32_t, maxpow3> powers{};
    powers[0] = 1;
    for (int i = 1; i < maxpow3; ++i)
        powers[i] = 3 * powers[i - 1];
    return powers;
}();

// The pegs' bit sets of every position of `count` pieces.
template <int count>
constexpr std::array<PegSets, powers3[count]> tabulatesets()
{
    std::array<PegSets, powers3[count]> table{};
    for (std::uint32_t code = 0; code < powers3[count]; ++code) {
        std::uint32_t rest = code;
        for (int piece = 0; piece < count; ++piece, rest /= 3)
            table[code].on[1 + rest % 3] |= static_cast<std::uint16_t>(1u << piece);
    }
    return table;
}

// Pieces 0 to 7 in one table, 8 to 14 in another: 70 KB, of which a run of
// up to 6 pieces reads 6 KB.
constexpr int lowpieces = 8;
constexpr auto lowsets = tabulatesets<lowpieces>();
constexpr auto highsets = tabulatesets<maxpieces - lowpieces>();

// The position `code` of up to 8 pieces (`wide`: of any number).
template <bool wide>
PegSets decodeposition(std::uint32_t code)
{
    if (!wide) {
        PegSets sets = lowsets[code];
        // Pieces past N read as digit 0, peg 1.
        sets.on[1] &= static_cast<std::uint16_t>(allpieces());
        return sets;
    }
    const PegSets& low = lowsets[code % powers3[lowpieces]];
    const PegSets& high = highsets[code / powers3[lowpieces]];
    PegSets sets{};
    for (int peg = 1; peg <= 3; ++peg)
        sets.on[peg] = static_cast<std::uint16_t>(low.on[peg] | high.on[peg] << lowpieces);
    sets.on[1] &= static_cast<std::uint16_t>(allpieces());
    return sets;
}

std::uint32_t movedcode(std::uint32_t code, const PegMove& move)
{
    return code + static_cast<std::uint32_t>(move.to - move.from) * powers3[move.piece];
}

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

template <class Entry>
Successors<Entry> successorsof(std::uint32_t index)
{
    using L = Layout<Entry>;
    const std::uint32_t code = index >> 2;
    const PegSets sets = decodeposition<sizeof(Entry) != 2>(code);
    Successors<Entry> next;
    next.goal = hitgoal(sets);
    forlegalmoves(sets, static_cast<std::int16_t>(index & 3), [&](const PegMove& m) {
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
    static std::size_t bytes() { return tabulated ? indexes() * sizeof(Successors<Entry>) : 0; }

    SuccessorTable()
    {
        if constexpr (tabulated) {
            table_.resize(indexes());
            for (std::uint32_t index = 0; index < table_.size(); ++index)
                table_[index] = successorsof<Entry>(index);
        }
    }
    Successors<Entry> operator()(Entry entry) const
    {
        if constexpr (tabulated)
            return table_[Layout<Entry>::index(entry)];
        return successorsof<Entry>(Layout<Entry>::index(entry));
    }

private:
    static std::size_t indexes() { return 4 * std::size_t{powers3[pieces]}; }

    std::vector<Successors<Entry>> table_;
};

// Kept out of its caller: inlined into the program's main, the loop loses
// registers to everything around it.
template <class Entry, class Observer>
[[gnu::noinline]] SearchResult searchon(const SearchLimits& limits, Observer& observer)
{
    using L = Layout<Entry>;
    const SuccessorTable<Entry> successors;
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
        return finish(SearchStatus::outofmemory);
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
        const PegSets sets = decodeposition<sizeof(Entry) != 2>(L::code(cur));
        observer.taken(sets, depth, frontier.size());
        if (next.goal) {
            std::optional<std::vector<Step>> path = shortestpath();
            if (!path || path->size() != static_cast<std::size_t>(depth))
                return finish(SearchStatus::pathlost);
            return finish(SearchStatus::solved, std::move(*path));
        }
        if (const std::optional<SearchStatus> stop = pacing.limitreached(footprint))
            return finish(*stop);
        const EntryPair<Entry> deeper = (shallow ^ L::paritybit) * pairofones<Entry>;
        frontier.push(next.children | deeper, next.count);
        forlegalmoves(sets, L::lastto(cur), [&](const PegMove& m) {
            observer.pushed(m, applymove(sets, m), depth + 1, -(optimal + depth + 1));
        });
        observer.expanded(frontier.size());
    }
    return finish(SearchStatus::exhausted);
}

}  // namespace

template <class Observer>
SearchResult searchlayered(const SearchLimits& limits, Observer& observer)
{
    if (pieces <= lowpieces)
        return searchon<std::uint16_t>(limits, observer);
    return searchon<std::uint32_t>(limits, observer);
}

template SearchResult searchlayered(const SearchLimits&, NoObserver&);
template SearchResult searchlayered(const SearchLimits&, ProgressLines&);
template SearchResult searchlayered(const SearchLimits&, FunctionObserver&);
template SearchResult searchlayered(const SearchLimits&, Watch&);

HeldBytes layeredheld()
{
    if (pieces <= lowpieces)
        return {sizeof(std::uint16_t), 0, SuccessorTable<std::uint16_t>::bytes()};
    return {sizeof(std::uint32_t), 0, SuccessorTable<std::uint32_t>::bytes()};
}

std::optional<std::vector<Step>> shortestpath()
{
    const std::uint32_t positions = powers3[pieces];
    const std::uint32_t start = 0;
    const std::uint32_t goal = positions - 1;
    // Moves from the start to each position, by breadth-first search over
    // positions; every move can be undone, so the graph is undirected.
    constexpr std::int32_t unseen = -1;
    std::vector<std::int32_t> distance(positions, unseen);
    std::vector<std::uint32_t> queue{start};
    distance[start] = 0;
    for (std::size_t next = 0; next < queue.size() && distance[goal] == unseen; ++next) {
        const std::uint32_t code = queue[next];
        forlegalmoves(decodeposition<true>(code), 0, [&](const PegMove& m) {
            const std::uint32_t child = movedcode(code, m);
            if (distance[child] == unseen) {
                distance[child] = distance[code] + 1;
                queue.push_back(child);
            }
        });
    }
    if (distance[goal] == unseen)
        return std::nullopt;
    // Back from the goal, one position nearer the start at each step: the
    // path is unique when every position on it has exactly one such neighbour.
    std::vector<Step> path(static_cast<std::size_t>(distance[goal]));
    for (std::uint32_t code = goal; code != start;) {
        int nearer = 0;
        std::uint32_t previous = 0;
        forlegalmoves(decodeposition<true>(code), 0, [&](const PegMove& m) {
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
