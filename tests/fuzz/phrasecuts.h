#pragma once
// Every way a style cuts a phrase from a numbered table, for numbers around the table's range:
// a style's own phrase list is a subset of these, so a table that survives them survives it.
#include "mailercfg/stylephrases.h"

namespace tarvex::fuzz {

template <class Table>
void TakeEveryCut(const Table& lng, int first, int last)
{
    for (int n = first; n <= last; ++n)
        for (const TPhraseCut cut : {TPhraseCut::Phrase, TPhraseCut::Raw, TPhraseCut::FirstWord})
            (void)TakePhrase(lng, PhraseNo(n, cut));
}

}  // namespace tarvex::fuzz
