#include "messages.h"

#include <cerrno>
#include <cstring>

#include "replacefile.h"

namespace {

// The code point of the UTF-8 sequence at the start of `text` and its
// length; length 0 when the bytes there are not valid UTF-8.
struct Decoded {
    char32_t point;
    std::size_t length;
};

Decoded decodeutf8(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (length == 0 || lead > 0xf4 || text.size() < length)
        return {0, 0};
    char32_t point = lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xc0) != 0x80)
            return {0, 0};
        point = point << 6 | (next & 0x3f);
    }
    constexpr char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < shortest[length] || point > 0x10ffff || (point >= 0xd800 && point <= 0xdfff))
        return {0, 0};
    return {point, length};
}

constexpr char hexdigits[] = "0123456789abcdef";

void appendescape(std::string& quoted, unsigned char byte)
{
    switch (byte) {
    case '\n':
        quoted += "\\n";
        return;
    case '\t':
        quoted += "\\t";
        return;
    case '\r':
        quoted += "\\r";
        return;
    default:
        quoted += "\\x";
        quoted += hexdigits[byte >> 4];
        quoted += hexdigits[byte & 0xf];
    }
}

}  // namespace

std::string errorreason(int error)
{
    switch (error) {
    case ENOENT:
        return "arquivo ou pasta inexistente";
    case EACCES:
        return "permissao negada";
    case EPERM:
        return "operacao nao permitida";
    case EISDIR:
        return "e uma pasta";
    case ENOTDIR:
        return "nao e uma pasta";
    case ENOSPC:
        return "nao ha espaco livre no disco";
    case EFBIG:
        return "arquivo grande demais";
    case ENAMETOOLONG:
        return "nome longo demais";
    case EROFS:
        return "sistema de arquivos somente para leitura";
    case ELOOP:
        return "links simbolicos demais";
    case EMLINK:
        return "links demais";
    case ETXTBSY:
        return "arquivo de programa em uso";
    case EBADF:
        return "descritor de arquivo invalido";
    case EIO:
        return "erro de entrada e saida";
    case EDQUOT:
        return "cota de disco excedida";
    case EINVAL:
        return "argumento invalido";
    case EMFILE:
        return "arquivos abertos demais";
    case ENFILE:
        return "arquivos abertos demais no sistema";
    case EPIPE:
        return "o pipe foi fechado por quem o lia";
    case ENXIO:
        return "ninguem le o pipe ou o dispositivo nao existe";
    case EBUSY:
        return "recurso ocupado";
    case EAGAIN:
        return "recurso temporariamente indisponivel";
    case ESTALE:
        return "arquivo remoto invalido";
    case untrustedlink:
        return "link simbolico de outro usuario numa pasta compartilhada; o programa nao o segue";
    case readsinput:
        return "e a entrada padrao do programa";
    case notempname:
        return "nenhum nome livre para o arquivo temporario";
    case otherheader:
        return "o arquivo tem outras colunas; use um arquivo novo";
    case sameasrows:
        return "e o mesmo arquivo de --csv; use outro nome";
    }
    return std::strerror(error);
}

std::string quotedname(std::string_view name)
{
    std::string quoted = "\"";
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
            quoted += name[i++];
        } else if (byte >= 0x20 && byte < 0x7f) {
            quoted += name[i++];
        } else if (const Decoded c = decodeutf8(name.substr(i));
                   c.length > 0 && !(c.point >= 0x80 && c.point <= 0x9f)) {
            quoted += name.substr(i, c.length);
            i += c.length;
        } else {
            appendescape(quoted, byte);
            ++i;
        }
    }
    return quoted + '"';
}
