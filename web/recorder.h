/*
 * The teaching page's side of a run: what it asks of the engine and what it
 * gets back, as one JSON text for the page's worker. No emscripten here, so
 * the native tests check it too.
 *
 * pagerun takes option words as the command line has them (parsed by the
 * program's own parseoptions) and the dialogue's answers (pieces and method,
 * read by the program's own dialogue), searches with the engine the console
 * uses, and returns:
 *   {"erro": "hanoi: ..."}                     options or answers refused
 *   {"saida": "..."}                           --help, --version, --comparar
 *   {"pecas", "metodo", "otimo", "examinados", "solucao": [[de, para], ...],
 *    "estatisticas": the -e block, "rastro": the -r text,
 *    "erro": why there is no solution (when there is none),
 *    "nos": [...], "passos": [...], "fiel", "completo"}   a search
 * The search's text is the console's own, line for line.
 *
 * Recorder watches the search and keeps the first `limit` states taken:
 *  - "nos", the search tree, one entry a state generated (the start first):
 *    [parent, from, to, "1:[1 0] 2:[] 3:[]", g, h, f, step, repeated, dropped]
 *    with step the number of the step that took it (0: not taken yet),
 *    repeated 1 when its position was generated before, and dropped, in
 *    graph search, the number of the step it was dropped before (0: never);
 *  - "passos", one entry a state taken, in order:
 *    [node, frontier, next f (null: none left), ties, heap (null: too big)]
 *    with ties the other entries of the same f left on the frontier, and heap
 *    the node numbers in heap order (root first, children of i at 2i and
 *    2i + 1) just before the state was taken, while at most `heapshown`.
 * It tells which node was taken by keeping a frontier of its own, the
 * program's, fed the same scores and ties in the same order: the tie rule
 * makes it take the same node. Should its choice ever differ from the position the
 * engine took, recording stops there ("fiel": false) rather than show a
 * wrong tree. "completo" is true when every state taken was recorded.
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
#include <unordered_set>
#include <vector>

#include "engine.h"
#include "frontier.h"
#include "hanoi.h"
#include "heuristics.h"
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

    Recorder(const SearchSetup& setup, std::int64_t limit);

    void taken(const PegSets& sets, std::int32_t depth, std::size_t frontiersize);
    void pushed(const PegMove& move, const PegSets& sets, std::int32_t depth, std::int32_t score);
    void dropped(const PegSets& sets, std::int32_t depth, std::size_t frontiersize);

    const std::vector<Node>& nodes() const { return nodes_; }
    const std::vector<Taken>& steps() const { return steps_; }
    bool faithful() const { return faithful_; }
    bool complete() const { return complete_; }

    // The "nos", "passos", "fiel" and "completo" members, comma-separated.
    void writejson(std::ostream& out) const;

private:
    void addnode(const Node& node);
    void stop(bool faithful);
    // The node the engine took with `sets` at `depth`, off the mirror; none
    // (and recording stops) when the mirror's choice differs.
    std::optional<std::uint32_t> takemirrored(const PegSets& sets, std::int32_t depth);

    Scoring scoring_;
    tie_order ties_;
    std::int64_t limit_;
    Frontier<std::uint32_t, std::uint64_t> mirror_;
    std::map<std::int32_t, std::int64_t> scorecount_;  // entries on the mirror by score
    std::unordered_set<std::uint64_t> seen_;
    std::vector<Node> nodes_;
    std::vector<Taken> steps_;
    std::uint32_t current_ = 0;
    bool recording_ = true;
    bool faithful_ = true;
    bool complete_ = true;
};

struct PageRequest {
    std::vector<std::string> options;  // e.g. {"-e", "--rastro=5"}
    std::string answers;  // the piece count and the method, e.g. "3 0"
    std::int64_t steps;  // states to record
};

// Called every 100000 examined states with the count and the depth.
using PageProgress = std::function<void(std::int64_t, std::int32_t)>;

std::string pagerun(const PageRequest& request, const PageProgress& progress);

// `text` as a JSON string, quotes included.
std::string jsonstring(std::string_view text);
