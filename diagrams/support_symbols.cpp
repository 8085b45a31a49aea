#include "support_symbols.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "data/numbers.h"
#include "diagram_layout.h"

namespace kalvoro {

namespace {

// Polyline through the offsets (dx, dy up) from the node on the axis.
void polyline(Canvas& c, const PageMapping& map, Real X, const std::vector<std::pair<Real, Real>>& points)
{
    c.moveTo(map.px(X, points.front().first), map.py(0, points.front().second));
    for (std::size_t k = 1; k < points.size(); ++k)
        c.lineTo(map.px(X, points[k].first), map.py(0, points[k].second));
}

// A zig-zag from the axis down to a ground line 26 pixels below.
void verticalSpring(Canvas& c, const PageMapping& map, Real X)
{
    polyline(c, map, X, {{0, 0}, {0, -5}, {-5, -8}, {5, -12}, {-5, -16}, {5, -20}, {0, -22}, {0, -26}});
    polyline(c, map, X, {{-8, -26}, {8, -26}});
}

// A coil of one and a half turns around the node, widening outward.
void rotationalSpring(Canvas& c, const PageMapping& map, Real X)
{
    std::vector<std::pair<Real, Real>> points;
    constexpr int steps = 36;
    for (int k = 0; k <= steps; ++k) {
        const Real t = 3 * std::numbers::pi_v<Real> * k / steps, r = 4 + 6 * Real(k) / steps;
        points.push_back({r * std::cos(t), r * std::sin(t)});
    }
    c.moveTo(map.px(X, 0), map.py(0, 0));
    for (const auto& [dx, dy] : points) c.lineTo(map.px(X, dx), map.py(0, dy));
}

void hinge(Canvas& c, const PageMapping& map, Real X)
{
    std::vector<std::pair<Real, Real>> points;
    constexpr int steps = 16;
    for (int k = 0; k <= steps; ++k) {
        const Real t = 2 * std::numbers::pi_v<Real> * k / steps;
        points.push_back({4 * std::cos(t), 4 * std::sin(t)});
    }
    polyline(c, map, X, points);
}

std::string signedText(double v)
{
    return (v < 0 ? "-" : "") + formatMagnitude(std::fabs(v), 4);
}

}  // namespace

void DrawNodeSupports(Canvas& c, const PageMapping& map, const BeamFrame& f, const DiagramSettings& s)
{
    // A settlement's value is left out where it would cover the one before
    // (nodes close together on the page, a long beam seen whole).
    int freeFrom = std::numeric_limits<int>::min();
    for (std::size_t n = 0; n < f.extras.size() && n < f.nodes.size(); ++n) {
        const NodeSupport& e = f.extras[n];
        // A node with nothing to show leaves the page as the model's frame draws it.
        if (!e.any()) continue;
        const Real X = f.nodes[n].X;
        c.setPen(colors::Black, 1);
        if (e.springVertical != 0) verticalSpring(c, map, X);
        if (e.springRotation != 0) rotationalSpring(c, map, X);
        if (e.hinge) {
            // White inside, so the axis does not run through the circle.
            c.fillRect(map.px(X, -3), map.py(0, 3), map.px(X, 3), map.py(0, -3), colors::White);
            hinge(c, map, X);
        }
        if (e.settlementVertical != 0 || e.settlementRotation != 0) {
            c.setFont(PageFont, s.UpDown1);
            std::string text;
            if (e.settlementVertical != 0) text = "recalque " + signedText(e.settlementVertical);
            if (e.settlementRotation != 0)
                text += (text.empty() ? "recalque " : "; ") + signedText(e.settlementRotation) + " rad";
            const int x = map.px(X, -20);
            if (x < freeFrom) continue;
            c.textOut(x, map.py(0, -32), text);
            // The page cannot measure text: digits are about half as wide as the font is high.
            freeFrom = addInt(x, static_cast<int>(text.size()) * (s.UpDown1 / 2 + 1));
        }
    }
}

}  // namespace kalvoro
