#include "options.h"

#include <getopt.h>

#include <charconv>
#include <optional>
#include <ostream>
#include <string_view>

#include "hanoi.h"
#include "messages.h"

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

// The option getopt refused, as the user wrote it. `word` is the argument
// getopt was reading when it refused it.
std::string refusedoption(std::string_view word)
{
    if (optopt == 0)
        return asgiven(word.substr(0, word.find('='))) + ": desconhecida ou ambigua";
    if (std::string_view("hVeC").find(static_cast<char>(optopt)) != std::string_view::npos)
        return asgiven(word) + ": esta opcao nao leva valor";
    return asgiven(std::string("-") + static_cast<char>(optopt)) + ": desconhecida";
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
        {"csv", no_argument, nullptr, 'C'},
        {nullptr, 0, nullptr, 0},
    };
    Options options;
    optind = 0;  // start afresh (GNU getopt)
    opterr = 0;  // the reasons are ours to give
    for (int c; (c = getopt_long(argc, argv, "hVer::c::", longoptions, nullptr)) != -1;) {
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
                return asgiven(argv[optind - 1]) + ": N deve ser um inteiro positivo";
            options.trace = *limit;
            break;
        }
        case 'c': {
            const std::optional<std::int64_t> largest =
                optarg ? boundednumber(optarg, 1, maxpieces) : 5;
            if (!largest)
                return asgiven(argv[optind - 1]) + ": M deve ser um inteiro de 1 a " +
                       std::to_string(maxpieces);
            options.compare = true;
            options.comparebreadth = static_cast<std::int16_t>(*largest);
            break;
        }
        case 'C':
            options.csv = true;
            break;
        default:
            return refusedoption(argv[optind - 1]);
        }
    }
    if (optind < argc)
        return asgiven(argv[optind]) + ": argumento inesperado; as respostas vem da entrada padrao";
    if (options.compare && (options.statistics || options.trace > 0))
        return "--comparar nao combina com --estatisticas nem com --rastro";
    if (options.csv && !options.compare && !options.statistics)
        return "--csv so vale com --comparar ou --estatisticas";
    return options;
}

void writehelp(std::ostream& out)
{
    out << R"(Uso: hanoi [opcoes]

Resolve a Torre de Hanoi (1 a 15 pecas) por busca em espaco de estados: A*,
busca em largura ou busca gulosa. Sem opcoes, pergunta na entrada padrao o
numero de pecas, o metodo e o destino da solucao ("." para a tela ou o nome
de um arquivo), busca e mostra os movimentos encontrados.

Opcoes:
  -e, --estatisticas    depois da busca, um bloco de estatisticas na saida
                        padrao: estados examinados e gerados, maior fronteira,
                        tamanho e profundidade da solucao, fator de ramificacao
                        efetivo, memoria no pico, tempo e estados por segundo
  -r[N], --rastro[=N]   mostra os N primeiros estados examinados (20 sem N):
                        os pinos, g, h, f, a fronteira e cada filho empilhado
  -c[M], --comparar[=M] sem dialogo: uma tabela com o A* e a busca gulosa de 1
                        a 15 pecas e a busca em largura de 1 a M pecas (5 sem
                        M; com 6 leva minutos e varios GB de memoria)
      --csv             a tabela ou as estatisticas em valores separados por
                        virgula, com uma linha de cabecalho
  -h, --help            mostra esta ajuda e termina
  -V, --version         mostra a versao e termina

Status de saida:
  0   solucao encontrada e relatorio escrito (ou a tabela, a ajuda, a versao)
  1   a saida nao pode ser escrita
  2   a entrada terminou antes das tres respostas
  3   a memoria acabou e a busca foi interrompida
  4   erro interno: a busca esgotou os estados ou perdeu o caminho da solucao
  64  opcao invalida

Exemplos:
  printf '3 0 .\n' | hanoi
  printf '2 0 .\n' | hanoi --rastro
  printf '10 0 .\n' | hanoi -e
  hanoi --comparar --csv > metodos.csv
)" << std::flush;
}

void writeversion(std::ostream& out)
{
    out << "hanoi " HANOI_VERSION << std::endl;
}
