#pragma once
// The symbols of what a node adds to its support code, drawn over the page
// of a beam on the supported road: a vertical spring as a zig-zag under its
// node, a rotational spring as a coil around it, a settlement as its value
// under the node, a hinge as a small open circle on the axis.

#include <vector>

#include "canvas.h"
#include "diagram_settings.h"
#include "engine/supported_road.h"
#include "page_frame.h"

namespace kalvoro {

// The symbols of f.extras[n] at node n, for each node.
void DrawNodeSupports(Canvas& c, const PageMapping& map, const BeamFrame& f, const DiagramSettings& s);

}  // namespace kalvoro
