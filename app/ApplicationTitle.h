#pragma once

#include <QString>

// The program's title, shown as the caption of the failure message box: the executable's file
// name without its folder, cut at its first dot, every letter after the first lowered.
QString ApplicationTitleFromPath(const QString& executablePath);

// The title of the running program.
QString ApplicationTitle();
