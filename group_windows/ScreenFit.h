#pragma once

class QMainWindow;

// A group window on a small screen or in large type: its contents scroll when the window is
// smaller than they need, and it opens no larger than the screen's free area.
void FitToScreen(QMainWindow& window);
