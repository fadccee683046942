#pragma once

// The window layouts name "MS Sans Serif" and "Verdana". Registers installed fonts of
// similar metrics as their substitutes (Liberation Sans for the first, DejaVu Sans for the
// second, each with the other as fallback). Safe to call more than once; only the first
// call registers. Call after the application object exists.
void RegisterFontSubstitutes();
