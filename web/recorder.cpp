#include "recorder.h"

#include <array>
#include <cstdio>
#include <new>
#include <queue>
#include <sstream>
#include <string_view>
#include <tuple>
#include <variant>

#include "compare.h"
#include "memory.h"
#include "observe.h"
#include "options.h"
#include "run.h"

namespace {

// Each peg's pieces from the bottom up, as JSON: [[1,0],[],[]].
std::string pegarrays(const PegSets& sets, int pieces)
{
    std::ostringstream json;
    json << '[';
    for (int peg = 1; peg <= 3; ++peg) {
        json << (peg > 1 ? ",[" : "[");
        const char* separator = "";
        forpiecesup(sets, peg, pieces, [&](int piece) {
            json << separator << piece;
            separator = ",";
        });
        json << ']';
    }
    json << ']';
    return json.str();
}

template <class Item, class Write>
void writearray(std::ostream& out, const std::vector<Item>& items, Write&& write)
{
    out << '[';
    const char* separator = "";
    for (const Item& item : items) {
        out << separator;
        write(item);
        separator = ",";
    }
    out << ']';
}

// `value`, or null when it does not apply.
template <class Number>
void writeoptional(std::ostream& out, bool applies, Number value)
{
    if (applies)
        out << value;
    else
        out << "null";
}

std::string member(std::string_view name, std::string_view jsontext)
{
    return jsonstring(name) + ":" + std::string(jsontext);
}

std::string errorobject(const std::string& message)
{
    return "{" + member("erro", jsonstring(message)) + "}";
}

}  // namespace

std::string jsonstring(std::string_view text)
{
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (c == '\n') {
            json += "\\n";
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

Recorder::Recorder(const Problem& problem, const SearchSetup& setup, std::int64_t limit)
    : problem_(problem)
    , scoring_(scoringof(problem, setup))
    , limit_(limit)
    , seen_(problem.positions())
{
    const std::int32_t score = scoring_(problem.start, 0);
    nodes_.push_back({0, 0, 0, problem.start, 0, score, 0, false, 0});
    seen_[problem.code(problem.start)] = true;
    ++scorecount_[score];
    // Depth-first search's one pass starts with no `started` event.
    if (stackmethod(setup.method))
        stack_.push_back(0);
}

FunctionObserver Recorder::observer()
{
    return {[this](std::uint32_t node, const PegSets& sets, std::int32_t depth,
                   std::size_t frontiersize) { taken(node, sets, depth, frontiersize); },
            [this](std::uint32_t node, std::uint32_t parent, const PegMove& move,
                   const PegSets& sets, std::int32_t depth,
                   std::int32_t score) { pushed(node, parent, move, sets, depth, score); },
            nullptr,
            [this](std::uint32_t node, const PegSets& sets, std::int32_t depth,
                   std::size_t frontiersize) { dropped(node, sets, depth, frontiersize); },
            nullptr,
            [this](const FrontierView& view) { frontier(view); },
            [this](std::int32_t iteration, std::int64_t bound, std::uint32_t first,
                   std::size_t firsts) { started(iteration, bound, first, firsts); }};
}

void Recorder::frontier(const FrontierView& view)
{
    heap_.reset();
    if (!recording_)
        return;
    heap_.emplace();
    if (view.size() <= heapshown) {
        for (std::size_t i = 1; i <= view.size(); ++i)
            heap_->push_back(view.node(i));
        return;
    }
    // An entry leaves after its parent in the heap, so the best entries form
    // a tree from the root: walk it, always on to the best entry reached
    // (the lowest node number among equal scores, as the page lists them).
    using Reached = std::tuple<std::int32_t, std::int64_t, std::size_t>;  // score, -node, index
    std::priority_queue<Reached> reached;
    const auto reach = [&](std::size_t i) {
        if (i <= view.size())
            reached.emplace(nodes_[view.node(i)].score, -std::int64_t{view.node(i)}, i);
    };
    reach(1);
    while (heap_->size() < heapshown) {
        const std::size_t i = std::get<2>(reached.top());
        reached.pop();
        heap_->push_back(view.node(i));
        reach(2 * i);
        reach(2 * i + 1);
    }
}

void Recorder::started(std::int32_t iteration, std::int64_t bound, std::uint32_t first,
                       std::size_t firsts)
{
    iteration_ = iteration;
    bound_ = bound;
    stack_.clear();
    if (!recording_)
        return;
    // The pass's first states, the start (and bidirectional search's goal),
    // each the root of its own tree; the constructor made the run's start.
    for (std::uint32_t node = first; node < first + firsts; ++node) {
        const PegSets& sets = node == first ? problem_.start : problem_.goal;
        const std::int32_t score = scoring_(sets, 0);
        if (node == nodes_.size()) {
            const std::uint32_t code = problem_.code(sets);
            nodes_.push_back({node, 0, 0, sets, 0, score, 0, seen_[code], 0});
            seen_[code] = true;
            ++scorecount_[score];
        }
        if (scoring_.method == search_method::bidirectional) {
            const int side = static_cast<int>(node - first);
            queues_[side].push_back(node);
            reached_[side].emplace(problem_.code(sets), node);
        } else {
            stack_.push_back(node);
        }
    }
}

int Recorder::sideof(std::uint32_t node) const
{
    while (nodes_[node].parent != node)
        node = nodes_[node].parent;
    return node == 0 ? 0 : 1;
}

std::vector<std::uint32_t> Recorder::stacklisting() const
{
    const std::size_t shown = std::min(stack_.size(), heapshown);
    return {stack_.rbegin(), stack_.rbegin() + static_cast<std::ptrdiff_t>(shown)};
}

std::vector<std::uint32_t> Recorder::queuelisting() const
{
    std::vector<std::uint32_t> listing;
    for (const std::deque<std::uint32_t>& queue : queues_) {
        const std::size_t shown = std::min(queue.size(), queueshown);
        listing.insert(listing.end(), queue.begin(),
                       queue.begin() + static_cast<std::ptrdiff_t>(shown));
    }
    return listing;
}

bool Recorder::leaves(std::uint32_t node, std::size_t frontiersize, bool dropped)
{
    if (!recording_)
        return false;
    const auto count = scorecount_.find(nodes_[node].score);
    if (--count->second == 0)
        scorecount_.erase(count);
    Taken step{node,       frontiersize, std::nullopt, 0,      std::move(heap_),
               iteration_, bound_,       std::nullopt, dropped};
    if (stackmethod(scoring_.method)) {
        step.listing = stacklisting();
    } else if (scoring_.method == search_method::bidirectional) {
        step.listing = queuelisting();
        step.startqueue = queues_[0].size();
    } else {
        scoreorder(step);
    }
    steps_.push_back(std::move(step));
    const auto number = static_cast<std::int64_t>(steps_.size());
    (dropped ? nodes_[node].dropped : nodes_[node].step) = number;
    popfrontier(node);
    return true;
}

void Recorder::taken(std::uint32_t node, const PegSets& /*sets*/, std::int32_t /*depth*/,
                     std::size_t frontiersize)
{
    if (recording_ && takes_ == limit_) {
        recording_ = false;
        scorecount_.clear();
    }
    if (leaves(node, frontiersize, false))
        ++takes_;
}

void Recorder::scoreorder(Taken& step) const
{
    if (const auto same = scorecount_.find(nodes_[step.node].score); same != scorecount_.end())
        step.ties = same->second;
    // The best score left leaves next: the highest.
    if (!scorecount_.empty())
        step.nextscore = scorecount_.rbegin()->first;
}

void Recorder::dropped(std::uint32_t node, const PegSets& /*sets*/, std::int32_t /*depth*/,
                       std::size_t frontiersize)
{
    leaves(node, frontiersize, true);
}

void Recorder::popfrontier(std::uint32_t node)
{
    if (!stack_.empty() && stack_.back() == node)
        stack_.pop_back();
    if (scoring_.method != search_method::bidirectional)
        return;
    std::deque<std::uint32_t>& queue = queues_[sideof(node)];
    if (!queue.empty() && queue.front() == node)
        queue.pop_front();
}

void Recorder::pushed(std::uint32_t node, std::uint32_t parent, const PegMove& move,
                      const PegSets& sets, std::int32_t depth, std::int32_t score)
{
    if (!recording_)
        return;
    const std::uint32_t code = problem_.code(sets);
    nodes_.push_back({parent, static_cast<std::int8_t>(move.from),
                      static_cast<std::int8_t>(move.to), sets, depth, score, 0, seen_[code], 0});
    seen_[code] = true;
    if (scoring_.method == search_method::bidirectional) {
        const int side = sideof(node);
        if (const auto met = reached_[1 - side].find(code); met != reached_[1 - side].end()) {
            // The child that met the other side ends the search: it never
            // enters a queue.
            meeting_.emplace(node, met->second);
            return;
        }
        reached_[side].emplace(code, node);
        queues_[side].push_back(node);
    }
    ++scorecount_[score];
    if (stackmethod(scoring_.method))
        stack_.push_back(node);
}

void Recorder::writejson(std::ostream& out) const
{
    out << "\"nos\":";
    writearray(out, nodes_, [&](const Node& node) {
        const Figures figures = figuresof(node.depth, node.score, scoring_.method);
        out << '[' << node.parent << ',' << int{node.from} << ',' << int{node.to} << ','
            << pegarrays(node.sets, problem_.pieces) << ',' << figures.g << ',' << figures.h << ','
            << figures.f << ',' << node.step << ',' << (node.repeated ? 1 : 0) << ','
            << node.dropped << ']';
    });
    out << ",\"passos\":";
    writearray(out, steps_, [&](const Taken& step) {
        out << '[' << step.node << ',' << step.frontier << ',';
        // f, as the score is -f
        writeoptional(out, step.nextscore.has_value(), -step.nextscore.value_or(0));
        out << ',' << step.ties << ',';
        if (step.listing)
            writearray(out, *step.listing, [&](std::uint32_t id) { out << id; });
        else
            out << "null";
        out << ',' << step.iteration << ',';
        writeoptional(out, step.bound != nobound, step.bound);
        out << ',';
        writeoptional(out, step.startqueue.has_value(), step.startqueue.value_or(0));
        out << ',' << (step.dropped ? 1 : 0) << ']';
    });
    if (meeting_)
        out << ",\"encontro\":[" << meeting_->first << ',' << meeting_->second << ']';
    out << ",\"completo\":" << (recording_ ? "true" : "false");
}

namespace {

// The room as the system reads it (in WebAssembly, what the heap may still
// grow by), with no more than `cap` bytes (0: no cap) for what the process
// comes to hold from this first reading on.
MemoryBudget::RoomReader cappedroom(std::uint64_t cap)
{
    if (cap == 0)
        return readmemoryroom;
    const std::uint64_t before = readmemoryroom().available.value_or(0);
    return [cap, before] {
        MemoryRoom room = readmemoryroom();
        const std::uint64_t now = room.available.value_or(before);
        const std::uint64_t grown = before > now ? before - now : 0;
        room.addressspace = cap > grown ? cap - grown : 0;
        return room;
    };
}

// The members that say which search the steps are of.
void writeheader(std::ostream& json, const Problem& problem, const SearchSetup& setup)
{
    json << "\"pecas\":" << problem.pieces << ",\"metodo\":" << static_cast<int>(setup.method)
         << ",\"otimo\":" << problem.optimal;
}

// The run the options ask for with the answers, with everything the page
// shows: its steps from a numbered run of the first states, and its figures
// and trace from the run itself.
std::string searchjson(const Options& options, int pieces, search_method method,
                       const PageRequest& request, const PageProgress& progress,
                       const PageRecorded& recorded)
{
    std::ostringstream err;
    const std::variant<RunChoice, std::string> chosen = chooserun(options, pieces, method);
    if (const std::string* reason = std::get_if<std::string>(&chosen)) {
        explainbadoption(err, *reason);
        return errorobject(err.str());
    }
    const auto& [problem, setup] = std::get<RunChoice>(chosen);
    const MemoryBudget::RoomReader room = cappedroom(request.memorycap);
    const std::uint64_t memory = memorybudget(room());
    Recorder recorder(problem, setup, request.steps);
    FunctionObserver numbered = recorder.observer();
    runsearch(problem, setup, {memory, request.steps + 1}, numbered, true);
    if (recorded) {
        std::ostringstream steps;
        steps << '{';
        writeheader(steps, problem, setup);
        steps << ',';
        recorder.writejson(steps);
        steps << '}';
        recorded(steps.str());
    }
    // The console's own observer for -e and -r, so that the search runs as
    // the console's does: the trace, and no progress lines (the page hears
    // of progress itself).
    std::ostringstream trace;
    Watch watch(trace, scoringof(problem, setup), options.trace, heldby(problem, setup),
                [&](std::int64_t examined, std::int32_t depth) {
                    if (progress)
                        progress(examined, depth);
                    return true;
                });
    const double start = cpuseconds();
    // The heap's room is read again at every memory check (MemoryBudget): a
    // search stops by its budget, never by an allocation that fails.
    MemoryBudget budget(memory, room);
    const SearchResult result = runsearch(problem, setup, {memory, INT64_MAX, &budget}, watch);
    const double seconds = cpuseconds() - start;
    if (const std::string why = whyunsolved(result); !why.empty())
        err << why << '\n';
    std::ostringstream statistics;
    writestatistics(statistics, summarize(problem, setup, result, watch.statistics(), seconds));
    std::ostringstream json;
    json << '{';
    writeheader(json, problem, setup);
    json << ",\"examinados\":" << result.examined << ",\"solucao\":";
    writearray(json, result.solution, [&](const Step& step) {
        // One write a move: a solution has up to 32767, and a number written
        // through the stream costs more than a state of the search.
        const std::array<char, 5> pegs{'[', static_cast<char>('0' + step.from), ',',
                                       static_cast<char>('0' + step.to), ']'};
        json.write(pegs.data(), pegs.size());
    });
    json << ',' << member("estatisticas", jsonstring(statistics.str())) << ','
         << member("rastro", jsonstring(trace.str()));
    if (!err.str().empty())
        json << ',' << member("erro", jsonstring(err.str()));
    json << ',';
    recorder.writejson(json);
    json << '}';
    return json.str();
}

// The comparison's runs, one object a run keyed by the CSV's columns: text
// as strings, figures as numbers, null where a figure does not apply.
std::string comparisonjson(const Options& options, std::uint64_t memorycap)
{
    std::ostringstream json;
    json << "{\"linhas\":[";
    const char* separator = "";
    comparisonruns(options, memorybudget(cappedroom(memorycap)()), [&](const RunSummary& run) {
        const std::array<std::string, csvcolumns.size()> fields = csvfields(run);
        json << separator << '{';
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string value = fields[i].empty()    ? "null"
                                      : csvcolumns[i].text ? jsonstring(fields[i])
                                                           : fields[i];
            json << (i > 0 ? "," : "") << member(csvcolumns[i].name, value);
        }
        json << '}';
        separator = ",";
        return true;
    });
    json << "]}";
    return json.str();
}

// The piece count (1 to 15) and the method (a code of the method table) of
// "3 0".
std::optional<std::pair<int, search_method>> answersof(const std::string& answers)
{
    std::istringstream words(answers);
    int pieces = 0;
    int method = -1;
    std::string rest;
    if (!(words >> pieces >> method) || words >> rest || pieces < 1 || pieces > maxpieces ||
        method < 0 || method >= static_cast<int>(methodtable.size()))
        return std::nullopt;
    return std::pair{pieces, static_cast<search_method>(method)};
}

}  // namespace

std::string pagerun(const PageRequest& request, const PageProgress& progress,
                    const PageRecorded& recorded)
{
    std::vector<std::string> words{"hanoi"};
    words.insert(words.end(), request.options.begin(), request.options.end());
    // The method answered is named as --metodo names it, so that the
    // options are checked against it as on the command line (--limite and
    // --peso only with the methods they apply to; depth-first tree search
    // only with a limit, as it would never end).
    const auto answers = answersof(request.answers);
    if (answers)
        words.push_back("--metodo=" + std::string(namesof(answers->second).option));
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::ostringstream err;
    const std::variant<Options, std::string> parsed =
        parseoptions(static_cast<int>(words.size()), argv.data());
    if (const std::string* reason = std::get_if<std::string>(&parsed)) {
        explainbadoption(err, *reason);
        return errorobject(err.str());
    }
    const Options& options = std::get<Options>(parsed);
    try {
        std::ostringstream out;
        if (options.help)
            writehelp(out);
        else if (options.version)
            writeversion(out);
        else if (options.analyse > 0)
            writeanalysis(out, analyseheuristics(options.analyse), options.csv, options.csv);
        else if (options.compare)
            return comparisonjson(options, request.memorycap);
        if (!out.str().empty())
            return "{" + member("saida", jsonstring(out.str())) + "}";
        if (!answers)
            return errorobject("hanoi: pecas (1 a " + std::to_string(maxpieces) +
                               ") ou metodo (0 a " + std::to_string(methodtable.size() - 1) +
                               ") invalidos: " + request.answers + "\n");
        return searchjson(options, answers->first, answers->second, request, progress, recorded);
    } catch (const std::bad_alloc&) {
        return errorobject("hanoi: memoria esgotada\n");
    }
}

std::string pagetable()
{
    std::ostringstream json;
    json << "{\"metodos\":";
    writearray(json, std::vector(methodtable.begin(), methodtable.end()),
               [&](const MethodNames& names) {
                   json << "{\"codigo\":" << static_cast<int>(names.method)
                        << ",\"opcao\":" << jsonstring(names.option)
                        << ",\"nome\":" << jsonstring(names.label)
                        << ",\"limite\":" << (names.depthlimit ? "true" : "false")
                        << ",\"peso\":" << (names.weight ? "true" : "false")
                        << ",\"heuristica\":" << (names.estimates ? "true" : "false")
                        << ",\"desempate\":" << (names.ties ? "true" : "false") << '}';
               });
    const auto names = [&](const auto& list) {
        writearray(json, std::vector(list.begin(), list.end()),
                   [&](std::string_view name) { json << jsonstring(name); });
    };
    json << ",\"heuristicas\":";
    names(heuristicnames);
    json << ",\"desempates\":";
    names(tieordernames);
    json << ",\"memoria\":" << memorybudget(cappedroom(0)()) << '}';
    return json.str();
}
