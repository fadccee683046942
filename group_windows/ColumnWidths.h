#pragma once

class QFontMetrics;
class QTableView;

// Widths of the group tables' columns in the table's own font, so larger type widens them:
// a level or balance column shows its longest text whole; other columns get `chars` average
// characters.
int LevelColumnWidth(const QFontMetrics& metrics);
int BalanceColumnWidth(const QFontMetrics& metrics);
int CharsWidth(const QFontMetrics& metrics, int chars);

// Widens every column that is narrower than its header's caption.
void FitCaptions(QTableView& view);
