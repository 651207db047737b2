#include "observe.h"

#include <array>
#include <cstdio>
#include <ostream>
#include <string>

#include "evaluate.h"

namespace {

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

void writepegs(std::ostream& out, const PegSets& sets, int pieces)
{
    for (int peg = 1; peg <= 3; ++peg) {
        out << (peg > 1 ? " " : "") << peg << ":[";
        const char* separator = "";
        forpiecesup(sets, peg, pieces, [&](int piece) {
            out << separator << piece;
            separator = " ";
        });
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

void Trace::writeheading()
{
    if (headed_ || limit_ == 0)
        return;
    headed_ = true;
    out_ << "Rastro dos primeiros " << limit_
         << (stackmethod(scoring_.method)
                 ? " estados (g = profundidade, h = estimativa, f = g + h; a pilha: o ultimo "
                   "empilhado sai antes)\n"
                 : " estados (g = profundidade, h = estimativa, f = ordem na fronteira, menor "
                   "antes)\n");
}

void Trace::writefigures(std::int32_t depth, std::int32_t score)
{
    const Figures figures = scoring_.figures(depth, score);
    out_ << "  g=" << figures.g << " h=" << figures.h << " f=";
    if (scoring_.method == search_method::weighted)
        out_ << decimal(figures.f / 100.0, 2);
    else
        out_ << figures.f;
}

void Trace::writesize(std::size_t frontiersize)
{
    out_ << (stackmethod(scoring_.method) ? "  pilha=" : "  fronteira=") << frontiersize;
}

void Trace::started(std::int32_t iteration, std::int64_t bound, std::uint32_t /*first*/,
                    std::size_t /*firsts*/)
{
    if (limit_ == 0 || !tracing() || iteration == 0)
        return;
    writeheading();
    out_ << "Iteracao " << iteration << ": limite "
         << (scoring_.method == search_method::idastar ? "f <= " : "") << bound << '\n';
}

void Trace::taken(std::uint32_t /*node*/, const PegSets& sets, std::int32_t depth,
                  std::size_t frontiersize)
{
    ++count_;
    writeheading();
    // count_ - 1, not limit_ + 1: the largest limit has no successor.
    if (limit_ > 0 && count_ - 1 == limit_)
        out_ << "Rastro interrompido apos " << limit_ << " estados; a busca continua." << std::endl;
    if (!tracing())
        return;
    out_ << '#' << count_ << "  ";
    writepegs(out_, sets, scoring_.problem.pieces);
    writefigures(depth, scoring_(sets, depth));
    writesize(frontiersize);
    out_ << (sets == scoring_.problem.goal ? "  objetivo" : "") << '\n';
}

void Trace::dropped(std::uint32_t /*node*/, const PegSets& sets, std::int32_t depth,
                    std::size_t frontiersize)
{
    if (!tracing())
        return;
    out_ << "--  ";
    writepegs(out_, sets, scoring_.problem.pieces);
    writefigures(depth, scoring_(sets, depth));
    writesize(frontiersize);
    out_ << "  descartado\n";
}

void Trace::pushed(std::uint32_t /*node*/, std::uint32_t /*parent*/, const PegMove& move,
                   const PegSets& sets, std::int32_t depth, std::int32_t score)
{
    if (!tracing())
        return;
    out_ << "    " << move.from << "->" << move.to << "  ";
    writepegs(out_, sets, scoring_.problem.pieces);
    writefigures(depth, score);
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
    switch (run.status) {
    case SearchStatus::solved:
        return run.moves == run.optimal ? "otima" : "subotima";
    case SearchStatus::outofmemory:
        return "memoria esgotada";
    case SearchStatus::noroom:
        return "nao comecou";
    case SearchStatus::stopped:
    case SearchStatus::cancelled:
        return "interrompida";
    case SearchStatus::cutoff:
        return "corte";
    case SearchStatus::failed:
        return "falha";
    case SearchStatus::exhausted:
    case SearchStatus::pathlost:
        break;
    }
    return "sem solucao";
}

void writestatistics(std::ostream& out, const RunSummary& run)
{
    out << "Estatisticas da busca\n";
    out << "Estados examinados: " << run.examined << '\n';
    out << "Estados gerados (com o inicial): " << run.generated << '\n';
    if (run.graph)
        out << "Estados descartados (posicao ja examinada): " << run.dropped << '\n';
    out << "Maior fronteira: " << run.largestfrontier << " estados\n";
    if (run.iterations > 0) {
        out << "Iteracoes: " << run.iterations << '\n';
        out << (run.method == search_method::idastar ? "Ultimo limite de f: "
                                                     : "Ultimo limite de profundidade: ")
            << run.bound << '\n';
    } else if (run.bound != nobound) {
        out << "Limite de profundidade: " << run.bound << '\n';
    }
    if (run.method == search_method::weighted)
        out << "Peso (W): " << weighttext(run.weight) << '\n';
    if (run.status == SearchStatus::solved) {
        out << "Tamanho da solucao: " << run.moves << " movimentos (" << outcomename(run) << ")\n";
        out << "Profundidade da solucao: " << run.depth << '\n';
        out << "Fator de ramificacao efetivo (b*): "
            << decimal(effectivebranching(run.generated, run.depth), 4) << '\n';
        out << "Penetrancia (movimentos / examinados): " << significant(penetrance(run), 4) << '\n';
    } else if (run.status == SearchStatus::noroom) {
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

std::string weighttext(std::int32_t hundredths)
{
    std::string text = std::to_string(hundredths / 100);
    if (const std::int32_t cents = hundredths % 100; cents != 0)
        text += (cents % 10 == 0 ? "." + std::to_string(cents / 10)
                                 : (cents < 10 ? ".0" : ".") + std::to_string(cents));
    return text;
}

const std::array<CsvColumn, 20> csvcolumns{{
    {"metodo", true},           {"pecas", false},        {"resultado", true},
    {"movimentos", false},      {"examinados", false},   {"gerados", false},
    {"maior_fronteira", false}, {"profundidade", false}, {"ramificacao_efetiva", false},
    {"memoria_bytes", false},   {"tempo_s", false},      {"examinados_por_s", false},
    {"heuristica", true},       {"desempate", true},     {"grafo", true},
    {"descartados", false},     {"penetrancia", false},  {"limite", false},
    {"iteracoes", false},       {"peso", false},
}};

std::array<std::string, 20> csvfields(const RunSummary& run)
{
    const bool solved = run.status == SearchStatus::solved;
    return {
        std::string(namesof(run.method).label),
        std::to_string(run.pieces),
        std::string(outcomename(run)),
        solved ? std::to_string(run.moves) : "",
        std::to_string(run.examined),
        std::to_string(run.generated),
        std::to_string(run.largestfrontier),
        run.status != SearchStatus::noroom ? std::to_string(run.depth) : "",
        solved ? decimal(effectivebranching(run.generated, run.depth), 6) : "",
        std::to_string(run.memory),
        decimal(run.seconds, 6),
        persecond(run.examined, run.seconds),
        // Breadth-first search and the other uninformed methods use no estimate.
        namesof(run.method).estimates
            ? std::string(heuristicnames[static_cast<std::size_t>(run.estimate)])
            : "",
        std::string(tieordernames[static_cast<std::size_t>(run.ties)]),
        run.graph ? "sim" : "nao",
        std::to_string(run.dropped),
        solved ? significant(penetrance(run), 6) : "",
        run.bound != nobound ? std::to_string(run.bound) : "",
        run.iterations > 0 ? std::to_string(run.iterations) : "",
        run.method == search_method::weighted ? weighttext(run.weight) : "",
    };
}

void writecsvheader(std::ostream& out)
{
    const char* separator = "";
    for (const CsvColumn& column : csvcolumns) {
        out << separator << column.name;
        separator = ",";
    }
    out << std::endl;
}

void writecsvrow(std::ostream& out, const RunSummary& run)
{
    const char* separator = "";
    for (const std::string& field : csvfields(run)) {
        out << separator << field;
        separator = ",";
    }
    out << std::endl;
}
