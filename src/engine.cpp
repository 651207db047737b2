#include "engine.h"

#include "layered.h"
#include "observe.h"
#include "search.h"

PegSets startof(const SearchSetup& setup)
{
    return setup.start ? *setup.start : towerof(1);
}

PegSets goalof(const SearchSetup& setup)
{
    return setup.goal ? *setup.goal : towerof(3);
}

Scoring scoringof(const SearchSetup& setup)
{
    return {setup.method, setup.estimate, goalof(setup)};
}

bool isclassic(const SearchSetup& setup)
{
    return (setup.estimate == heuristic::padrao || setup.method == search_method::breadth) &&
           setup.ties == tie_order::heap && !setup.graph && startof(setup) == towerof(1) &&
           goalof(setup) == towerof(3);
}

HeldBytes heldby(const SearchSetup& setup)
{
    if (isclassic(setup) && setup.method == search_method::breadth)
        return layeredheld();
    return searchheld(setup);
}

template <class Observer>
SearchResult searchwith(const SearchSetup& setup, const SearchLimits& limits, Observer& observer)
{
    if (!isclassic(setup))
        return searchsetup(setup, limits, observer);
    if (setup.method == search_method::breadth)
        return searchlayered(limits, observer);
    return search(setup.method, limits, observer);
}

template SearchResult searchwith(const SearchSetup&, const SearchLimits&, NoObserver&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, ProgressLines&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, FunctionObserver&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, Watch&);
