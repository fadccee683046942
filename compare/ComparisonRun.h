#pragma once

#include "compare/Comparison.h"
#include "core/EditRules.h"

#include <atomic>
#include <functional>

// Files assessed so far of all found in every stage; called from the working thread.
using ComparisonProgress = std::function<void(qsizetype done, qsizetype total)>;

// Reads every stage (in the order given; see OrderStages) as the summary reads a group, notes
// what looks wrong about the stages themselves (a path given in two stages, a stage's folder
// inside another's, a stage without record files), and matches the persons. Touches no widget, so a
// window runs it on a working thread, with the separators read on the GUI thread; it stops early,
// marked cancelled, once `cancel` is true.
Comparison RunComparison(const QList<StageInput>& stages, Separators separators,
                         const std::atomic<bool>* cancel = nullptr,
                         const ComparisonProgress& progress = {});
// The same for stages as ArrangeStages left them; the comparison keeps how they were ordered.
Comparison RunComparison(const ArrangedStages& stages, Separators separators,
                         const std::atomic<bool>* cancel = nullptr, const ComparisonProgress& progress = {});
