#include "report.h"

#include <ostream>
#include <string_view>

#include "replacefile.h"

void writereport(std::ostream& out, std::int32_t optimal, const std::vector<Step>& solution,
                 std::int64_t examined)
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

void writeheading(std::ostream& out, int pieces, search_method method)
{
    out << pieces << " pecas com o metodo " << namesof(method).heading << std::endl;
}

int writereportfile(const std::string& name, const Problem& problem, search_method method,
                    const std::vector<Step>& solution, std::int64_t examined)
{
    return replacefile(name, [&](std::ostream& out) {
        writeheading(out, problem.pieces, method);
        writereport(out, problem.optimal, solution, examined);
    });
}
