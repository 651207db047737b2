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

Engine enginefor(const SearchSetup& setup)
{
    if (!isclassic(setup))
        return Engine::general;
    return setup.method == search_method::breadth ? Engine::layered : Engine::classic;
}

HeldBytes heldby(const SearchSetup& setup)
{
    return enginefor(setup) == Engine::layered ? layeredheld() : searchheld(setup);
}

template <class Observer>
SearchResult searchwith(const SearchSetup& setup, const SearchLimits& limits, Observer& observer)
{
    switch (enginefor(setup)) {
    case Engine::layered:
        return searchlayered(limits, observer);
    case Engine::classic:
        return search(setup.method, limits, observer);
    case Engine::general:
        break;
    }
    return searchsetup(setup, limits, observer);
}

template SearchResult searchwith(const SearchSetup&, const SearchLimits&, NoObserver&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, ProgressLines&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, FunctionObserver&);
template SearchResult searchwith(const SearchSetup&, const SearchLimits&, Watch&);
