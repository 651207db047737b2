#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "messages.h"
#include "replacefile.h"

namespace {

TEST(Messages, ReasonsInPortuguese)
{
    struct Case {
        int error;
        std::string reason;
    };
    const Case cases[] = {
        {ENOENT, "arquivo ou pasta inexistente"},
        {EACCES, "permissao negada"},
        {EISDIR, "e uma pasta"},
        {ENOSPC, "nao ha espaco livre no disco"},
        {EFBIG, "arquivo grande demais"},
        {EDQUOT, "cota de disco excedida"},
        {EMFILE, "arquivos abertos demais"},
        {EPIPE, "o pipe foi fechado por quem o lia"},
        {ENXIO, "ninguem le o pipe ou o dispositivo nao existe"},
        {readsinput, "e a entrada padrao do programa"},
        {ENOMEM, std::strerror(ENOMEM)},  // a rare one: the system's own words
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorreason(c.error), c.reason) << c.error;
}

TEST(Messages, NamesAreQuotedSafeToPrint)
{
    struct Case {
        std::string name;
        std::string quoted;
    };
    const Case cases[] = {
        {"relatorio.txt", "\"relatorio.txt\""},
        {"pasta/meu \"x\"\\y", "\"pasta/meu \\\"x\\\"\\\\y\""},
        {"\033]0;titulo\a/x", "\"\\x1b]0;titulo\\x07/x\""},
        {std::string("a\0b\n\t\r\x7f", 7), "\"a\\x00b\\n\\t\\r\\x7f\""},
        {"solu\xc3\xa7\xc3\xa3o \xe2\x82\xac \xf0\x9f\x98\x80",
         "\"solu\xc3\xa7\xc3\xa3o \xe2\x82\xac \xf0\x9f\x98\x80\""},
        // C1 controls, raw or UTF-8 encoded; a stray continuation byte; an
        // overlong slash; a UTF-16 surrogate; a sequence cut short.
        {"\x9b"
         "2J \xc2\x9b",
         "\"\\x9b2J \\xc2\\x9b\""},
        {"\x80 \xc0\xaf \xed\xa0\x80 \xe2\x82", "\"\\x80 \\xc0\\xaf \\xed\\xa0\\x80 \\xe2\\x82\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quotedname(c.name), c.quoted);
}

}  // namespace
