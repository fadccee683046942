#pragma once

#include "compare/Comparison.h"

// Builds the persons of `comparison` from its stages' rows: full name and sex make a person
// (core/PersonIdentity.h). Never guesses: several files of one person in a stage make that stage
// ambiguous for the person, and a file without a readable name is an entry of its own. Persons
// are ordered by normalised name, then sex; unmatched files follow in stage and file order.
void MatchPersons(Comparison& comparison);
