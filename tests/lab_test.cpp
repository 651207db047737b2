// The search lab checked against a plainly written search of its own: pegs
// as a vector, the estimates computed the long way, the frontier a vector
// scanned for the best entry (or, for the heap's rule, a heap written out
// step by step), graph search with a std::set of positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"
#include "fixtures.h"
#include "heuristics.h"
#include "observe.h"
#include "problem.h"
#include "reference_eval.h"
#include "run.h"

namespace {

using Position = std::vector<int>;  // entry i: the peg of piece i

// The piece count the plain search works with, set by each test.
int pieces = 0;

class PieceCount {
public:
    explicit PieceCount(int n) { pieces = n; }
    ~PieceCount() { pieces = 0; }
    PieceCount(const PieceCount&) = delete;
    PieceCount& operator=(const PieceCount&) = delete;
};

Position positionof(const PegSets& sets)
{
    Position position(static_cast<std::size_t>(pieces));
    for (int piece = 0; piece < pieces; ++piece)
        for (int peg = 1; peg <= 3; ++peg)
            if (sets.on[peg] >> piece & 1)
                position[static_cast<std::size_t>(piece)] = peg;
    return position;
}

PegSets setsof(const Position& position)
{
    PegSets sets{};
    for (std::size_t piece = 0; piece < position.size(); ++piece)
        sets.on[position[piece]] |= static_cast<std::uint16_t>(1u << piece);
    return sets;
}

int topof(const Position& position, int peg)
{
    for (int piece = 0; piece < pieces; ++piece)
        if (position[static_cast<std::size_t>(piece)] == peg)
            return piece;
    return pieces;
}

struct Move {
    int from;
    int to;
};

// The legal moves in their fixed order; `lastto` 0 excludes nothing.
std::vector<Move> movesfrom(const Position& position, int lastto)
{
    std::vector<Move> moves;
    for (int from = 1; from <= 3; ++from)
        for (int to = 1; to <= 3; ++to)
            if (from != to && topof(position, from) < topof(position, to) &&
                topof(position, from) != pieces && from != lastto)
                moves.push_back({from, to});
    return moves;
}

Position moved(Position position, const Move& move)
{
    position[static_cast<std::size_t>(topof(position, move.from))] = move.to;
    return position;
}

// Moves from every position to `goal`, by breadth-first search from it.
std::map<Position, int> distancesto(const Position& goal)
{
    std::map<Position, int> distance{{goal, 0}};
    std::vector<Position> queue{goal};
    for (std::size_t next = 0; next < queue.size(); ++next)
        for (const Move& move : movesfrom(queue[next], 0)) {
            const Position neighbour = moved(queue[next], move);
            if (distance.emplace(neighbour, distance[queue[next]] + 1).second)
                queue.push_back(neighbour);
        }
    return distance;
}

int estimate(heuristic kind, const Position& position, const Position& goal,
             const std::map<Position, int>& distance)
{
    switch (kind) {
    case heuristic::padrao: {
        reference::Position state;
        for (int piece = 0; piece < pieces; ++piece)
            state.pegs[static_cast<std::size_t>(piece)] =
                static_cast<std::int8_t>(position[static_cast<std::size_t>(piece)]);
        return -reference::eval(state, search_method::greedy, pieces);
    }
    case heuristic::zero:
        return 0;
    case heuristic::fora: {
        int out = 0;
        for (std::size_t piece = 0; piece < position.size(); ++piece)
            out += position[piece] != goal[piece];
        return out;
    }
    case heuristic::exata:
        return distance.at(position);
    }
    return 0;
}

struct Entry {
    Position position;
    int depth;
    int score;
    int lastto;
    std::vector<Move> path;
};

// The heap of the frontier as its contract states it, on a plain vector
// from index 0 (children 2h + 1 and 2h + 2).
class PlainHeap {
public:
    void push(const Entry& entry)
    {
        entries_.push_back(entry);
        rise(entries_.size() - 1, entry);
    }
    Entry pop()
    {
        Entry top = entries_[0];
        const Entry last = entries_.back();
        entries_.pop_back();
        if (entries_.empty())
            return top;
        std::size_t hole = 0;
        while (2 * hole + 2 < entries_.size()) {
            const std::size_t left = 2 * hole + 1;
            const std::size_t child =
                entries_[left + 1].score < entries_[left].score ? left : left + 1;
            entries_[hole] = entries_[child];
            hole = child;
        }
        if (2 * hole + 1 < entries_.size()) {
            entries_[hole] = entries_[2 * hole + 1];
            hole = 2 * hole + 1;
        }
        rise(hole, last);
        return top;
    }
    bool empty() const { return entries_.empty(); }

private:
    void rise(std::size_t hole, const Entry& entry)
    {
        while (hole > 0 && entries_[(hole - 1) / 2].score < entry.score) {
            entries_[hole] = entries_[(hole - 1) / 2];
            hole = (hole - 1) / 2;
        }
        entries_[hole] = entry;
    }
    std::vector<Entry> entries_;
};

// The first pushed (fila) or the last pushed (pilha) of the best score, by a
// scan of every entry.
class ScannedFrontier {
public:
    explicit ScannedFrontier(bool lastfirst)
        : lastfirst_(lastfirst)
    {
    }
    void push(const Entry& entry) { entries_.push_back(entry); }
    Entry pop()
    {
        std::size_t best = 0;
        for (std::size_t i = 1; i < entries_.size(); ++i)
            if (entries_[i].score > entries_[best].score ||
                (lastfirst_ && entries_[i].score == entries_[best].score))
                best = i;
        Entry entry = entries_[best];
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(best));
        return entry;
    }
    bool empty() const { return entries_.empty(); }

private:
    bool lastfirst_;
    std::vector<Entry> entries_;
};

// What a search did: each state taken ('#' examined, '-' dropped) with its
// depth, the states generated, and how it ended.
struct Walk {
    std::string taken;
    std::int64_t generated = 1;
    std::int64_t dropped = 0;
    std::int64_t examined = 0;
    bool solved = false;
    std::vector<Move> solution;
};

std::string takenline(char kind, const Position& position, int depth)
{
    std::string line(1, kind);
    for (const int peg : position)
        line += static_cast<char>('0' + peg);
    return line + ':' + std::to_string(depth) + ' ';
}

// A setup with the problem it searches.
struct LabRun {
    Problem problem;
    SearchSetup setup;
};

template <class Queue>
Walk referencesearch(Queue frontier, const LabRun& lab, std::int64_t limit)
{
    const SearchSetup& setup = lab.setup;
    const Position start = positionof(lab.problem.start);
    const Position goal = positionof(lab.problem.goal);
    const std::map<Position, int> distance = distancesto(goal);
    const auto score = [&](const Position& position, int depth) {
        const int h = estimate(setup.estimate, position, goal, distance);
        switch (setup.method) {
        case search_method::astar:
            return -(h + depth);
        case search_method::breadth:
            return -((1 << pieces) - 1 + depth);
        case search_method::greedy:
            return -h;
        case search_method::weighted:
            return -(100 * depth + setup.weight * h);
        default:
            break;
        }
        return 0;
    };
    Walk run;
    std::set<Position> examined;
    frontier.push({start, 0, 0, 0, {}});
    while (!frontier.empty()) {
        const Entry cur = frontier.pop();
        if (setup.graph && examined.count(cur.position)) {
            ++run.dropped;
            run.taken += takenline('-', cur.position, cur.depth);
            continue;
        }
        examined.insert(cur.position);
        ++run.examined;
        run.taken += takenline('#', cur.position, cur.depth);
        if (cur.position == goal) {
            run.solved = true;
            run.solution = cur.path;
            return run;
        }
        if (run.examined == limit)
            return run;
        for (const Move& move : movesfrom(cur.position, cur.lastto)) {
            const Position child = moved(cur.position, move);
            if (setup.graph && examined.count(child))
                continue;
            std::vector<Move> path = cur.path;
            path.push_back(move);
            frontier.push({child, cur.depth + 1, score(child, cur.depth + 1), move.to, path});
            ++run.generated;
        }
    }
    return run;
}

Walk referencesearch(const LabRun& lab, std::int64_t limit)
{
    if (lab.setup.ties == tie_order::heap)
        return referencesearch(PlainHeap(), lab, limit);
    return referencesearch(ScannedFrontier(lab.setup.ties == tie_order::pilha), lab, limit);
}

// The program's run of the setup, by the engine the run picks for it: with
// `numbered`, one that numbers its nodes, whose numbers must then count the
// pushes and name a parent taken before.
Walk enginesearch(const LabRun& lab, std::int64_t limit, bool numbered)
{
    Walk run;
    std::vector<std::uint32_t> parents{0};
    std::vector<bool> takennodes{false};
    FunctionObserver observer;
    observer.ontaken = [&](std::uint32_t node, const PegSets& sets, std::int32_t depth,
                           std::size_t) {
        run.taken += takenline('#', positionof(sets), depth);
        if (numbered)
            takennodes.at(node) = true;
    };
    observer.ondropped = [&](std::uint32_t, const PegSets& sets, std::int32_t depth, std::size_t) {
        run.taken += takenline('-', positionof(sets), depth);
        ++run.dropped;
    };
    observer.onpushed = [&](std::uint32_t node, std::uint32_t parent, const PegMove&,
                            const PegSets&, std::int32_t, std::int32_t) {
        ++run.generated;
        if (numbered) {
            EXPECT_EQ(node, parents.size());
            EXPECT_TRUE(takennodes.at(parent));
            parents.push_back(parent);
            takennodes.push_back(false);
        }
    };
    // A pass that starts afresh numbers its first states as pushes.
    observer.onstarted = [&](std::int32_t, std::int64_t, std::uint32_t first, std::size_t firsts) {
        for (std::uint32_t node = first; node < first + firsts; ++node)
            if (node == parents.size()) {
                parents.push_back(node);
                takennodes.push_back(false);
            }
        EXPECT_EQ(parents.size(), first + firsts);
    };
    const SearchResult result =
        runsearch(lab.problem, lab.setup, {unlimitedmemory, limit}, observer, numbered);
    run.examined = result.examined;
    run.solved = result.status == SearchStatus::solved;
    for (const Step& step : result.solution)
        run.solution.push_back({step.from, step.to});
    return run;
}

std::string movetext(const std::vector<Move>& moves)
{
    std::string text;
    for (const Move& move : moves)
        text += std::to_string(move.from) + "->" + std::to_string(move.to) + ' ';
    return text;
}

// Every setup for `pieces`, with the start and goal given (empty for the
// classic ones), but the program's own estimate toward another goal.
std::vector<LabRun> setupsbetween(const std::string& start, const std::string& goal)
{
    std::vector<LabRun> setups;
    const auto position = [](const std::string& digits) {
        return digits.empty() ? std::nullopt : parseposition(digits);
    };
    const Problem problem = problemof(pieces, position(start), position(goal));
    for (const search_method method :
         {search_method::astar, search_method::breadth, search_method::greedy})
        for (std::size_t kind = 0; kind < heuristicnames.size(); ++kind)
            for (std::size_t ties = 0; ties < tieordernames.size(); ++ties)
                for (const bool graph : {false, true}) {
                    const SearchSetup setup{method, static_cast<heuristic>(kind),
                                            static_cast<tie_order>(ties), graph};
                    if (setup.estimate != heuristic::padrao || goal.empty()) {
                        setups.push_back({problem, setup});
                        // Weighted A* with W = 1.5 and 3 beside A*.
                        if (method == search_method::astar)
                            for (const std::int32_t weight : {150, 300}) {
                                SearchSetup weighted = setup;
                                weighted.method = search_method::weighted;
                                weighted.weight = weight;
                                setups.push_back({problem, weighted});
                            }
                    }
                }
    return setups;
}

std::string describe(const LabRun& lab)
{
    const SearchSetup& setup = lab.setup;
    std::string text = std::to_string(pieces);
    text += " pieces, method ";
    text += std::to_string(static_cast<int>(setup.method));
    text += " limit " + std::to_string(setup.depthlimit) + " weight " +
            std::to_string(setup.weight) + ' ';
    text += heuristicnames[static_cast<std::size_t>(setup.estimate)];
    text += ' ';
    text += tieordernames[static_cast<std::size_t>(setup.ties)];
    text += setup.graph ? " graph " : " tree ";
    for (const PegSets& ends : {lab.problem.start, lab.problem.goal})
        for (const int peg : positionof(ends))
            text += static_cast<char>('0' + peg);
    return text;
}

TEST(Lab, EveryCombinationTakesTheStatesOfAPlainSearch)
{
    // Start and goal as the options write them, for 1 to 4 pieces.
    struct Ends {
        std::string start;
        std::string goal;
    };
    const std::vector<Ends> ends[] = {
        {{"", ""}, {"2", ""}, {"", "1"}},
        {{"", ""}, {"21", ""}, {"", "12"}, {"32", "23"}},
        {{"", ""}, {"312", ""}, {"", "123"}, {"213", "332"}},
        {{"", ""}, {"3131", ""}, {"", "2113"}, {"1223", "3311"}},
    };
    // Enough for every search that ends; those that never do (greedy search
    // with h = 0 and the last pushed first, in a tree) stop here on both sides.
    constexpr std::int64_t limit = 700;
    int solved = 0;
    int dropping = 0;
    for (int n = 1; n <= 4; ++n) {
        const PieceCount count(n);
        for (const Ends& end : ends[n - 1])
            for (const LabRun& lab : setupsbetween(end.start, end.goal)) {
                const Walk expected = referencesearch(lab, limit);
                for (const bool numbered : {false, true}) {
                    SCOPED_TRACE(describe(lab) + (numbered ? " numbered" : ""));
                    const Walk found = enginesearch(lab, limit, numbered);
                    EXPECT_EQ(found.taken, expected.taken);
                    EXPECT_EQ(found.examined, expected.examined);
                    EXPECT_EQ(found.generated, expected.generated);
                    EXPECT_EQ(found.dropped, expected.dropped);
                    EXPECT_EQ(found.solved, expected.solved);
                    EXPECT_EQ(movetext(found.solution), movetext(expected.solution));
                }
                solved += expected.solved;
                dropping += expected.dropped > 0;
            }
    }
    // The table reaches what it is meant to: most runs end, and graph search
    // drops states in many.
    EXPECT_GT(solved, 1000);
    EXPECT_GT(dropping, 90);
}

// What a search of the textbook's other methods did, beyond Walk: the
// largest frontier, the iterations and how it ended.
struct PassWalk {
    Walk walk;
    std::int64_t largest = 1;
    std::int32_t iterations = 0;
    std::string status = "stopped";
};

// Depth-first search, iterative deepening and IDA* written plainly from their rules:
// passes over a std::vector used as a stack, children pushed in reverse move
// order, a state at the depth limit cut, a child over the bound on f left
// out; graph search with a std::set of positions per pass.
PassWalk plainpasses(const LabRun& lab, std::int64_t limit)
{
    const SearchSetup& setup = lab.setup;
    const Position start = positionof(lab.problem.start);
    const Position goal = positionof(lab.problem.goal);
    const std::map<Position, int> distance = distancesto(goal);
    const bool cost = setup.method == search_method::idastar;
    const auto f = [&](const Position& position, int depth) {
        return depth + (cost ? estimate(setup.estimate, position, goal, distance) : 0);
    };
    PassWalk run;
    bool cut = false;
    int next = 0;
    // One pass under `bound`: true when it ended the search.
    const auto pass = [&](int bound) {
        cut = false;
        next = INT32_MAX;
        std::set<Position> examined;
        std::vector<Entry> stack{{start, 0, 0, 0, {}}};
        while (!stack.empty()) {
            const Entry cur = stack.back();
            stack.pop_back();
            if (setup.graph && examined.count(cur.position)) {
                ++run.walk.dropped;
                run.walk.taken += takenline('-', cur.position, cur.depth);
                continue;
            }
            examined.insert(cur.position);
            ++run.walk.examined;
            run.walk.taken += takenline('#', cur.position, cur.depth);
            if (cur.position == goal) {
                run.status = "solved";
                run.walk.solved = true;
                run.walk.solution = cur.path;
                return true;
            }
            if (run.walk.examined == limit)
                return true;
            if (!cost && cur.depth == bound) {
                cut = true;
                continue;
            }
            std::vector<Move> moves = movesfrom(cur.position, cur.lastto);
            std::reverse(moves.begin(), moves.end());
            for (const Move& move : moves) {
                const Position child = moved(cur.position, move);
                if (setup.graph && examined.count(child))
                    continue;
                if (f(child, cur.depth + 1) > bound) {
                    next = std::min(next, f(child, cur.depth + 1));
                    continue;
                }
                std::vector<Move> path = cur.path;
                path.push_back(move);
                stack.push_back({child, cur.depth + 1, 0, move.to, path});
                ++run.walk.generated;
            }
            run.largest = std::max(run.largest, static_cast<std::int64_t>(stack.size()));
        }
        return false;
    };
    if (setup.method == search_method::depthfirst) {
        if (!pass(setup.depthlimit == nodepthlimit ? INT32_MAX : setup.depthlimit))
            run.status = cut ? "cutoff" : "failed";
        return run;
    }
    for (int bound = f(start, 0);; bound = cost ? next : bound + 1) {
        run.walk.generated += run.iterations > 0;
        ++run.iterations;
        if (pass(bound))
            return run;
        if (cost ? next == INT32_MAX : !cut || bound == setup.depthlimit) {
            run.status = cut ? "cutoff" : "failed";
            return run;
        }
    }
}

// Bidirectional search written plainly from its rules: two std::deque queues, a
// std::map from each position a side reached to its path from that side's
// first state, whole layers of the side with the shorter queue.
PassWalk plainbidirectional(const LabRun& lab)
{
    const Position start = positionof(lab.problem.start);
    const Position goal = positionof(lab.problem.goal);
    PassWalk run;
    run.status = "solved";
    run.walk.solved = true;
    if (start == goal) {
        run.walk.examined = 1;
        run.walk.taken = takenline('#', start, 0);
        return run;
    }
    std::map<Position, std::vector<Move>> paths[2] = {{{start, {}}}, {{goal, {}}}};
    std::deque<Entry> queues[2] = {{{start, 0, 0, 0, {}}}, {{goal, 0, 0, 0, {}}}};
    run.walk.generated = 2;
    run.largest = 2;
    for (;;) {
        const int side = queues[1].size() < queues[0].size() ? 1 : 0;
        for (std::size_t n = queues[side].size(); n > 0; --n) {
            const Entry cur = queues[side].front();
            queues[side].pop_front();
            ++run.walk.examined;
            run.walk.taken += takenline('#', cur.position, cur.depth);
            for (const Move& move : movesfrom(cur.position, cur.lastto)) {
                const Position child = moved(cur.position, move);
                std::vector<Move> path = paths[side][cur.position];
                path.push_back(move);
                if (paths[1 - side].count(child)) {
                    ++run.walk.generated;
                    std::vector<Move> forward = side == 0 ? path : paths[0][child];
                    const std::vector<Move> backward = side == 0 ? paths[1][child] : path;
                    for (std::size_t i = backward.size(); i-- > 0;)
                        forward.push_back({backward[i].to, backward[i].from});
                    run.walk.solution = forward;
                    return run;
                }
                if (paths[side].emplace(child, path).second) {
                    queues[side].push_back({child, cur.depth + 1, 0, move.to, {}});
                    ++run.walk.generated;
                    run.largest =
                        std::max(run.largest,
                                 static_cast<std::int64_t>(queues[0].size() + queues[1].size()));
                }
            }
        }
    }
}

TEST(Lab, TextbookMethodsTakeTheStatesOfAPlainSearch)
{
    struct Ends {
        int pieces;
        std::string start;
        std::string goal;
    };
    const Ends ends[] = {
        {1, "", ""},     {1, "1", ""},        {2, "", "12"},  {2, "32", "23"},
        {3, "", ""},     {3, "213", "332"},   {3, "", "123"}, {4, "", ""},
        {4, "3131", ""}, {4, "1223", "3311"}, {5, "", ""},    {5, "21312", "13221"},
    };
    constexpr std::int64_t limit = 300000;
    std::map<std::string, int> statuses;
    int runs = 0;
    for (const Ends& end : ends) {
        const PieceCount count(end.pieces);
        const auto position = [](const std::string& digits) {
            return digits.empty() ? std::nullopt : parseposition(digits);
        };
        const Problem problem = problemof(end.pieces, position(end.start), position(end.goal));
        std::vector<SearchSetup> setups;
        for (const bool graph : {false, true}) {
            for (const std::int32_t depthlimit : {nodepthlimit, 0, 3, 6, 40}) {
                // Tree depth-first search without a limit never ends: it stops
                // at `limit` on both sides.
                setups.push_back({search_method::depthfirst, heuristic::zero, tie_order::heap,
                                  graph, depthlimit});
                setups.push_back({search_method::deepening, heuristic::zero, tie_order::heap, graph,
                                  depthlimit});
            }
            for (std::size_t kind = 0; kind < heuristicnames.size(); ++kind)
                if (kind != 0 || end.goal.empty())
                    setups.push_back({search_method::idastar, static_cast<heuristic>(kind),
                                      tie_order::heap, graph});
            setups.push_back(
                {search_method::bidirectional, heuristic::zero, tie_order::heap, graph});
        }
        for (const SearchSetup& setup : setups) {
            const LabRun lab{problem, setup};
            SCOPED_TRACE(describe(lab));
            // The plain search copies a path per entry: a search that never
            // ends stops early.
            const bool endless = setup.method == search_method::depthfirst && !setup.graph &&
                                 setup.depthlimit == nodepthlimit;
            const std::int64_t stop = endless ? 2000 : limit;
            const PassWalk expected = setup.method == search_method::bidirectional
                                          ? plainbidirectional(lab)
                                          : plainpasses(lab, stop);
            const Walk found = enginesearch(lab, stop, true);
            std::ostringstream nowhere;
            const RunSummary summary =
                measuredrun(problem, setup, {unlimitedmemory, stop}, nowhere, 0).summary;
            EXPECT_EQ(found.taken, expected.walk.taken);
            EXPECT_EQ(movetext(found.solution), movetext(expected.walk.solution));
            EXPECT_EQ(summary.examined, expected.walk.examined);
            EXPECT_EQ(summary.generated, expected.walk.generated);
            EXPECT_EQ(summary.dropped, expected.walk.dropped);
            EXPECT_EQ(summary.largestfrontier, expected.largest);
            EXPECT_EQ(summary.iterations, expected.iterations);
            const char* const names[] = {"solved", "cutoff", "failed", "stopped"};
            const SearchStatus codes[] = {SearchStatus::solved, SearchStatus::cutoff,
                                          SearchStatus::failed, SearchStatus::stopped};
            for (std::size_t i = 0; i < 4; ++i) {
                if (summary.status == codes[i]) {
                    EXPECT_EQ(names[i], expected.status);
                }
            }
            ++statuses[expected.status];
            ++runs;
        }
    }
    // The table reaches the ways these searches end. Every position can
    // reach every other, so a pass that cuts nothing and leaves nothing over
    // its bound has taken the goal: none fails.
    EXPECT_EQ(runs, 348);
    EXPECT_GT(statuses["solved"], 200);
    EXPECT_GT(statuses["cutoff"], 50);
    EXPECT_EQ(statuses["failed"], 0);
    EXPECT_GT(statuses["stopped"], 5);
}

TEST(Lab, ExactEstimateIsTheTrueDistanceBetweenAnyTwoPositions)
{
    for (int n = 1; n <= 4; ++n) {
        const PieceCount count(n);
        const Problem problem = problemof(n);
        for (std::uint32_t to = 0; to < problem.positions(); ++to) {
            const Position goal = positionof(problem.position(to));
            for (const auto& [position, moves] : distancesto(goal))
                ASSERT_EQ(movesbetween(n, setsof(position), setsof(goal)), moves)
                    << n << " pieces, goal code " << to;
        }
    }
}

TEST(Lab, AnalysisCountsWhatABruteForceCounts)
{
    for (int n = 1; n <= 5; ++n) {
        const PieceCount count(n);
        const Position goal(static_cast<std::size_t>(n), 3);
        const std::map<Position, int> distance = distancesto(goal);
        for (const HeuristicAnalysis& analysis : analyseheuristics(n)) {
            SCOPED_TRACE(std::to_string(n) + " pieces, " +
                         std::string(heuristicnames[static_cast<std::size_t>(analysis.kind)]));
            std::int64_t overestimated = 0;
            int largestexcess = 0;
            std::int64_t inconsistent = 0;
            for (const auto& [position, moves] : distance) {
                const int h = estimate(analysis.kind, position, goal, distance);
                overestimated += h > moves;
                largestexcess = std::max(largestexcess, h - moves);
                for (const Move& move : movesfrom(position, 0))
                    inconsistent +=
                        h - estimate(analysis.kind, moved(position, move), goal, distance) > 1;
            }
            EXPECT_EQ(analysis.positions, static_cast<std::int64_t>(distance.size()));
            EXPECT_EQ(analysis.overestimated, overestimated);
            EXPECT_EQ(analysis.largestexcess, largestexcess);
            EXPECT_EQ(analysis.inconsistentmoves, inconsistent);
        }
    }
}

TEST(Lab, ProgramsOwnEstimateMisleadsAStarOnlyFromOtherStarts)
{
    // From every piece on peg 1, A* never generates a state whose estimate
    // exceeds its true distance, which is why it still finds 2^N - 1 moves.
    for (int n = 1; n <= 10; ++n) {
        const Problem problem = problemof(n);
        std::int64_t overestimated = 0;
        FunctionObserver observer;
        observer.onpushed = [&](std::uint32_t, std::uint32_t, const PegMove&, const PegSets& sets,
                                std::int32_t, std::int32_t) {
            overestimated += estimateof(heuristic::padrao, sets, problem.goal, n) >
                             movesbetween(n, sets, problem.goal);
        };
        const SearchResult result = runsearch(problem, {search_method::astar}, {}, observer);
        EXPECT_EQ(overestimated, 0) << n << " pieces";
        EXPECT_EQ(result.solution.size(), static_cast<std::size_t>(optimalmoves(n)));
    }
    // From 231 it does, and its solution is 9 moves where 7 are enough; the
    // exact estimate finds the 7.
    const Problem problem = problemof(3, parseposition("231"));
    EXPECT_EQ(problem.optimal, 7);
    SearchSetup setup{search_method::astar};
    NoObserver none;
    EXPECT_EQ(runsearch(problem, setup, {}, none).solution.size(), 9u);
    setup.estimate = heuristic::exata;
    EXPECT_EQ(runsearch(problem, setup, {}, none).solution.size(), 7u);
}

}  // namespace
