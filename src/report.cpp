#include "report.h"

#include <ostream>
#include <string_view>

#include "replacefile.h"

namespace {

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

}  // namespace

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

int writereportfile(const std::string& name, search_method method,
                    const std::vector<Step>& solution, std::int64_t examined)
{
    return replacefile(name, [&](std::ostream& out) {
        writeheading(out, method);
        writereport(out, solution, examined);
    });
}
