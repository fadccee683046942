#pragma once

// Whether the desktop draws controls with a themed style. On this platform every Qt style
// is a theme except the classic "Windows" style, which draws the plain bevelled look of
// the unthemed desktop; so the answer is yes unless the application runs with that style.
// Asked once by each gradient label at construction: themed labels are transparent and
// show only their text, unthemed ones paint their gradient.
bool VisualStylesActive();
