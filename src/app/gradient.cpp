#include "app/gradient.h"

#include <algorithm>
#include <cmath>

namespace {
// std::nearbyint follows the default rounding mode: to nearest, ties to even.
int roundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int clampComponent(int value) { return std::clamp(value, 0, 255); }
} // namespace

QColor ScaleColor(const QColor &color, double factor)
{
    if (factor < 0)
        return QColor(0, 0, 0);
    auto scale = [factor](int component) { return std::min(roundEven(component * factor), 255); };
    return QColor(scale(color.red()), scale(color.green()), scale(color.blue()));
}

QColor GradientColor(const QColor &c1, const QColor &c2, int pos, int a, int b)
{
    int start = a, end = b;
    QColor from = c1, to = c2;
    if (b < a) {
        std::swap(start, end);
        std::swap(from, to);
    }
    if (pos < start)
        return from;
    if (pos > end)
        return to;
    if (start == end)
        return c1;
    const double f = double(pos - start) / double(end - start);
    auto mix = [f](int x, int y) { return clampComponent(roundEven(x + (y - x) * f)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}
