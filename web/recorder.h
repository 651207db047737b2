/*
 * The teaching page's side of a run: what it asks of the engine and what it
 * gets back, as one JSON text for the page's worker. No emscripten here, so
 * the native tests check it too; nothing of the console's either.
 *
 * pagerun takes option words as the command line has them (parsed by the
 * program's own parseoptions) and the piece count and the method ("3 0"),
 * searches through the program's run (run.h), and returns:
 *   {"erro": "hanoi: ..."}                     options or answers refused
 *   {"saida": "..."}                           --help, --version, --analisar
 *   {"linhas": [{"metodo": "A*", "pecas": 1, ...}, ...]}   --comparar: one
 *                                              object a run, keyed by the
 *                                              CSV's columns
 *   {"pecas", "metodo", "otimo", "examinados", "solucao": [[de, para], ...],
 *    "estatisticas": the -e block, "rastro": the -r text,
 *    "erro": why there is no solution (when there is none),
 *    "nos": [...], "passos": [...], "completo"}   a search
 * The search's text is the console's own, line for line. Once the steps are
 * recorded, before the search itself runs, `recorded` gets them alone:
 *   {"pecas", "metodo", "otimo", "nos", "passos", "completo"}
 * so that a front end that stops the search keeps them. pagetable returns
 * the names the page offers and the engine's room: {"metodos": [{"codigo",
 * "opcao", "nome", "limite", "peso", "heuristica", "desempate"}, ...]
 * (whether --limite, --peso, --heuristica, --desempate apply),
 * "heuristicas": [...], "desempates": [...],
 * "memoria": the bytes a search may hold, what the heap may still grow by}.
 *
 * Recorder builds the search tree and its steps from the events of a run
 * whose nodes are numbered (engine.h), and keeps the steps up to the
 * `limit`th state taken:
 *  - "nos", the search tree, one entry a state generated (the start first):
 *    [parent, from, to, pegs, g, h, f, step, repeated, dropped]
 *    with pegs each peg's pieces from the bottom up ([[1, 0], [], []]),
 *    step the number of the step that took it (0: not taken yet), repeated
 *    1 when its position was generated before, and dropped, in graph
 *    search, the number of the step that dropped it (0: never);
 *  - "passos", one entry a state leaving the frontier, in order: each
 *    state taken and, in graph search, each state dropped as its position
 *    was examined before (a step of its own, as the trace's "--" lines):
 *    [node, frontier, next f (null: none left), ties, listing, iteration,
 *     bound, start queue, dropped]
 *    with ties the other entries of the same f left on the frontier and
 *    next f (best-first methods only: 0 and null for the others), and
 *    listing the frontier just before the state left it (null: not
 *    recorded): the heap's node numbers in heap order (root first, children
 *    of i at 2i and 2i + 1) while it holds at most `heapshown`, else the
 *    `heapshown` that leave first, best first; the stack's top
 *    `heapshown`, top first; bidirectional search's two queues, each's
 *    first `queueshown` from its front, the start's side first. iteration
 *    and bound: the pass the step belongs to (iterative deepening and IDA*:
 *    from 1, with its depth limit or its bound on f; 0 and null otherwise);
 *    start queue: bidirectional search's states on the start's side (null
 *    for the other methods); dropped: 1 for a state dropped, else 0.
 *  Roots are their own parents: the start of each pass, and bidirectional
 *  search's goal (node 1), the root of the goal's side.
 *  - "encontro", bidirectional search once its sides met: [the child that
 *    met the other side, the other side's node of the same position].
 * "completo" is true when every state taken was recorded.
 * Cost: O(log n) a state while recording, and O(heapshown log heapshown) for
 * its listing; nothing after.
 */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine.h"
#include "hanoi.h"
#include "heuristics.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"

inline constexpr std::size_t heapshown = 31;
inline constexpr std::size_t queueshown = 15;

class Recorder {
public:
    struct Node {
        std::uint32_t parent;
        std::int8_t from;
        std::int8_t to;
        PegSets sets;
        std::int32_t depth;
        std::int32_t score;
        std::int64_t step;  // 0 until taken
        bool repeated;
        std::int64_t dropped;  // 0 unless dropped before that step
    };
    // A step: a state leaving the frontier, taken or dropped.
    struct Taken {
        std::uint32_t node;
        std::size_t frontier;
        std::optional<std::int32_t> nextscore;
        std::int64_t ties;
        std::optional<std::vector<std::uint32_t>> listing;
        std::int32_t iteration;
        std::int64_t bound;
        std::optional<std::size_t> startqueue;
        bool dropped;
    };

    Recorder(const Problem& problem, const SearchSetup& setup, std::int64_t limit);

    void taken(std::uint32_t node, const PegSets& sets, std::int32_t depth,
               std::size_t frontiersize);
    void pushed(std::uint32_t node, std::uint32_t parent, const PegMove& move, const PegSets& sets,
                std::int32_t depth, std::int32_t score);
    void dropped(std::uint32_t node, const PegSets& sets, std::int32_t depth,
                 std::size_t frontiersize);
    void frontier(const FrontierView& view);
    void started(std::int32_t iteration, std::int64_t bound, std::uint32_t first,
                 std::size_t firsts);

    // The observer that hands a numbered run's events to this recorder.
    FunctionObserver observer();

    const std::vector<Node>& nodes() const { return nodes_; }
    const std::vector<Taken>& steps() const { return steps_; }
    bool complete() const { return recording_; }

    // The "nos", "passos" and "completo" members, comma-separated.
    void writejson(std::ostream& out) const;

private:
    // Records `node` leaving the frontier, taken or dropped, as the next
    // step; false once recording has stopped.
    bool leaves(std::uint32_t node, std::size_t frontiersize, bool dropped);
    // The frontier's entries listed for the step about to take a state, from
    // the stack or the queues this recorder keeps.
    std::vector<std::uint32_t> stacklisting() const;
    std::vector<std::uint32_t> queuelisting() const;
    // The best-first methods' ties and next score for the step.
    void scoreorder(Taken& step) const;
    // Takes `node` off the stack or the queue this recorder keeps.
    void popfrontier(std::uint32_t node);
    // The side of bidirectional search a node belongs to: 0 the start's.
    int sideof(std::uint32_t node) const;

    Problem problem_;
    Scoring scoring_;
    std::int64_t limit_;
    std::map<std::int32_t, std::int64_t> scorecount_;  // entries on the frontier by score
    std::vector<bool> seen_;  // positions generated, by number
    std::vector<Node> nodes_;
    std::vector<Taken> steps_;
    std::int64_t takes_ = 0;  // the steps that took their state
    std::optional<std::vector<std::uint32_t>> heap_;  // the frontier before the next state taken
    // The stack methods' stack and bidirectional search's queues, as node
    // numbers, kept from the events; the positions each side reached, with
    // the node that reached them, and where the sides met.
    std::vector<std::uint32_t> stack_;
    std::array<std::deque<std::uint32_t>, 2> queues_;
    std::array<std::unordered_map<std::uint32_t, std::uint32_t>, 2> reached_;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> meeting_;
    std::int32_t iteration_ = 0;
    std::int64_t bound_ = nobound;
    bool recording_ = true;
};

struct PageRequest {
    std::vector<std::string> options;  // e.g. {"-e", "--rastro=5"}
    std::string answers;  // the piece count and the method, e.g. "3 0"
    std::int64_t steps;  // states to record
    std::uint64_t memorycap = 0;  // bytes a search may hold at most; 0: the heap's room
};

// Called every 100000 examined states with the count and the depth.
using PageProgress = std::function<void(std::int64_t, std::int32_t)>;

// Called once with the recorded steps' JSON, before the search runs.
using PageRecorded = std::function<void(const std::string&)>;

std::string pagerun(const PageRequest& request, const PageProgress& progress,
                    const PageRecorded& recorded = nullptr);

std::string pagetable();

// `text` as a JSON string, quotes included.
std::string jsonstring(std::string_view text);
