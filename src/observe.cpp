#include "observe.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "evaluate.h"

namespace {

void writefigures(std::ostream& out, const Figures& figures)
{
    out << "  g=" << figures.g << " h=" << figures.h << " f=" << figures.f;
}

// `value` with `places` decimals, whatever the stream's own settings.
std::string decimal(double value, int places)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}

// `value` with `digits` significant digits: a penetrance of 63 moves over
// billions of states shows as 1.088e-08, not as zero.
std::string significant(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

std::string persecond(std::int64_t count, double seconds)
{
    return decimal(seconds > 0 ? static_cast<double>(count) / seconds : 0, 0);
}

}  // namespace

Figures figuresof(std::int32_t depth, std::int32_t score, search_method method)
{
    // The score is -f; f is h alone for greedy search and g + h otherwise.
    const std::int32_t f = -score;
    return {depth, method == search_method::greedy ? f : f - depth, f};
}

void writepegs(std::ostream& out, const PegSets& sets)
{
    for (int peg = 1; peg <= 3; ++peg) {
        out << (peg > 1 ? " " : "") << peg << ":[";
        const char* separator = "";
        for (int piece = pieces - 1; piece >= 0; --piece) {
            if (sets.on[peg] >> piece & 1) {
                out << separator << piece;
                separator = " ";
            }
        }
        out << ']';
    }
}

bool ProgressLines::progress(std::int64_t examined, std::int32_t depth)
{
    out_ << "Nos abertos: " << examined << std::endl;
    out_ << "Profundidade instantanea: " << depth << std::endl;
    return static_cast<bool>(out_);
}

Trace::Trace(std::ostream& out, const Scoring& scoring, std::int64_t limit)
    : out_(out)
    , scoring_(scoring)
    , limit_(limit)
{
}

void Trace::taken(const PegSets& sets, std::int32_t depth, std::size_t frontiersize)
{
    ++count_;
    if (count_ == 1 && limit_ > 0)
        out_
            << "Rastro dos primeiros " << limit_
            << " estados (g = profundidade, h = estimativa, f = ordem na fronteira, menor antes)\n";
    // count_ - 1, not limit_ + 1: the largest limit has no successor.
    if (limit_ > 0 && count_ - 1 == limit_)
        out_ << "Rastro interrompido apos " << limit_ << " estados; a busca continua." << std::endl;
    if (!tracing())
        return;
    out_ << '#' << count_ << "  ";
    writepegs(out_, sets);
    writefigures(out_, figuresof(depth, scoring_(sets, depth), scoring_.method));
    out_ << "  fronteira=" << frontiersize << (sets == scoring_.goal ? "  objetivo" : "") << '\n';
}

void Trace::dropped(const PegSets& sets, std::int32_t depth, std::size_t frontiersize)
{
    if (!tracing())
        return;
    out_ << "--  ";
    writepegs(out_, sets);
    writefigures(out_, figuresof(depth, scoring_(sets, depth), scoring_.method));
    out_ << "  fronteira=" << frontiersize << "  descartado\n";
}

void Trace::pushed(const PegMove& move, const PegSets& sets, std::int32_t depth, std::int32_t score)
{
    if (!tracing())
        return;
    out_ << "    " << move.from << "->" << move.to << "  ";
    writepegs(out_, sets);
    writefigures(out_, figuresof(depth, score, scoring_.method));
    out_ << '\n';
}

double effectivebranching(std::int64_t generated, std::int32_t depth)
{
    const auto target = static_cast<double>(generated - 1);
    // b + b^2 + ... + b^d, stopped early once it passes the target.
    const auto treesize = [&](double b) {
        double sum = 0;
        double power = 1;
        for (std::int32_t level = 1; level <= depth && sum <= target; ++level) {
            power *= b;
            sum += power;
        }
        return sum;
    };
    double low = 1;
    double high = std::max(1.0, target);
    while (high - low > 1e-9 * high) {
        const double middle = (low + high) / 2;
        (treesize(middle) > target ? high : low) = middle;
    }
    return (low + high) / 2;
}

double penetrance(const RunSummary& run)
{
    return static_cast<double>(run.moves) / static_cast<double>(run.examined);
}

std::string_view outcomename(const RunSummary& run)
{
    switch (run.outcome) {
    case Outcome::solved:
        return run.moves == run.optimal ? "otima" : "subotima";
    case Outcome::outofmemory:
        return "memoria esgotada";
    case Outcome::noroom:
        return "nao comecou";
    case Outcome::stopped:
        return "interrompida";
    case Outcome::unsolved:
        return "sem solucao";
    }
    return "";
}

std::string_view methodname(search_method method)
{
    switch (method) {
    case search_method::astar:
        return "A*";
    case search_method::breadth:
        return "Largura";
    case search_method::greedy:
        return "Guloso";
    }
    return "";
}

void writestatistics(std::ostream& out, const RunSummary& run)
{
    out << "Estatisticas da busca\n";
    out << "Estados examinados: " << run.examined << '\n';
    out << "Estados gerados (com o inicial): " << run.generated << '\n';
    if (run.graph)
        out << "Estados descartados (posicao ja examinada): " << run.dropped << '\n';
    out << "Maior fronteira: " << run.largestfrontier << " estados\n";
    if (run.outcome == Outcome::solved) {
        out << "Tamanho da solucao: " << run.moves << " movimentos (" << outcomename(run) << ")\n";
        out << "Profundidade da solucao: " << run.depth << '\n';
        out << "Fator de ramificacao efetivo (b*): "
            << decimal(effectivebranching(run.generated, run.depth), 4) << '\n';
        out << "Penetrancia (movimentos / examinados): " << significant(penetrance(run), 4) << '\n';
    } else if (run.outcome == Outcome::noroom) {
        out << "Solucao: nenhuma (memoria insuficiente para comecar a busca)\n";
    } else {
        out << "Solucao: nenhuma (" << outcomename(run) << ")\n";
        out << "Profundidade do ultimo estado examinado: " << run.depth << '\n';
    }
    out << "Memoria no pico: " << run.memory << " bytes ("
        << decimal(static_cast<double>(run.memory) / (1 << 20), 1) << " MiB)\n";
    out << "Tempo de CPU da busca: " << decimal(run.seconds, 6) << " s\n";
    out << "Estados examinados por segundo: " << persecond(run.examined, run.seconds) << std::endl;
}

void writecsvheader(std::ostream& out)
{
    out << "metodo,pecas,resultado,movimentos,examinados,gerados,maior_fronteira,profundidade,"
           "ramificacao_efetiva,memoria_bytes,tempo_s,examinados_por_s,heuristica,desempate,grafo,"
           "descartados,penetrancia"
        << std::endl;
}

void writecsvrow(std::ostream& out, const RunSummary& run)
{
    const bool solved = run.outcome == Outcome::solved;
    out << methodname(run.method) << ',' << run.pieces << ',' << outcomename(run) << ',';
    if (solved)
        out << run.moves;
    out << ',' << run.examined << ',' << run.generated << ',' << run.largestfrontier << ',';
    if (run.outcome != Outcome::noroom)
        out << run.depth;
    out << ',';
    if (solved)
        out << decimal(effectivebranching(run.generated, run.depth), 6);
    out << ',' << run.memory << ',' << decimal(run.seconds, 6) << ','
        << persecond(run.examined, run.seconds) << ',';
    // Breadth-first search uses no estimate.
    if (run.method != search_method::breadth)
        out << heuristicnames[static_cast<std::size_t>(run.estimate)];
    out << ',' << tieordernames[static_cast<std::size_t>(run.ties)] << ','
        << (run.graph ? "sim" : "nao") << ',' << run.dropped << ',';
    if (solved)
        out << significant(penetrance(run), 6);
    out << std::endl;
}
