#include "options.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <optional>
#include <ostream>
#include <string_view>

#include "hanoi.h"
#include "messages.h"
#include "puzzle.h"

#ifndef HANOI_VERSION
#error "HANOI_VERSION must be defined (the build takes it from the project's version)"
#endif

namespace {

// A whole decimal number from `low` to `high`, or nothing.
std::optional<std::int64_t> boundednumber(std::string_view text, std::int64_t low,
                                          std::int64_t high)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// What the user wrote, as names are quoted in messages: every byte a
// terminal would act on shown as an escape. `text` is a whole argument as
// written, or the option taken from one.
std::string asgiven(std::string_view text)
{
    return quotedname(text);
}

// The option just read with its value, as the user wrote them: one word, or
// the option and its value in two.
std::string givenoption(char* argv[])
{
    if (optarg == argv[optind - 1])
        return asgiven(argv[optind - 2]) + " " + asgiven(optarg);
    return asgiven(argv[optind - 1]);
}

// The value of the option just read, a whole number from `low` to `high`,
// into `value`; or why not, naming the value `letter` as the help does.
template <class Int>
std::string takenumber(char* argv[], char letter, std::int64_t low, std::int64_t high, Int& value)
{
    const std::optional<std::int64_t> number = boundednumber(optarg, low, high);
    if (!number)
        return givenoption(argv) + ": " + letter + " deve ser um inteiro de " +
               std::to_string(low) + " a " + std::to_string(high);
    value = static_cast<Int>(*number);
    return "";
}

// The option getopt refused, as the user wrote it. `word` is the argument
// getopt was reading when it refused it.
std::string refusedoption(std::string_view word)
{
    if (optopt == 0)
        return asgiven(word.substr(0, word.find('='))) + ": desconhecida ou ambigua";
    if (std::string_view("hVeG").find(static_cast<char>(optopt)) != std::string_view::npos)
        return asgiven(word) + ": esta opcao nao leva valor";
    if (optopt > UCHAR_MAX)
        return asgiven(word) + ": falta o valor";
    return asgiven(std::string("-") + static_cast<char>(optopt)) + ": desconhecida";
}

// The options that have no short form.
enum : int {
    csvoption = 'C',
    graphoption = 'G',
    heuristicoption = UCHAR_MAX + 1,
    tieoption,
    startoption,
    goaloption,
    analyseoption,
    methodoption,
    piecesoption,
    destinationoption,
    limitoption,
    weightoption,
};

// The entry of `names` that is `word`.
template <std::size_t count>
std::optional<std::size_t> indexof(const std::array<std::string_view, count>& names,
                                   std::string_view word)
{
    const auto found = std::find(names.begin(), names.end(), word);
    return found == names.end() ? std::nullopt
                                : std::optional(static_cast<std::size_t>(found - names.begin()));
}

// The names of `names` as a list to choose from: "a, b ou c".
template <std::size_t count>
std::string choices(const std::array<std::string_view, count>& names)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += std::string(i == 0 ? "" : i + 1 == count ? " ou " : ", ") + std::string(names[i]);
    return text;
}

// Heuristic names separated by commas, each once; or why not.
std::variant<std::vector<heuristic>, std::string> heuristiclist(std::string_view text,
                                                                const std::string& given)
{
    std::vector<heuristic> kinds;
    for (std::size_t from = 0;;) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::optional<std::size_t> index =
            indexof(heuristicnames, text.substr(from, comma - from));
        if (!index)
            return given + ": use " + choices(heuristicnames);
        const auto kind = static_cast<heuristic>(*index);
        if (std::find(kinds.begin(), kinds.end(), kind) != kinds.end())
            return given + ": " + std::string(heuristicnames[*index]) + " aparece duas vezes";
        kinds.push_back(kind);
        if (comma == text.size())
            return kinds;
        from = comma + 1;
    }
}

// The method named by `word`: its option word, or a dialogue code.
std::optional<search_method> methodnamed(std::string_view word)
{
    for (const MethodNames& names : methodtable)
        if (names.option == word ||
            (word.size() == 1 && word[0] - '0' == static_cast<int>(names.method) &&
             static_cast<int>(names.method) < dialoguemethods))
            return names.method;
    return std::nullopt;
}

// Method names or codes separated by commas, each once; or why not.
std::variant<std::vector<search_method>, std::string> methodlist(std::string_view text,
                                                                 const std::string& given)
{
    std::vector<search_method> methods;
    for (std::size_t from = 0;;) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::optional<search_method> method = methodnamed(text.substr(from, comma - from));
        if (!method) {
            std::string names;
            for (const MethodNames& n : methodtable)
                names += (names.empty()                         ? ""
                          : n.method == search_method::weighted ? " ou "
                                                                : ", ") +
                         std::string(n.option);
            std::string reason = given;
            reason += ": use 0, 1, 2 ou um nome: ";
            return reason += names;
        }
        if (std::find(methods.begin(), methods.end(), *method) != methods.end())
            return given + ": " + std::string(namesof(*method).option) + " aparece duas vezes";
        methods.push_back(*method);
        if (comma == text.size())
            return methods;
        from = comma + 1;
    }
}

// A weight of at most two decimal places from 0.01 to 100, in hundredths.
std::optional<std::int32_t> weightof(std::string_view text)
{
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view places = point == text.npos ? "" : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (whole.empty() || whole.size() > 3 || !digits(whole) || !digits(places) ||
        places.size() > 2 || (point != text.npos && places.empty()))
        return std::nullopt;
    std::int32_t hundredths = 0;
    for (const char c : whole)
        hundredths = 10 * hundredths + (c - '0');
    hundredths *= 100;
    if (!places.empty())
        hundredths += (places[0] - '0') * 10 + (places.size() > 1 ? places[1] - '0' : 0);
    if (hundredths < smallestweight || hundredths > largestweight)
        return std::nullopt;
    return hundredths;
}

// Whether some method of `methods` takes the option that `applies` says.
bool takes(const std::vector<search_method>& methods, bool MethodNames::*applies)
{
    return std::any_of(methods.begin(), methods.end(),
                       [&](search_method method) { return namesof(method).*applies; });
}

// How to give the value `word` to the option `previous` that takes it only
// attached, when `previous` is such an option written without a value;
// empty otherwise.
std::string attachedhint(std::string_view previous, std::string_view word)
{
    const bool number =
        !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos;
    const auto islong = [&](std::string_view name) {
        return previous.size() > 2 && previous.starts_with("--") &&
               name.starts_with(previous.substr(2));
    };
    const bool isshort = previous.size() >= 2 && previous[0] == '-' && previous[1] != '-';
    if (number && (islong("rastro") || (isshort && previous.back() == 'r')))
        return "use -r" + std::string(word) + " ou --rastro=" + std::string(word);
    if (number && (islong("comparar") || (isshort && previous.back() == 'c')))
        return "use -c" + std::string(word) + " ou --comparar=" + std::string(word);
    if (previous == "--csv")
        return "use " + asgiven("--csv=" + std::string(word));
    return "";
}

// The options that do not go together, or the record.
std::variant<Options, std::string> checkcombinations(const Options& options)
{
    const bool labrun = !options.heuristics.empty() || options.ties != tie_order::heap ||
                        options.graph || !options.start.empty() || !options.goal.empty();
    const bool answered = !options.methods.empty() || options.pieces > 0 || options.destination ||
                          options.depthlimit != nodepthlimit || options.weight != 0;
    if (options.analyse > 0 &&
        (options.compare || options.statistics || options.trace > 0 || labrun || answered))
        return "--analisar so combina com --csv";
    if (options.compare && (options.statistics || options.trace > 0))
        return "--comparar nao combina com --estatisticas nem com --rastro";
    if (options.compare && (!options.start.empty() || !options.goal.empty()))
        return "--comparar nao combina com --inicio nem com --objetivo (cada linha tem suas "
               "pecas)";
    if (options.compare && (options.pieces > 0 || options.destination))
        return "--comparar nao combina com --pecas nem com --saida (cada linha tem suas pecas)";
    if (options.heuristics.size() > 1 && !options.compare)
        return "--heuristica: varias heuristicas so com --comparar";
    if (options.methods.size() > 1 && !options.compare)
        return "--metodo: varios metodos so com --comparar";
    if (options.depthlimit != nodepthlimit && !takes(options.methods, &MethodNames::depthlimit))
        return "--limite so vale com --metodo=profundidade ou --metodo=aprofundamento";
    if (options.weight != 0 && !takes(options.methods, &MethodNames::weight))
        return "--peso so vale com --metodo=ponderado";
    if (!options.compare && options.methods == std::vector{search_method::depthfirst} &&
        !options.graph && options.depthlimit == nodepthlimit)
        return "--metodo=profundidade: em arvore a busca em profundidade nunca termina neste "
               "problema (um caminho pode dar voltas para sempre); use --limite=L ou --grafo";
    if (options.csv && !options.compare && !options.statistics && options.analyse == 0)
        return "--csv so vale com --comparar, --estatisticas ou --analisar";
    return options;
}

}  // namespace

std::variant<Options, std::string> parseoptions(int argc, char* argv[])
{
    static const option longoptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {"estatisticas", no_argument, nullptr, 'e'},
        {"rastro", optional_argument, nullptr, 'r'},
        {"comparar", optional_argument, nullptr, 'c'},
        {"csv", optional_argument, nullptr, csvoption},
        {"heuristica", required_argument, nullptr, heuristicoption},
        {"desempate", required_argument, nullptr, tieoption},
        {"grafo", no_argument, nullptr, graphoption},
        {"inicio", required_argument, nullptr, startoption},
        {"objetivo", required_argument, nullptr, goaloption},
        {"analisar", required_argument, nullptr, analyseoption},
        {"metodo", required_argument, nullptr, methodoption},
        {"pecas", required_argument, nullptr, piecesoption},
        {"saida", required_argument, nullptr, destinationoption},
        {"limite", required_argument, nullptr, limitoption},
        {"peso", required_argument, nullptr, weightoption},
        {nullptr, 0, nullptr, 0},
    };
    Options options;
    optind = 0;  // start afresh (GNU getopt)
    opterr = 0;  // the reasons are ours to give
    // "+": stop at the first word that is not an option, so that the option
    // before it is still known (to say how its value should be written).
    for (int c; (c = getopt_long(argc, argv, "+hVer::c::", longoptions, nullptr)) != -1;) {
        switch (c) {
        case 'h':
            options.help = true;
            break;
        case 'V':
            options.version = true;
            break;
        case 'e':
            options.statistics = true;
            break;
        case 'r': {
            const std::optional<std::int64_t> limit =
                optarg ? boundednumber(optarg, 1, INT64_MAX) : defaulttrace;
            if (!limit)
                return givenoption(argv) + ": N deve ser um inteiro positivo";
            options.trace = *limit;
            break;
        }
        case 'c': {
            const std::optional<std::int64_t> largest =
                optarg ? boundednumber(optarg, 1, largestcomparebreadth) : 5;
            if (!largest)
                return givenoption(argv) + ": M deve ser um inteiro de 1 a " +
                       std::to_string(largestcomparebreadth);
            options.compare = true;
            options.comparebreadth = static_cast<std::int16_t>(*largest);
            break;
        }
        case csvoption:
            if (optarg && *optarg == '\0')
                return givenoption(argv) + ": falta o nome do arquivo";
            options.csv = true;
            options.csvfile = optarg ? optarg : "";
            break;
        case heuristicoption: {
            auto kinds = heuristiclist(optarg, givenoption(argv));
            if (const std::string* reason = std::get_if<std::string>(&kinds))
                return *reason;
            options.heuristics = std::get<std::vector<heuristic>>(std::move(kinds));
            break;
        }
        case tieoption: {
            const std::optional<std::size_t> index = indexof(tieordernames, optarg);
            if (!index)
                return givenoption(argv) + ": use " + choices(tieordernames);
            options.ties = static_cast<tie_order>(*index);
            break;
        }
        case graphoption:
            options.graph = true;
            break;
        case startoption:
        case goaloption: {
            if (std::string_view(optarg).empty() || !parseposition(optarg))
                return givenoption(argv) +
                       ": POS tem um digito de 1 a 3 (o pino) por peca, da maior para a menor";
            (c == startoption ? options.start : options.goal) = optarg;
            break;
        }
        case analyseoption:
            if (std::string reason = takenumber(argv, 'N', 1, largestanalysis, options.analyse);
                !reason.empty())
                return reason;
            break;
        case methodoption: {
            auto methods = methodlist(optarg, givenoption(argv));
            if (const std::string* reason = std::get_if<std::string>(&methods))
                return *reason;
            options.methods = std::get<std::vector<search_method>>(std::move(methods));
            break;
        }
        case piecesoption:
            if (std::string reason = takenumber(argv, 'N', 1, maxpieces, options.pieces);
                !reason.empty())
                return reason;
            break;
        case destinationoption:
            if (*optarg == '\0')
                return givenoption(argv) + ": falta o nome do arquivo (\".\" para a tela)";
            options.destination = optarg;
            break;
        case limitoption:
            if (std::string reason =
                    takenumber(argv, 'L', 0, largestdepthlimit, options.depthlimit);
                !reason.empty())
                return reason;
            break;
        case weightoption: {
            const std::optional<std::int32_t> weight = weightof(optarg);
            if (!weight)
                return givenoption(argv) +
                       ": W deve ser um decimal de 0.01 a 100, com no maximo duas casas";
            options.weight = *weight;
            break;
        }
        default:
            return refusedoption(argv[optind - 1]);
        }
    }
    if (optind < argc) {
        const std::string hint = attachedhint(argv[optind - 1], argv[optind]);
        return asgiven(argv[optind]) + ": argumento inesperado; " +
               (hint.empty() ? "as respostas vem da entrada padrao" : hint);
    }
    return checkcombinations(options);
}

void writehelp(std::ostream& out)
{
    out << R"(Uso: hanoi [opcoes]

Resolve a Torre de Hanoi (1 a 15 pecas) por busca em espaco de estados: A*,
busca em largura ou busca gulosa. Sem opcoes, pergunta na entrada padrao o
numero de pecas, o metodo (0 A*, 1 busca em largura, 2 busca gulosa) e o
destino da solucao ("." para a tela ou o nome de um arquivo), busca e mostra
os movimentos encontrados.

Respostas por opcao (a pergunta respondida nao e feita):
      --pecas=N         o numero de pecas (1 a 15)
      --metodo=M        o metodo: 0, 1, 2 ou um nome: astar, largura, guloso,
                        profundidade (pilha; em arvore so com --limite ou
                        --grafo, pois nunca termina), aprofundamento
                        (aprofundamento iterativo: limites 0, 1, 2, ...), ida
                        (IDA*: limites em f = g + h), bidirecional (duas
                        buscas em largura, do inicio e do objetivo, sempre em
                        grafo) ou ponderado (A* com f = g + W h); com
                        --comparar, nomes separados por virgula. A busca de
                        custo uniforme e o A* com --heuristica=zero
      --saida=ARQ       o destino da solucao ("." para a tela)
      --limite=L        o limite de profundidade (0 a 1000000) de profundidade
                        e o maior limite de aprofundamento
      --peso=W          o peso W de ponderado: um decimal de 0.01 a 100 com
                        ate duas casas (2 sem esta opcao)

Opcoes:
  -e, --estatisticas    depois da busca, um bloco de estatisticas na saida
                        padrao: estados examinados, gerados e descartados,
                        maior fronteira, tamanho e profundidade da solucao,
                        fator de ramificacao efetivo, penetrancia, memoria no
                        pico, tempo de CPU e estados por segundo
  -r[N], --rastro[=N]   mostra os N primeiros estados examinados (20 sem N):
                        os pinos, g, h, f, a fronteira e cada filho empilhado;
                        o valor vem colado: -r5 ou --rastro=5
  -c[M], --comparar[=M] sem dialogo: uma tabela com o A* e a busca gulosa de 1
                        a 15 pecas e a busca em largura de 1 a M pecas (5 sem
                        M, no maximo 6; com 6 leva minutos e varios GB)
      --csv[=ARQUIVO]   a tabela, as estatisticas ou a analise em valores
                        separados por virgula, com uma linha de cabecalho; com
                        ARQUIVO, so o CSV, acrescentado ao fim do arquivo (o
                        cabecalho so quando o arquivo e novo ou vazio)

Laboratorio (combinam com -e, -r, --csv e, menos --inicio e --objetivo, com
--comparar, que os aplica a cada linha):
      --heuristica=NOME a estimativa h do A* e da busca gulosa: padrao (a do
                        programa, so para o objetivo no pino 3), zero (h = 0),
                        fora (as pecas fora do pino do objetivo) ou exata (os
                        movimentos que de fato faltam); com --comparar, varios
                        nomes separados por virgula, uma serie para cada um
                        (zero e fora ate M pecas; uma linha que nao e uma
                        busca classica para em 5 milhoes de estados
                        examinados e diz interrompida)
      --desempate=ORDEM a ordem entre estados de mesmo f: heap (a regra do
                        heap da fronteira, o padrao), fila (o primeiro
                        empilhado sai antes) ou pilha (o ultimo sai antes)
      --grafo           busca em grafo: cada posicao e examinada uma vez so;
                        um estado cuja posicao ja foi examinada e descartado
      --inicio=POS      a posicao inicial (todas as pecas no pino 1 sem esta
                        opcao): um digito por peca, o pino (1 a 3), da maior
                        para a menor; --inicio=3131 poe a maior no pino 3, a
                        seguinte no 1, e assim por diante
      --objetivo=POS    a posicao final, do mesmo modo (todas no pino 3 sem
                        esta opcao)
      --analisar=N      sem dialogo: para cada heuristica, nas 3^N posicoes
                        (N de 1 a 12) com o objetivo no pino 3, quantas ela
                        superestima, o maior excesso e os movimentos em que
                        ela cai mais de 1 (inconsistente)
  -h, --help            mostra esta ajuda e termina
  -V, --version         mostra a versao e termina

Status de saida:
  0   solucao encontrada e relatorio escrito por inteiro (ou a tabela, a
      analise, a ajuda, a versao; a tabela mesmo com "memoria esgotada")
  1   a saida nao pode ser escrita: o arquivo do relatorio ou do CSV, ou a
      saida padrao (disco cheio, limite de tamanho, descritor fechado)
  2   a entrada terminou, ou nao pode ser lida, antes das tres respostas
  3   a memoria acabou: a busca parou antes do fim, ou nem pode comecar
  4   erro interno: a busca esgotou os estados ou perdeu o caminho da solucao
  5   nenhuma solucao dentro dos limites: a busca com limite (--limite, as
      iteracoes) terminou sem o objetivo: corte (havia estados alem do
      limite) ou falha (nao havia)
  64  opcao, valor ou argumento invalido: nada foi buscado

Exemplos:
  printf '3 0 .\n' | hanoi
  printf '2 0 .\n' | hanoi --rastro
  printf '10 0 .\n' | hanoi -e
  printf '4 0 .\n' | hanoi --heuristica=fora --grafo -e
  printf '3 1 .\n' | hanoi --inicio=312 --objetivo=123 --desempate=fila
  hanoi --pecas=5 --metodo=ida --saida=. --heuristica=fora -e
  printf '5 .\n' | hanoi --metodo=aprofundamento -e
  hanoi --comparar --metodo=aprofundamento,ida,bidirecional --grafo
  hanoi --comparar --heuristica=padrao,fora,exata
  hanoi --analisar=10
  hanoi --comparar --csv > metodos.csv
)" << std::flush;
}

void writeversion(std::ostream& out)
{
    out << "hanoi " HANOI_VERSION << std::endl;
}

void explainbadoption(std::ostream& err, const std::string& reason)
{
    err << "hanoi: opcao invalida: " << reason << " (veja hanoi --help)" << std::endl;
}
