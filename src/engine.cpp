#include "engine.h"

#include "layered.h"
#include "observe.h"
#include "search.h"

template <class Observer>
SearchResult searchwith(const SearchSetup& setup, const SearchLimits& limits, Observer& observer)
{
    if (setup.method == search_method::breadth)
        return searchlayered(limits, observer);
    return search(setup.method, limits, observer);
}

template SearchResult searchwith(const SearchSetup&, const SearchLimits&, NoObserver&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, ProgressLines&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, FunctionObserver&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, Watch&);
