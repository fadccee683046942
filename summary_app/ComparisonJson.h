#pragma once

#include "compare/Comparison.h"
#include "compare/GroupFigures.h"

#include <QByteArray>

// The comparison's figures for scripts, written as the groups' JSON is (UTF-8, numbers at full
// precision, null where undefined): {"stages": [...], "transitions": [[...]], "change": {...},
// "tests": [...], "risk": [...]}. Each stage: label, files, assessed, ambiguous, levels, balance.
// The tests: the signed-rank test of the change of ИФИ and the sign test of the level's direction,
// between the first and the last stage. Stages and figures are the hand-over's shown comparison. The risk: those whose level got worse (name, or code when
// the hand-over is without names; group "first → last"; from and level; ifi).
QByteArray ComparisonJson(const ComparisonHandOver& handOver, const GroupFigures& figures);
