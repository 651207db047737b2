#include "layered.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "hugearray.h"
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
 * An entry: the position's code in the low bits, the last move's destination
 * peg in the next two, and the parity of the depth in the top bit. Two bytes
 * hold the 3^8 positions of 8 pieces; more pieces take four.
 */
template <class Entry>
struct Layout {
    static constexpr int codebits = sizeof(Entry) == 2 ? 13 : 24;
    static constexpr Entry codemask = (Entry{1} << codebits) - 1;
    static constexpr int paritybitshift = 8 * sizeof(Entry) - 1;
    static constexpr Entry paritybit = Entry{1} << paritybitshift;
    static_assert(codebits + 2 < 8 * static_cast<int>(sizeof(Entry)));

    static Entry make(std::uint32_t code, std::int16_t lastto, Entry parity)
    {
        return static_cast<Entry>(code | static_cast<std::uint32_t>(lastto) << codebits | parity);
    }
    static std::uint32_t code(Entry entry) { return entry & codemask; }
    static std::int16_t lastto(Entry entry)
    {
        return static_cast<std::int16_t>(entry >> codebits & 3);
    }
};
static_assert(powers3[lowpieces] <= Layout<std::uint16_t>::codemask + 1);
static_assert(powers3[maxpieces] <= Layout<std::uint32_t>::codemask + 1);

/*
 * The heap of entries, stored from index 1 so that the descendants of entry h
 * k levels down are the 2^k entries from h * 2^k on: a cache line holds a
 * whole level of them, which a pop fetches a few levels ahead. The array
 * grows by remapping (HugeArray): never a copy, never twice the memory.
 *
 * A pop is the general frontier's: the last entry is taken out, the hole
 * goes from the root to a leaf along the larger child (the right one on a
 * tie), a lone left child moves up, and the last entry rises past strictly
 * lower parents. A push appends: a child is always deep, so it never rises.
 *
 * Deep or shallow: `flip` is the parity bit of the shallower depth on the
 * frontier, and an entry is deep when its parity differs.
 *
 * Several pops are in flight at once, each at least two levels behind the
 * one before, so that their cache misses overlap. This is exact: a pop reads
 * only the children of its hole, which every earlier pop has left behind,
 * and writes only its own path. Two cases would break that, and then every
 * pop in flight is finished first (oldest first, so none overtakes another):
 * a pop whose last entry is shallow may rise back up its path past later
 * pops, and a last entry or a child that falls inside an earlier pop's part
 * of the heap could still be moved by it.
 */
template <class Entry>
class LayerHeap {
public:
    std::size_t size() const { return size_; }

    // Bytes held once `extra` more entries have been pushed.
    std::size_t footprint(std::size_t extra) const
    {
        return keys_.footprint(size_ + extra == 0 ? 0 : size_ + extra + 1);
    }

    // The root, once every pop in flight has left it far enough behind.
    Entry top()
    {
        if (inflight_ != 0 && size_ <= reach_)
            finishall();
        advanceall();
        return keys_[1];
    }

    // Starts popping the root (call top() first).
    void pop(Entry flip)
    {
        const Entry last = keys_[size_];
        --size_;
        // A heap that fits in the cache gains nothing from pops in flight.
        if (inflight_ == 0 && size_ < pipelinefrom) {
            Pop pop{1, size_, last, flip};
            finish(pop);
            return;
        }
        if (inflight_ == maxinflight)
            finisholdest();
        pops_[(first_ + inflight_) % maxinflight] = {1, size_, last, flip};
        ++inflight_;
        reach_ = std::max(reach_, size_);
        if (!deep(last, flip))
            finishall();
    }

    void push(Entry entry)
    {
        if (size_ + 1 == keys_.size() || keys_.empty())
            makeroom();
        keys_[++size_] = entry;
    }

private:
    using Pair = std::conditional_t<sizeof(Entry) == 2, std::uint32_t, std::uint64_t>;
    static_assert(std::endian::native == std::endian::little);

    struct Pop {
        std::size_t hole;
        std::size_t last;  // the heap's last index while this pop runs
        Entry entry;  // the last entry, placed where the hole ends
        Entry flip;
    };

    static constexpr std::size_t maxinflight = 32;
    static constexpr std::size_t pipelinefrom = std::size_t{1} << 16;
    // Levels a pop goes down in a round: at least two, so that the next pop
    // only reads what this one has left behind.
    static constexpr int levelsaround = 4;
    // A cache line of descendants lies this many levels below an entry.
    static constexpr int prefetchlevels = std::bit_width(64 / sizeof(Entry)) - 1;

    static Entry deep(Entry entry, Entry flip)
    {
        return static_cast<Entry>((entry ^ flip) & Layout<Entry>::paritybit);
    }

    // Room for one more entry; the array's whole capacity is in use as room.
    void makeroom()
    {
        keys_.resize(size_ + 2);
        keys_.resize(keys_.capacity());
    }

    // The hole one level down, along the larger child; `fetchahead`: fetch
    // the cache line of its descendants a few levels further down.
    template <bool fetchahead>
    static std::size_t down(Entry* keys, std::size_t hole, Entry flip)
    {
        if constexpr (fetchahead)
            __builtin_prefetch(&keys[hole << prefetchlevels]);
        const std::size_t right = 2 * hole + 1;
        // Siblings share an aligned pair: one load.
        Pair pair;
        std::memcpy(&pair, &keys[right - 1], sizeof pair);
        const auto leftentry = static_cast<Entry>(pair);
        const auto rightentry = static_cast<Entry>(pair >> (8 * sizeof(Entry)));
        // Left only when the right child is deep and the left one is not.
        const std::size_t child =
            right - static_cast<std::size_t>(((rightentry ^ leftentry) & (rightentry ^ flip)) >>
                                             Layout<Entry>::paritybitshift);
        keys[hole] = keys[child];
        return child;
    }

    // `levelsaround` levels down; false when the hole reaches a leaf first.
    bool descendround(Pop& pop)
    {
        Entry* const keys = keys_.data();
        std::size_t hole = pop.hole;
        // Every level has both children: no check on the way.
        const bool inner = ((hole + 1) << levelsaround) - 1 <= pop.last;
        for (int level = 0; level < levelsaround; ++level) {
            if (!inner && 2 * hole + 1 > pop.last) {
                pop.hole = hole;
                return false;
            }
            hole = down<true>(keys, hole, pop.flip);
        }
        pop.hole = hole;
        return true;
    }

    void finish(const Pop& pop)
    {
        Entry* const keys = keys_.data();
        const std::size_t last = pop.last;
        const Entry flip = pop.flip;
        std::size_t hole = pop.hole;
        // Four levels at a time while all of them have both children.
        while (((hole + 1) << 4) - 1 <= last)
            hole = down<false>(
                keys,
                down<false>(keys, down<false>(keys, down<false>(keys, hole, flip), flip), flip),
                flip);
        while (2 * hole + 1 <= last)
            hole = down<false>(keys, hole, flip);
        if (const std::size_t left = 2 * hole; left <= last) {
            keys[hole] = keys[left];
            hole = left;
        }
        while (hole > 1 && deep(keys[hole / 2], pop.flip) > deep(pop.entry, pop.flip)) {
            keys[hole] = keys[hole / 2];
            hole /= 2;
        }
        keys[hole] = pop.entry;
    }

    void finisholdest()
    {
        finish(pops_[first_]);
        first_ = (first_ + 1) % maxinflight;
        --inflight_;
        if (inflight_ == 0)
            reach_ = 0;
    }

    void finishall()
    {
        while (inflight_ != 0)
            finisholdest();
    }

    // Every pop in flight a few levels down, the oldest (deepest) first, which
    // keeps them that many levels apart and leaves the root to the next pop. A
    // pop whose hole has reached a leaf is finished, after every older one.
    void advanceall()
    {
        std::size_t i = 0;
        while (i < inflight_) {
            if (descendround(pops_[(first_ + i) % maxinflight])) {
                ++i;
                continue;
            }
            for (std::size_t older = 0; older <= i; ++older)
                finisholdest();
            i = 0;
        }
    }

    HugeArray<Entry> keys_;  // index 0 unused
    std::size_t size_ = 0;
    std::array<Pop, maxinflight> pops_{};
    std::size_t first_ = 0;
    std::size_t inflight_ = 0;
    // The largest last index of a pop in flight: nothing at or below it may be
    // taken as a last entry or overwritten by a push.
    std::size_t reach_ = 0;
};

// Kept out of its caller: inlined into the program's main, the loop loses
// registers to everything around it.
template <class Entry, class Observer>
[[gnu::noinline]] SearchResult searchon(const SearchLimits& limits, Observer& observer)
{
    using L = Layout<Entry>;
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
    frontier.push(L::make(0, 0, 0));
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
        const std::uint32_t code = L::code(cur);
        const PegSets sets = decodeposition<sizeof(Entry) != 2>(code);
        observer.taken(sets, depth, frontier.size());
        if (hitgoal(sets)) {
            std::optional<std::vector<Step>> path = shortestpath();
            if (!path || path->size() != static_cast<std::size_t>(depth))
                return finish(SearchStatus::pathlost);
            return finish(SearchStatus::solved, std::move(*path));
        }
        if (const std::optional<SearchStatus> stop = pacing.limitreached(footprint))
            return finish(*stop);
        const Entry deeper = shallow ^ L::paritybit;
        forlegalmoves(sets, L::lastto(cur), [&](const PegMove& m) {
            frontier.push(L::make(movedcode(code, m), m.to, deeper));
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
    return {pieces <= lowpieces ? sizeof(std::uint16_t) : sizeof(std::uint32_t), 0, 0};
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
