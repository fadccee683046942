#pragma once

#include <QString>

// A table header's caption on several lines, so narrow columns keep whole words: a line ends
// after each comma (units go below what they measure), and otherwise words join a line while it
// stays within `lineChars` characters (1: each word on a line of its own). Never breaks a word.
QString WrapCaption(const QString& caption, int lineChars);
