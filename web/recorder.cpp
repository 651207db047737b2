#include "recorder.h"

#include <cstdio>
#include <new>
#include <sstream>
#include <string_view>
#include <variant>

#include "compare.h"
#include "console.h"
#include "engine.h"
#include "memory.h"
#include "observe.h"
#include "options.h"

namespace {

// A position as one number, to tell a position seen before.
std::uint64_t positionkey(const PegSets& sets)
{
    return std::uint64_t{sets.on[1]} | std::uint64_t{sets.on[2]} << 16 |
           std::uint64_t{sets.on[3]} << 32;
}

std::string pegtext(const PegSets& sets)
{
    std::ostringstream text;
    writepegs(text, sets);
    return text.str();
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

Recorder::Recorder(const SearchSetup& setup, std::int64_t limit)
    : scoring_(scoringof(setup))
    , ties_(setup.ties)
    , limit_(limit)
{
    const PegSets start = startof(setup);
    addnode({0, 0, 0, start, 0, scoring_(start, 0), 0, false, 0});
}

void Recorder::addnode(const Node& node)
{
    const auto id = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(node);
    nodes_.back().repeated = !seen_.insert(positionkey(node.sets)).second;
    // The engine's ties: its pushes are numbered as the nodes are, the
    // start's 0 included.
    mirror_.push(node.score, id, tiefor(ties_, id));
    ++scorecount_[node.score];
}

std::optional<std::uint32_t> Recorder::takemirrored(const PegSets& sets, std::int32_t depth)
{
    const std::uint32_t node = mirror_.top();
    if (nodes_[node].sets != sets || nodes_[node].depth != depth) {
        stop(false);
        return std::nullopt;
    }
    --scorecount_[mirror_.topscore()];
    mirror_.pop();
    return node;
}

void Recorder::stop(bool faithful)
{
    recording_ = false;
    faithful_ = faithful;
    complete_ = false;
    mirror_ = {};
    scorecount_.clear();
    seen_.clear();
}

void Recorder::taken(const PegSets& sets, std::int32_t depth, std::size_t frontiersize)
{
    if (!recording_)
        return;
    if (static_cast<std::int64_t>(steps_.size()) == limit_) {
        stop(true);
        return;
    }
    std::optional<std::vector<std::uint32_t>> heap;
    if (mirror_.size() <= heapshown) {
        heap.emplace();
        for (std::size_t i = 1; i <= mirror_.size(); ++i)
            heap->push_back(mirror_.at(i));
    }
    const std::int32_t topscore = mirror_.topscore();
    const std::optional<std::uint32_t> node = takemirrored(sets, depth);
    if (!node)
        return;
    Taken step{*node, frontiersize, std::nullopt, scorecount_[topscore], std::move(heap)};
    if (!mirror_.empty())
        step.nextscore = mirror_.topscore();
    steps_.push_back(std::move(step));
    nodes_[*node].step = static_cast<std::int64_t>(steps_.size());
    current_ = *node;
}

void Recorder::dropped(const PegSets& sets, std::int32_t depth, std::size_t /*frontiersize*/)
{
    if (!recording_)
        return;
    if (const std::optional<std::uint32_t> node = takemirrored(sets, depth))
        nodes_[*node].dropped = static_cast<std::int64_t>(steps_.size()) + 1;
}

void Recorder::pushed(const PegMove& move, const PegSets& sets, std::int32_t depth,
                      std::int32_t score)
{
    if (recording_)
        addnode({current_, static_cast<std::int8_t>(move.from), static_cast<std::int8_t>(move.to),
                 sets, depth, score, 0, false, 0});
}

void Recorder::writejson(std::ostream& out) const
{
    out << "\"nos\":";
    writearray(out, nodes_, [&](const Node& node) {
        const Figures figures = figuresof(node.depth, node.score, scoring_.method);
        out << '[' << node.parent << ',' << int{node.from} << ',' << int{node.to} << ','
            << jsonstring(pegtext(node.sets)) << ',' << figures.g << ',' << figures.h << ','
            << figures.f << ',' << node.step << ',' << (node.repeated ? 1 : 0) << ','
            << node.dropped << ']';
    });
    out << ",\"passos\":";
    writearray(out, steps_, [&](const Taken& step) {
        out << '[' << step.node << ',' << step.frontier << ',';
        if (step.nextscore)
            out << -*step.nextscore;  // f, as the score is -f
        else
            out << "null";
        out << ',' << step.ties << ',';
        if (step.heap)
            writearray(out, *step.heap, [&](std::uint32_t id) { out << id; });
        else
            out << "null";
        out << ']';
    });
    out << ",\"fiel\":" << (faithful_ ? "true" : "false")
        << ",\"completo\":" << (complete_ ? "true" : "false");
}

namespace {

// The search the answers and options ask for, with everything the page shows.
std::string searchjson(const Options& options, const Answers& answers, const PageRequest& request,
                       const PageProgress& progress)
{
    std::ostringstream err;
    pieces = answers.pieces;
    const std::variant<SearchSetup, std::string> chosen = labsetup(options, answers.method);
    if (const std::string* reason = std::get_if<std::string>(&chosen)) {
        explainbadoption(err, *reason);
        return errorobject(err.str());
    }
    const SearchSetup& setup = std::get<SearchSetup>(chosen);
    optimal = movesbetween(startof(setup), goalof(setup));
    // The trace, and no progress lines: the page hears of progress itself.
    std::ostringstream trace;
    Watch watch(trace, scoringof(setup), options.trace, heldby(setup));
    Recorder recorder(setup, request.steps);
    FunctionObserver observer{
        [&](const PegSets& sets, std::int32_t depth, std::size_t frontiersize) {
            watch.taken(sets, depth, frontiersize);
            recorder.taken(sets, depth, frontiersize);
        },
        [&](const PegMove& move, const PegSets& sets, std::int32_t depth, std::int32_t score) {
            watch.pushed(move, sets, depth, score);
            recorder.pushed(move, sets, depth, score);
        },
        [&](std::size_t frontiersize) { watch.expanded(frontiersize); },
        [&](const PegSets& sets, std::int32_t depth, std::size_t frontiersize) {
            watch.dropped(sets, depth, frontiersize);
            recorder.dropped(sets, depth, frontiersize);
        },
        [&](std::int64_t examined, std::int32_t depth) {
            if (progress)
                progress(examined, depth);
            return true;
        }};
    const double start = cpuseconds();
    // The heap's room is read again at every memory check (MemoryBudget): a
    // search stops by its budget, never by an allocation that fails.
    const std::uint64_t memory = memorybudget(readmemoryroom());
    MemoryBudget budget(memory, readmemoryroom);
    const SearchLimits limits{memory, INT64_MAX, &budget};
    const SearchResult result = searchwith(setup, limits, observer);
    const double seconds = cpuseconds() - start;
    explainunsolved(result, err);
    std::ostringstream statistics;
    writestatistics(statistics, summarize(setup, result, watch.statistics(), seconds));
    std::ostringstream json;
    json << "{\"pecas\":" << pieces << ",\"metodo\":" << static_cast<int>(setup.method)
         << ",\"otimo\":" << optimal << ",\"examinados\":" << result.examined << ",\"solucao\":";
    writearray(json, result.solution, [&](const Step& step) {
        json << '[' << int{step.from} << ',' << int{step.to} << ']';
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

}  // namespace

std::string pagerun(const PageRequest& request, const PageProgress& progress)
{
    std::vector<std::string> words{"hanoi"};
    words.insert(words.end(), request.options.begin(), request.options.end());
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
        // What asks no questions is the console's run itself.
        if (options.help || options.version || options.compare || options.analyse > 0) {
            std::istringstream none;
            std::ostringstream out;
            run(options, none, out, err, memorybudget(readmemoryroom()));
            std::string json = "{" + member("saida", jsonstring(out.str()));
            if (!err.str().empty())
                json += "," + member("erro", jsonstring(err.str()));
            return json + "}";
        }
        // The answers go through the program's own dialogue, with the screen
        // as the destination: what it accepts, and what it asks again.
        std::istringstream in(request.answers + " .");
        std::ostringstream prompts;
        const std::optional<Answers> answers = dialogue(in, prompts);
        if (!answers) {
            explaininputended(err);
            return errorobject(err.str());
        }
        return searchjson(options, *answers, request, progress);
    } catch (const std::bad_alloc&) {
        std::ostringstream last;
        explainallocationfailure(last);
        return errorobject(last.str());
    }
}
