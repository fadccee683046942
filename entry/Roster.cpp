#include "entry/Roster.h"

Roster ParseRosterCsv(const QByteArray&) { return {}; }
Roster ReadRosterCsv(const QString&) { return {}; }
Roster RosterFromStageFolder(const QString&, Separators) { return {}; }
