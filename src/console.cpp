#include "console.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <istream>
#include <ostream>
#include <string_view>
#include <system_error>

#include "output.h"
#include "puzzle.h"
#include "search.h"

namespace {

// No answer this program takes is longer than a path may be.
constexpr std::size_t maxword = 4096;

// The characters that separate words, as in the classic locale.
bool isseparator(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The next whitespace-delimited word, as `in >> word` reads it, but never
// holding more than `maxword` characters of it: a longer word is read to its
// end and comes back as exactly maxword + 1 characters, so that it can still
// be refused. Nothing when the input has no word left.
std::optional<std::string> readword(std::istream& in)
{
    std::streambuf* buf = in.rdbuf();
    using traits = std::char_traits<char>;
    int c = buf->sgetc();
    while (!traits::eq_int_type(c, traits::eof()) && isseparator(c))
        c = buf->snextc();
    std::string word;
    while (!traits::eq_int_type(c, traits::eof()) && !isseparator(c)) {
        if (word.size() <= maxword)
            word.push_back(traits::to_char_type(c));
        c = buf->snextc();
    }
    if (word.empty()) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return std::nullopt;
    }
    return word;
}

// A whole token of optional sign and decimal digits that fits in Int.
template <class Int>
std::optional<Int> parseinteger(std::string_view token)
{
    if (token.starts_with('+'))
        token.remove_prefix(1);
    const std::size_t digits = token.starts_with('-') ? 1 : 0;
    if (token.size() == digits || token.find_first_not_of("0123456789", digits) != token.npos)
        return std::nullopt;
    Int value{};
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc{} || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

// Asks until the answer is an integer from `low` to `high`; nothing when the
// input ends first.
template <class Int>
std::optional<Int> askinteger(std::istream& in, std::ostream& out, const std::string& prompt,
                              Int low, Int high)
{
    for (;;) {
        out << prompt << std::flush;
        const std::optional<std::string> word = readword(in);
        out << std::endl;
        if (!word)
            return std::nullopt;
        if (const std::optional<Int> value = parseinteger<Int>(*word);
            value && *value >= low && *value <= high)
            return value;
    }
}

std::string_view methodlabel(search_method method)
{
    switch (method) {
    case search_method::astar:
        return "A*.";
    case search_method::breadth:
        return "de Busca em Largura.";
    case search_method::greedy:
        return "Guloso.";
    }
    return "";
}

void explainwritefailure(std::ostream& err, std::string_view destination, int error)
{
    err << "hanoi: nao foi possivel escrever " << destination << ": " << std::strerror(error)
        << std::endl;
}

// Creates (mode 0664 before the umask) or truncates the named file and writes
// the heading and the report into it; the error number of the first failure,
// or 0.
int writereportfile(const std::string& name, search_method method, SearchResult& result)
{
    if (name.size() > maxword)
        return ENAMETOOLONG;
    if (name.find('\0') != name.npos)
        return EINVAL;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0664);
    if (fd < 0)
        return errno;
    FileOutput file(fd, true);
    std::ostream out(&file);
    writeheading(out, method);
    writereport(out, result.solution, result.examined);
    return file.finish();
}

}  // namespace

std::optional<Answers> dialogue(std::istream& in, std::ostream& out)
{
    const std::string piecesprompt =
        "Escolha o numero de pecas (1-" + std::to_string(maxpieces) + "): ";
    const std::optional<std::int16_t> n =
        askinteger<std::int16_t>(in, out, piecesprompt, 1, maxpieces);
    if (!n)
        return std::nullopt;
    const std::optional<std::int32_t> method = askinteger<std::int32_t>(
        in, out, "Escolha o metodo (0 - A*, 1 - Largura, 2 - Guloso): ", 0, 2);
    if (!method)
        return std::nullopt;
    out << "Digite o nome do arquivo de saida" << std::endl;
    out << "Digite \".\" e aperte <ENTER> para ter a saida na tela (nao recomendado" << std::endl;
    out << "para 5 ou mais pecas)." << std::endl;
    out << ":" << std::flush;
    std::optional<std::string> destination = readword(in);
    if (!destination)
        return std::nullopt;
    return Answers{*n, static_cast<search_method>(*method), std::move(*destination)};
}

void writeopening(std::ostream& out)
{
    out << pieces << " pecas: Solucao otima " << optimal << " movimentos." << std::endl;
    out << "Pensando... " << std::endl;
}

void writereport(std::ostream& out, const std::vector<Step>& solution, std::int64_t examined)
{
    const auto length = static_cast<std::int64_t>(solution.size());
    out << (length == optimal ? "Encontrada solucao otima" : "Encontrada solucao subotima");
    out << " (" << length << " movimentos):" << std::endl;
    // The moves go out in large chunks, one stream write for thousands of
    // lines, and are flushed together with the report's last line.
    constexpr std::size_t linebytes = 5;
    char chunk[4096 * linebytes];
    std::size_t used = 0;
    for (const Step& step : solution) {
        char* const line = chunk + used;
        line[0] = static_cast<char>('0' + step.from);
        line[1] = '-';
        line[2] = '>';
        line[3] = static_cast<char>('0' + step.to);
        line[4] = '\n';
        used += linebytes;
        if (used == sizeof chunk) {
            out.write(chunk, static_cast<std::streamsize>(used));
            used = 0;
        }
    }
    out.write(chunk, static_cast<std::streamsize>(used));
    out << "Total de nos examinados (incluindo o final): " << examined << std::endl;
}

void writeheading(std::ostream& out, search_method method)
{
    out << pieces << " pecas com o metodo " << methodlabel(method) << std::endl;
}

RunStatus run(std::istream& in, std::ostream& out, std::ostream& err, std::uint64_t memory)
{
    const std::optional<Answers> answers = dialogue(in, out);
    if (!answers) {
        err << "hanoi: a entrada terminou antes do fim do dialogo" << std::endl;
        return RunStatus::inputended;
    }
    pieces = answers->pieces;
    optimal = optimalmoves(pieces);
    writeopening(out);
    SearchResult result = search(answers->method, out, {memory});
    if (result.status == SearchStatus::outofmemory) {
        err << "hanoi: memoria esgotada (" << (result.memory >> 20)
            << " MiB em uso): busca interrompida com " << result.examined
            << " nos examinados, profundidade " << result.depth << std::endl;
        return RunStatus::outofmemory;
    }
    if (result.status != SearchStatus::solved) {
        err << "hanoi: a busca esgotou os estados sem achar a solucao" << std::endl;
        return RunStatus::exhausted;
    }
    if (answers->destination != ".") {
        if (const int error = writereportfile(answers->destination, answers->method, result)) {
            explainwritefailure(err, "o arquivo de saida \"" + answers->destination + "\"", error);
            return RunStatus::outputfailed;
        }
        return RunStatus::solved;
    }
    writereport(out, result.solution, result.examined);
    return RunStatus::solved;
}

RunStatus finishoutput(RunStatus status, FileOutput& stdoutput, std::ostream& err)
{
    const int error = stdoutput.finish();
    if (error == 0)
        return status;
    explainwritefailure(err, "na saida padrao", error);
    return status == RunStatus::solved ? RunStatus::outputfailed : status;
}
