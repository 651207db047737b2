// Feeds any bytes to the dialogue as its standard input. The dialogue must
// end (with answers or with the input used up), and answers it accepts must
// be in range.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "console.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    const std::optional<Answers> answers = dialogue(in, out, Options{});
    if (answers) {
        const int method = static_cast<int>(answers->method);
        if (answers->pieces < 1 || answers->pieces > maxpieces || method < 0 || method > 2 ||
            answers->destination.empty())
            __builtin_trap();
    }
    return 0;
}
