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
 * "opcao", "nome"}, ...], "heuristicas": [...], "desempates": [...],
 * "memoria": the bytes a search may hold, what the heap may still grow by}.
 *
 * Recorder builds the search tree and its steps from the events of a run
 * whose nodes are numbered (engine.h), and keeps the first `limit` states
 * taken:
 *  - "nos", the search tree, one entry a state generated (the start first):
 *    [parent, from, to, pegs, g, h, f, step, repeated, dropped]
 *    with pegs each peg's pieces from the bottom up ([[1, 0], [], []]),
 *    step the number of the step that took it (0: not taken yet), repeated
 *    1 when its position was generated before, and dropped, in graph
 *    search, the number of the step it was dropped before (0: never);
 *  - "passos", one entry a state taken, in order:
 *    [node, frontier, next f (null: none left), ties, heap (null: too big)]
 *    with ties the other entries of the same f left on the frontier, and heap
 *    the node numbers in heap order (root first, children of i at 2i and
 *    2i + 1) just before the state was taken, while at most `heapshown`.
 * "completo" is true when every state taken was recorded.
 * Cost: O(log n) a state while recording, nothing after.
 */
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine.h"
#include "hanoi.h"
#include "heuristics.h"
#include "observe.h"
#include "problem.h"
#include "puzzle.h"

inline constexpr std::size_t heapshown = 31;

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
    struct Taken {
        std::uint32_t node;
        std::size_t frontier;
        std::optional<std::int32_t> nextscore;
        std::int64_t ties;
        std::optional<std::vector<std::uint32_t>> heap;
    };

    Recorder(const Problem& problem, const SearchSetup& setup, std::int64_t limit);

    void taken(std::uint32_t node, const PegSets& sets, std::int32_t depth,
               std::size_t frontiersize);
    void pushed(std::uint32_t node, std::uint32_t parent, const PegMove& move, const PegSets& sets,
                std::int32_t depth, std::int32_t score);
    void dropped(std::uint32_t node, const PegSets& sets, std::int32_t depth,
                 std::size_t frontiersize);
    void frontier(const FrontierView& view);

    // The observer that hands a numbered run's events to this recorder.
    FunctionObserver observer();

    const std::vector<Node>& nodes() const { return nodes_; }
    const std::vector<Taken>& steps() const { return steps_; }
    bool complete() const { return recording_; }

    // The "nos", "passos" and "completo" members, comma-separated.
    void writejson(std::ostream& out) const;

private:
    // Counts a node leaving the frontier; false once recording has stopped.
    bool leaves(std::uint32_t node);

    Problem problem_;
    Scoring scoring_;
    std::int64_t limit_;
    std::map<std::int32_t, std::int64_t> scorecount_;  // entries on the frontier by score
    std::vector<bool> seen_;  // positions generated, by number
    std::vector<Node> nodes_;
    std::vector<Taken> steps_;
    std::optional<std::vector<std::uint32_t>> heap_;  // the frontier before the next state taken
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
