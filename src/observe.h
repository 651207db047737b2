/*
 * What watches a search. Every engine takes an observer as a template
 * parameter and calls it at the events engine.h lists. NoObserver does
 * nothing: its calls inline away, so a search watched by it costs what an
 * unwatched one would. ProgressLines only writes the progress lines: the
 * classic run's observer.
 *
 * Below them: the observers the front end hands an engine (the statistics,
 * the trace, and Watch for both with the progress lines), and the summary of
 * a run with its text (the statistics block and CSV rows). The engines only
 * call the hooks; all text is written here.
 */
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

#include "engine.h"
#include "hanoi.h"
#include "heuristics.h"
#include "puzzle.h"

struct NoObserver {
    void taken(std::uint32_t /*node*/, const PegSets& /*sets*/, std::int32_t /*depth*/,
               std::size_t /*frontiersize*/)
    {
    }
    void pushed(std::uint32_t /*node*/, std::uint32_t /*parent*/, const PegMove& /*move*/,
                const PegSets& /*sets*/, std::int32_t /*depth*/, std::int32_t /*score*/)
    {
    }
    void expanded(std::size_t /*frontiersize*/) { }
    void dropped(std::uint32_t /*node*/, const PegSets& /*sets*/, std::int32_t /*depth*/,
                 std::size_t /*frontiersize*/)
    {
    }
    bool progress(std::int64_t /*examined*/, std::int32_t /*depth*/) { return true; }
    void started(std::int32_t /*iteration*/, std::int64_t /*bound*/, std::uint32_t /*first*/,
                 std::size_t /*firsts*/)
    {
    }
};

// The frontier as an observer that lists it sees it: its entries' node
// numbers in heap order (1 to size(); the children of i at 2i and 2i + 1).
class FrontierView {
public:
    template <class Frontier>
    explicit FrontierView(const Frontier& frontier)
        : frontier_(&frontier)
        , size_(frontier.size())
        , nodeat_([](const void* f, std::size_t i) {
            return static_cast<const Frontier*>(f)->at(i).move;
        })
    {
    }
    std::size_t size() const { return size_; }
    std::uint32_t node(std::size_t i) const { return nodeat_(frontier_, i); }

private:
    const void* frontier_;
    std::size_t size_;
    std::uint32_t (*nodeat_)(const void*, std::size_t);
};

// Writes "Nos abertos: <examined>" and "Profundidade instantanea: <depth>" at
// each progress event, and nothing else. Once its stream has failed it asks
// the search to stop: nobody would see the rest of the run.
class ProgressLines : public NoObserver {
public:
    explicit ProgressLines(std::ostream& out)
        : out_(out)
    {
    }
    bool progress(std::int64_t examined, std::int32_t depth);

private:
    std::ostream& out_;
};

// Whether an observer does anything per state. An engine inlines everything
// into the loops of those that do not, so that they cost nothing.
template <class Observer>
inline constexpr bool watchesstates = true;
template <>
inline constexpr bool watchesstates<NoObserver> = false;
template <>
inline constexpr bool watchesstates<ProgressLines> = false;

// Whether an observer is shown the frontier (FrontierView) before each
// state is taken, by an engine whose nodes are numbered.
template <class Observer>
inline constexpr bool listsfrontier = false;

// Hands each hook to a function: for watchers that need no speed, such as
// tests and the page. An unset function is skipped.
struct FunctionObserver {
    std::function<void(std::uint32_t, const PegSets&, std::int32_t, std::size_t)> ontaken;
    std::function<void(std::uint32_t, std::uint32_t, const PegMove&, const PegSets&, std::int32_t,
                       std::int32_t)>
        onpushed;
    std::function<void(std::size_t)> onexpanded;
    std::function<void(std::uint32_t, const PegSets&, std::int32_t, std::size_t)> ondropped;
    std::function<bool(std::int64_t, std::int32_t)> onprogress;
    std::function<void(const FrontierView&)> onfrontier;
    std::function<void(std::int32_t, std::int64_t, std::uint32_t, std::size_t)> onstarted;

    void taken(std::uint32_t node, const PegSets& sets, std::int32_t depth,
               std::size_t frontiersize)
    {
        if (ontaken)
            ontaken(node, sets, depth, frontiersize);
    }
    void pushed(std::uint32_t node, std::uint32_t parent, const PegMove& move, const PegSets& sets,
                std::int32_t depth, std::int32_t score)
    {
        if (onpushed)
            onpushed(node, parent, move, sets, depth, score);
    }
    void expanded(std::size_t frontiersize)
    {
        if (onexpanded)
            onexpanded(frontiersize);
    }
    void dropped(std::uint32_t node, const PegSets& sets, std::int32_t depth,
                 std::size_t frontiersize)
    {
        if (ondropped)
            ondropped(node, sets, depth, frontiersize);
    }
    bool progress(std::int64_t examined, std::int32_t depth)
    {
        return !onprogress || onprogress(examined, depth);
    }
    void frontier(const FrontierView& view)
    {
        if (onfrontier)
            onfrontier(view);
    }
    void started(std::int32_t iteration, std::int64_t bound, std::uint32_t first,
                 std::size_t firsts)
    {
        if (onstarted)
            onstarted(iteration, bound, first, firsts);
    }
};
template <>
inline constexpr bool listsfrontier<FunctionObserver> = true;

/*
 * What the statistics count beyond the engine's own result: the states
 * generated (pushed on the frontier, the start included), the largest the
 * frontier grew (it is largest right after an expansion), the states dropped
 * by graph search, and the bytes held at the peak: entries on the frontier
 * and move records (one per state generated, the start's included) times
 * their sizes, plus the fixed part. The records only grow and the frontier
 * is largest after an expansion, so the peak is met right after one. Over
 * the iterations of iterative deepening and IDA* the figures add up (the
 * start is generated again in each) and the largest frontier is the largest
 * of any; bidirectional search generates its two first states at once.
 */
struct Statistics {
    explicit Statistics(const HeldBytes& sizes)
        : held(sizes)
        , peakbytes(sizes.entry + sizes.record + sizes.fixed)
    {
    }

    HeldBytes held;
    std::uint64_t peakbytes;
    std::int64_t generated = 1;
    std::size_t largestfrontier = 1;
    std::int64_t droppedstates = 0;

    void taken(std::uint32_t /*node*/, const PegSets& /*sets*/, std::int32_t /*depth*/,
               std::size_t /*frontiersize*/)
    {
    }
    void pushed(std::uint32_t /*node*/, std::uint32_t /*parent*/, const PegMove& /*move*/,
                const PegSets& /*sets*/, std::int32_t /*depth*/, std::int32_t /*score*/)
    {
        ++generated;
    }
    void expanded(std::size_t frontiersize)
    {
        largestfrontier = std::max(largestfrontier, frontiersize);
        peakbytes = std::max(peakbytes, frontiersize * held.entry +
                                            static_cast<std::uint64_t>(generated) * held.record +
                                            held.fixed);
    }
    void dropped(std::uint32_t /*node*/, const PegSets& /*sets*/, std::int32_t /*depth*/,
                 std::size_t /*frontiersize*/)
    {
        ++droppedstates;
    }
    bool progress(std::int64_t /*examined*/, std::int32_t /*depth*/) { return true; }
    // The figures of an engine that counts its states itself instead of
    // reporting each (deepening.h): `states` generated in all, a frontier of
    // at most `largest` entries.
    void tally(std::int64_t states, std::size_t largest)
    {
        generated = states;
        expanded(largest);
    }
    void started(std::int32_t iteration, std::int64_t /*bound*/, std::uint32_t /*first*/,
                 std::size_t firsts)
    {
        // The start of the first pass is counted already.
        generated += static_cast<std::int64_t>(firsts) - (iteration <= 1 ? 1 : 0);
        expanded(firsts);
    }
};

// "1:[2 1 0] 2:[] 3:[]": each peg's pieces of the `pieces` from the bottom
// up.
void writepegs(std::ostream& out, const PegSets& sets, int pieces);

/*
 * Writes the first `limit` states taken to `out`, one line each: its number,
 * the pegs as stacks from bottom to top, g (its depth), h (the estimate), f
 * (what the method orders by: g + h, or h alone for greedy search) and the
 * frontier's size; then one line per child pushed, with its move, pegs, g, h
 * and f. A state dropped by graph search among them gets a line of its own,
 * "--" in place of a number and "descartado" at its end. When the next state
 * is taken, a line says the trace ends there. A limit of 0 writes nothing.
 * Each iteration of iterative deepening and IDA* begins with a line of its
 * own ("Iteracao 3: limite 2", "Iteracao 3: limite f <= 9"); the
 * depth-first methods show the stack's size ("pilha=") in place of the
 * frontier's, and weighted A* its f with two decimals.
 * The h of a state taken is computed here by `scoring`, since the search
 * never scores the start state.
 */
class Trace {
public:
    Trace(std::ostream& out, const Scoring& scoring, std::int64_t limit);

    void taken(std::uint32_t node, const PegSets& sets, std::int32_t depth,
               std::size_t frontiersize);
    void pushed(std::uint32_t node, std::uint32_t parent, const PegMove& move, const PegSets& sets,
                std::int32_t depth, std::int32_t score);
    void expanded(std::size_t /*frontiersize*/) { }
    void dropped(std::uint32_t node, const PegSets& sets, std::int32_t depth,
                 std::size_t frontiersize);
    bool progress(std::int64_t /*examined*/, std::int32_t /*depth*/) { return true; }
    // "Iteracao 3: limite 2", or "Iteracao 3: limite f <= 9" for IDA*.
    void started(std::int32_t iteration, std::int64_t bound, std::uint32_t first,
                 std::size_t firsts);

    // Nothing more to write: the line that says the trace stops is written
    // (or there was no trace at all).
    bool over() const { return count_ > limit_; }
    // Whether it writes anything at all (a limit above 0).
    bool writes() const { return limit_ > 0; }

private:
    bool tracing() const { return count_ <= limit_; }
    // The first line, once, before the first state or iteration.
    void writeheading();
    void writefigures(std::int32_t depth, std::int32_t score);
    // "fronteira=N", or "pilha=N" for the depth-first methods.
    void writesize(std::size_t frontiersize);

    std::ostream& out_;
    Scoring scoring_;
    std::int64_t limit_;
    std::int64_t count_ = 0;  // states taken so far
    bool headed_ = false;
};

// The statistics, a trace of the first `tracelimit` states (none for 0) and
// the progress lines, all on `out`: what the front end hands an engine when
// statistics or a trace are asked for. Given `progress`, the progress goes
// to it instead of `out` (the page shows its own).
class Watch {
public:
    using ProgressHook = std::function<bool(std::int64_t, std::int32_t)>;

    Watch(std::ostream& out, const Scoring& scoring, std::int64_t tracelimit,
          const HeldBytes& sizes, ProgressHook progress = nullptr)
        : statistics_(sizes)
        , trace_(out, scoring, tracelimit)
        , progress_(out)
        , progresshook_(std::move(progress))
    {
    }

    // Once the trace has said it stops, a state costs the statistics alone.
    void taken(std::uint32_t node, const PegSets& sets, std::int32_t depth,
               std::size_t frontiersize)
    {
        if (!trace_.over())
            trace_.taken(node, sets, depth, frontiersize);
    }
    void pushed(std::uint32_t node, std::uint32_t parent, const PegMove& move, const PegSets& sets,
                std::int32_t depth, std::int32_t score)
    {
        statistics_.pushed(node, parent, move, sets, depth, score);
        if (!trace_.over())
            trace_.pushed(node, parent, move, sets, depth, score);
    }
    void expanded(std::size_t frontiersize) { statistics_.expanded(frontiersize); }
    void dropped(std::uint32_t node, const PegSets& sets, std::int32_t depth,
                 std::size_t frontiersize)
    {
        statistics_.dropped(node, sets, depth, frontiersize);
        if (!trace_.over())
            trace_.dropped(node, sets, depth, frontiersize);
    }
    bool progress(std::int64_t examined, std::int32_t depth)
    {
        return progresshook_ ? progresshook_(examined, depth) : progress_.progress(examined, depth);
    }
    void started(std::int32_t iteration, std::int64_t bound, std::uint32_t first,
                 std::size_t firsts)
    {
        statistics_.started(iteration, bound, first, firsts);
        if (!trace_.over())
            trace_.started(iteration, bound, first, firsts);
    }

    const Statistics& statistics() const { return statistics_; }

    // Whether it writes states: with no trace it needs no state reported,
    // and an engine that counts its states itself may tally them.
    bool tracesstates() const { return trace_.writes(); }
    void tally(std::int64_t states, std::size_t largest) { statistics_.tally(states, largest); }

private:
    Statistics statistics_;
    Trace trace_;
    ProgressLines progress_;
    ProgressHook progresshook_;
};

// The figures of one run, for the statistics block and the comparison.
struct RunSummary {
    search_method method;
    std::int16_t pieces;
    SearchStatus status;
    std::int64_t moves;  // the solution's length (when solved)
    std::int64_t examined;
    std::int64_t generated;
    std::int64_t largestfrontier;
    std::int32_t depth;  // of the goal, or of the last state examined (if any)
    std::uint64_t memory;  // bytes the search held at its peak (Statistics)
    double seconds;  // CPU time of the search
    std::int32_t optimal;  // the fewest moves from the start to the goal
    heuristic estimate;
    tie_order ties;
    bool graph;
    std::int64_t dropped;
    std::int32_t iterations;  // of iterative deepening and IDA*; 0 for the others
    std::int64_t bound;  // the depth limit, or the last iteration's bound; nobound
    std::int32_t weight;  // of weighted A*, in hundredths
};

/*
 * The effective branching factor b*: the branching of a uniform tree of
 * depth d that holds the states generated, the root being the start state,
 * so generated = 1 + b* + b*^2 + ... + b*^d. Solved by bisection to about
 * 1e-9; 1 <= b* <= generated - 1 whenever the d states of a path were
 * generated (depth >= 1 and generated > depth). Cost: O(d) per step.
 */
double effectivebranching(std::int64_t generated, std::int32_t depth);

// The weight W of weighted A* from its hundredths, with at most two places:
// "2", "1.5", "0.25".
std::string weighttext(std::int32_t hundredths);

// The statistics as a block of lines ("Estatisticas da busca" and one line
// per figure), or as CSV: the header line, and one row per run; the row's
// fields in the columns' order (empty where a figure does not apply), each
// column named and marked as text or a number.
void writestatistics(std::ostream& out, const RunSummary& run);
struct CsvColumn {
    std::string_view name;
    bool text;
};
extern const std::array<CsvColumn, 20> csvcolumns;
std::array<std::string, 20> csvfields(const RunSummary& run);
void writecsvheader(std::ostream& out);
void writecsvrow(std::ostream& out, const RunSummary& run);

// The solution's length over the states examined: the share of the search
// that lies on the solution's path (1 would be a search that went straight).
double penetrance(const RunSummary& run);

// The word for how a run ended, in the statistics, the comparison and the
// CSV: "otima" or "subotima" for a solved run, else why it has no solution.
std::string_view outcomename(const RunSummary& run);
