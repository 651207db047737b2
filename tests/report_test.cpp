#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fixtures.h"
#include "report.h"

namespace {

TEST(Report, HeadingAndBodyForEachMethod)
{
    struct Case {
        int n;
        search_method method;
        int length;
        std::string text;
    };
    const Case cases[] = {
        {1, search_method::astar, 1,
         "1 pecas com o metodo A*.\nEncontrada solucao otima (1 movimentos):\n2->3\n"
         "Total de nos examinados (incluindo o final): 12\n"},
        {2, search_method::breadth, 1,
         "2 pecas com o metodo de Busca em Largura.\nEncontrada solucao subotima (1 movimentos):\n"
         "2->3\nTotal de nos examinados (incluindo o final): 12\n"},
        {2, search_method::greedy, 4,
         "2 pecas com o metodo Guloso.\nEncontrada solucao subotima (4 movimentos):\n"
         "2->3\n2->3\n2->3\n2->3\nTotal de nos examinados (incluindo o final): 12\n"},
    };
    for (const Case& c : cases) {
        const std::vector<Step> solution(static_cast<std::size_t>(c.length), Step{2, 3});
        std::ostringstream out;
        writeheading(out, c.n, c.method);
        writereport(out, optimalmoves(c.n), solution, 12);
        EXPECT_EQ(out.str(), c.text);
    }
}

}  // namespace
