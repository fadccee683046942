#pragma once

#include "compare/Comparison.h"

// The name as persons are matched by it: no case, no leading, trailing or repeated blanks,
// "ё" read as "е".
QString NormalisedName(const QString& name);

// Builds the persons of `comparison` from its stages' rows: full name (normalised) and sex
// together make a person. Never guesses: several files of one person in a stage make that stage
// ambiguous for the person, and a file without a readable name is an entry of its own. Persons
// are ordered by normalised name, then sex; unmatched files follow in stage and file order.
void MatchPersons(Comparison& comparison);
