#pragma once

#include <QColor>

// Colour helpers for the tool bar's gradient background. Components are
// rounded to the nearest integer, ties to even.

// Each of R, G, B multiplied by factor and capped at 255; a negative factor gives black.
QColor ScaleColor(const QColor &color, double factor);

// The colour at pos of a gradient running from c1 at a to c2 at b (b may lie before a).
QColor GradientColor(const QColor &c1, const QColor &c2, int pos, int a, int b);
