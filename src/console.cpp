#include "console.h"

#include <cerrno>
#include <charconv>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string_view>
#include <system_error>

#include "compare.h"
#include "heuristics.h"
#include "memory.h"
#include "messages.h"
#include "observe.h"
#include "options.h"
#include "output.h"
#include "replacefile.h"
#include "report.h"
#include "run.h"

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

// The answer to the prompt just written. The prompt's line is ended after
// the answer when `endline`, and always when the input ends or fails there,
// so that a message never follows a prompt on its line.
std::optional<std::string> readanswer(std::istream& in, std::ostream& out, bool endline)
{
    std::optional<std::string> word;
    try {
        word = readword(in);
    } catch (const std::system_error&) {
        out << std::endl;
        throw;
    }
    if (endline || !word)
        out << std::endl;
    return word;
}

// Asks until the answer is an integer from `low` to `high`; nothing when the
// input ends first.
template <class Int>
std::optional<Int> askinteger(std::istream& in, std::ostream& out, const std::string& prompt,
                              Int low, Int high)
{
    for (;;) {
        out << prompt << std::flush;
        const std::optional<std::string> word = readanswer(in, out, true);
        if (!word)
            return std::nullopt;
        if (const std::optional<Int> value = parseinteger<Int>(*word);
            value && *value >= low && *value <= high)
            return value;
    }
}

void explainwritefailure(std::ostream& err, std::string_view destination, int error)
{
    err << "hanoi: nao foi possivel escrever " << destination << ": " << errorreason(error)
        << std::endl;
}

std::string csvdestination(const std::string& name)
{
    return "o arquivo CSV " + quotedname(name);
}

// The header line that `write` writes.
std::string headerof(const std::function<void(std::ostream&)>& write)
{
    std::ostringstream header;
    write(header);
    return header.str();
}

// Opens the file of --csv=ARQUIVO to append rows under `header`, and checks
// that it holds rows of this kind. Returns the error number or refusal, or 0.
int opencsv(const std::string& name, std::string header, std::unique_ptr<RowFile>& file)
{
    int fd = -1;
    if (const int error = openforappend(name, fd))
        return error;
    file = std::make_unique<RowFile>(fd, std::move(header));
    return file->check();
}

// Appends what is left and closes the CSV file; a failure turns `status`
// into `outputfailed`, explained on `err`.
RunStatus finishcsv(RunStatus status, const std::string& name, RowFile& file, std::ostream& err)
{
    if (const int error = file.finish()) {
        explainwritefailure(err, csvdestination(name), error);
        return status == RunStatus::solved ? RunStatus::outputfailed : status;
    }
    return status;
}

// Writes the CSV rows that `rows` writes to standard output under `header`,
// or appends them to the file of --csv=ARQUIVO a row at a time (RowFile),
// which decides on the header itself.
template <class Rows>
RunStatus writecsv(const Options& options, const std::string& header, std::ostream& out,
                   std::ostream& err, Rows&& rows)
{
    if (options.csvfile.empty()) {
        out << header << std::flush;
        rows(out);
        return RunStatus::solved;
    }
    std::unique_ptr<RowFile> file;
    if (const int error = opencsv(options.csvfile, header, file)) {
        explainwritefailure(err, csvdestination(options.csvfile), error);
        return RunStatus::outputfailed;
    }
    std::ostream stream(file.get());
    rows(stream);
    return finishcsv(RunStatus::solved, options.csvfile, *file, err);
}

// Why the run may not write its report and its CSV file as asked: the
// report would replace the CSV file. 0 when it may.
int clashwithcsv(const Options& options, const Answers& answers)
{
    const bool reporttofile = answers.destination != ".";
    return reporttofile && samedestination(answers.destination, options.csvfile) ? sameasrows : 0;
}

// Explains a search that did not solve, or writes its report to the screen
// or the named file.
RunStatus report(const Answers& answers, const Problem& problem, const SearchResult& result,
                 std::ostream& out, std::ostream& err)
{
    if (result.status != SearchStatus::solved)
        return explainunsolved(result, err);
    if (answers.destination != ".") {
        // Before a report that may go through the same descriptor.
        out << std::flush;
        if (const int error = writereportfile(answers.destination, problem, answers.method,
                                              result.solution, result.examined)) {
            explainwritefailure(err, "o arquivo de saida " + quotedname(answers.destination),
                                error);
            return RunStatus::outputfailed;
        }
        return RunStatus::solved;
    }
    writereport(out, problem.optimal, result.solution, result.examined);
    return RunStatus::solved;
}

}  // namespace

RunStatus explainunsolved(const SearchResult& result, std::ostream& err)
{
    const std::string why = whyunsolved(result);
    if (!why.empty())
        err << why << std::endl;
    switch (result.status) {
    case SearchStatus::solved:
        return RunStatus::solved;
    case SearchStatus::noroom:
    case SearchStatus::outofmemory:
        return RunStatus::outofmemory;
    case SearchStatus::cancelled:
        // Only a failed write of the progress lines cancels a search: the run
        // ends there, and finishoutput tells why standard output failed.
        return RunStatus::outputfailed;
    case SearchStatus::pathlost:
    case SearchStatus::stopped:
    case SearchStatus::exhausted:
    case SearchStatus::cutoff:
    case SearchStatus::failed:
        break;
    }
    return RunStatus::internalfault;
}

void explaininputended(std::ostream& err)
{
    err << "hanoi: a entrada terminou antes do fim do dialogo" << std::endl;
}

void explainallocationfailure(std::ostream& err)
{
    err << "hanoi: memoria esgotada" << std::endl;
}

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
    std::optional<std::string> destination = readanswer(in, out, false);
    if (!destination)
        return std::nullopt;
    return Answers{*n, static_cast<search_method>(*method), std::move(*destination)};
}

void writeopening(std::ostream& out, const Problem& problem)
{
    out << problem.pieces << " pecas: Solucao otima " << problem.optimal << " movimentos."
        << std::endl;
    out << "Pensando... " << std::endl;
}

RunStatus run(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
              std::uint64_t memory)
{
    if (options.help) {
        writehelp(out);
        return RunStatus::solved;
    }
    if (options.version) {
        writeversion(out);
        return RunStatus::solved;
    }
    if (options.analyse > 0) {
        const std::vector<HeuristicAnalysis> analyses = analyseheuristics(options.analyse);
        if (!options.csv) {
            writeanalysis(out, analyses, false, false);
            return RunStatus::solved;
        }
        const std::string header =
            headerof([](std::ostream& csv) { writeanalysis(csv, {}, true, true); });
        return writecsv(options, header, out, err,
                        [&](std::ostream& csv) { writeanalysis(csv, analyses, true, false); });
    }
    if (options.compare) {
        if (!options.csv) {
            writecomparison(out, options, false, memory);
            return RunStatus::solved;
        }
        return writecsv(options, headerof(writecsvheader), out, err,
                        [&](std::ostream& csv) { writecomparison(csv, options, false, memory); });
    }
    std::optional<Answers> answers;
    try {
        answers = dialogue(in, out);
    } catch (const std::system_error& failure) {
        err << "hanoi: nao foi possivel ler a entrada padrao: "
            << errorreason(failure.code().value()) << std::endl;
        return RunStatus::inputended;
    }
    if (!answers) {
        explaininputended(err);
        return RunStatus::inputended;
    }
    const std::variant<RunChoice, std::string> chosen =
        chooserun(options, answers->pieces, answers->method);
    if (const std::string* reason = std::get_if<std::string>(&chosen)) {
        out << std::endl;  // the message does not follow the last prompt on its line
        explainbadoption(err, *reason);
        return RunStatus::badoptions;
    }
    const auto& [problem, setup] = std::get<RunChoice>(chosen);
    // The CSV file is opened and checked before the search, which may take
    // minutes.
    std::unique_ptr<RowFile> csvfile;
    const bool tofile = options.statistics && !options.csvfile.empty();
    if (tofile) {
        const int clash = clashwithcsv(options, *answers);
        const int error =
            clash != 0 ? clash : opencsv(options.csvfile, headerof(writecsvheader), csvfile);
        if (error != 0) {
            out << std::endl;  // the message does not follow the last prompt on its line
            explainwritefailure(err,
                                clash != 0
                                    ? "o arquivo de saida " + quotedname(answers->destination)
                                    : csvdestination(options.csvfile),
                                error);
            return RunStatus::outputfailed;
        }
    }
    writeopening(out, problem);
    ProgressLines progress(out);
    // Other runs may share the room: the budget follows it as the search grows.
    MemoryBudget budget(memory, readmemoryroom);
    const SearchLimits limits{memory, INT64_MAX, &budget};
    MeasuredRun measured = options.statistics || options.trace > 0
                               ? measuredrun(problem, setup, limits, out, options.trace)
                               : MeasuredRun{runsearch(problem, setup, limits, progress), {}};
    RunStatus status = report(*answers, problem, measured.result, out, err);
    if (tofile) {
        std::ostream csv(csvfile.get());
        writecsvrow(csv, measured.summary);
        return finishcsv(status, options.csvfile, *csvfile, err);
    }
    if (options.statistics) {
        if (options.csv) {
            writecsvheader(out);
            writecsvrow(out, measured.summary);
        } else {
            writestatistics(out, measured.summary);
        }
    }
    return status;
}

RunStatus finishoutput(RunStatus status, FileOutput& stdoutput, std::ostream& err)
{
    const int error = stdoutput.finish();
    if (error == 0)
        return status;
    explainwritefailure(err, "na saida padrao", error);
    return status == RunStatus::solved ? RunStatus::outputfailed : status;
}
