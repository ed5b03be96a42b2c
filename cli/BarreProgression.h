// The progress line of the long commands on stderr: a bar of 30 cells and the percentage, then
// the command's own counts, redrawn in place; the last one ends the line.
#pragma once

#include <iosfwd>

void AfficheBarre(double fraction, const char* suite, bool finale);
// the bar only for a person watching a terminal: err is the standard error, and a terminal
bool BarreVoulue(const std::ostream& err);
