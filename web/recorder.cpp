#include "recorder.h"

#include <chrono>
#include <cstdio>
#include <new>
#include <sstream>
#include <string_view>
#include <variant>

#include "compare.h"
#include "console.h"
#include "evaluate.h"
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

bool sameposition(const PegSets& a, const PegSets& b)
{
    return positionkey(a) == positionkey(b);
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

Recorder::Recorder(search_method method, std::int64_t limit)
    : method_(method)
    , limit_(limit)
{
    const PegSets start = startstate();
    addnode({0, 0, 0, start, 0, score(start, 0, method), 0, false});
}

void Recorder::addnode(const Node& node)
{
    const auto id = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(node);
    nodes_.back().repeated = !seen_.insert(positionkey(node.sets)).second;
    mirror_.push(node.score, id);
    ++scorecount_[node.score];
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
    const std::uint32_t node = mirror_.top();
    if (!sameposition(nodes_[node].sets, sets) || nodes_[node].depth != depth) {
        stop(false);
        return;
    }
    Taken step{node, frontiersize, std::nullopt, 0, std::nullopt};
    if (mirror_.size() <= heapshown) {
        step.heap.emplace();
        for (std::size_t i = 1; i <= mirror_.size(); ++i)
            step.heap->push_back(mirror_.at(i));
    }
    const std::int32_t topscore = mirror_.topscore();
    mirror_.pop();
    step.ties = --scorecount_[topscore];
    if (!mirror_.empty())
        step.nextscore = mirror_.topscore();
    steps_.push_back(std::move(step));
    nodes_[node].step = static_cast<std::int64_t>(steps_.size());
    current_ = node;
}

void Recorder::pushed(const PegMove& move, const PegSets& sets, std::int32_t depth,
                      std::int32_t score)
{
    if (recording_)
        addnode({current_, static_cast<std::int8_t>(move.from), static_cast<std::int8_t>(move.to),
                 sets, depth, score, 0, false});
}

void Recorder::writejson(std::ostream& out) const
{
    out << "\"nos\":";
    writearray(out, nodes_, [&](const Node& node) {
        const Figures figures = figuresof(node.depth, node.score, method_);
        out << '[' << node.parent << ',' << int{node.from} << ',' << int{node.to} << ','
            << jsonstring(pegtext(node.sets)) << ',' << figures.g << ',' << figures.h << ','
            << figures.f << ',' << node.step << ',' << (node.repeated ? 1 : 0) << ']';
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
        explainbadoptions(err, *reason);
        return errorobject(err.str());
    }
    const Options& options = std::get<Options>(parsed);
    try {
        std::ostringstream out;
        if (options.help || options.version || options.compare) {
            std::istringstream none;
            run(options, none, out, err, memorybudget(readmemoryroom()));
            return "{" + member("saida", jsonstring(out.str())) + "}";
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
        pieces = answers->pieces;
        optimal = optimalmoves(pieces);
        const search_method method = answers->method;
        // The trace, and no progress lines: the page hears of progress itself.
        std::ostringstream trace;
        Watch watch(trace, method, options.trace);
        Recorder recorder(method, request.steps);
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
            [&](std::int64_t examined, std::int32_t depth) {
                if (progress)
                    progress(examined, depth);
                return true;
            }};
        const auto start = std::chrono::steady_clock::now();
        const SearchResult result =
            searchwith({method}, {memorybudget(readmemoryroom())}, observer);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        explainunsolved(result, err);
        std::ostringstream statistics;
        writestatistics(statistics, summarize(method, result, watch.statistics(), elapsed.count()));
        std::ostringstream json;
        json << "{\"pecas\":" << pieces << ",\"metodo\":" << static_cast<int>(method)
             << ",\"otimo\":" << optimal << ",\"examinados\":" << result.examined
             << ",\"solucao\":";
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
    } catch (const std::bad_alloc&) {
        std::ostringstream last;
        explainallocationfailure(last);
        return errorobject(last.str());
    }
}
