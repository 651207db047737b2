// The engine as the page's worker sees it: C functions over pagerun and
// pagetable (recorder.h), and the progress events posted to the page as they
// happen.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>
#include <string>

#include "recorder.h"

namespace {

// Posts a progress event to the page when running in a worker (the tests
// run the module under node, where there is no page to tell).
EM_JS(void, postprogress, (double examined, int depth), {
    if (typeof WorkerGlobalScope == 'function')
        postMessage({tipo : 'progresso', examinados : examined, profundidade : depth});
});

// Posts the recorded steps to the page before the search runs, so that a
// search the page stops keeps them. As text: the page reads it only if it
// stops the search, and a string costs its thread a copy, not the building
// of thousands of arrays beside the search being timed.
EM_JS(void, postrecorded, (const char* json), {
    if (typeof WorkerGlobalScope == 'function')
        postMessage({tipo : 'gravacao', texto : UTF8ToString(json)});
});

// A copy of `text` the caller frees with free().
char* handover(const std::string& text)
{
    char* const copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// Whatever number the caller sends (NaN, negative, huge) as a count from 0
// to `largest`.
std::int64_t sanecount(double number, double largest)
{
    return number >= 1 ? static_cast<std::int64_t>(std::min(number, largest)) : 0;
}

}  // namespace

extern "C" {

// `options`: option words separated by blanks; `answers`: the piece count
// and the method; `steps`: the states to record; `mebibytes`: the memory a
// search may hold (0: what the heap allows). Returns the JSON text of
// pagerun, to be freed by the caller; null if even that cannot be allocated.
EMSCRIPTEN_KEEPALIVE char* hanoi_buscar(const char* options, const char* answers, double steps,
                                        double mebibytes)
{
    try {
        PageRequest request{{},
                            answers,
                            sanecount(steps, 1e9),
                            static_cast<std::uint64_t>(sanecount(mebibytes, 1e6)) << 20};
        std::istringstream words(options);
        for (std::string word; words >> word;)
            request.options.push_back(word);
        return handover(pagerun(
            request,
            [](std::int64_t examined, std::int32_t depth) {
                postprogress(static_cast<double>(examined), depth);
            },
            [](const std::string& json) { postrecorded(json.c_str()); }));
    } catch (const std::bad_alloc&) {
        return nullptr;  // the worker says memory ran out
    }
}

// The names the page offers (pagetable), to be freed by the caller.
EMSCRIPTEN_KEEPALIVE char* hanoi_tabela()
{
    try {
        return handover(pagetable());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
}
