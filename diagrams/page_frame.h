#pragma once
// The frame every diagram page shares: the mapping of model points to page
// pixels, the white page, the beam axis with its span numbers, the support
// symbols, the title and the saving of the page beside the data file. The
// moment and shear diagrams and the influence line each bring their own
// scales and origin in a PageMapping.
//
// Page coordinates are integer pixels, origin at the top-left corner, y
// growing downwards. Model Y and the pixel offsets "dy" grow upwards: a point
// is drawn at page y = H - Round(Y * sy + y0 + dy), so a positive dy lies
// above the point. Offsets are added before rounding and are never scaled.

#include <string>
#include <vector>

#include "canvas.h"
#include "engine/analysis_model.h"
#include "engine/arithmetic.h"
#include "engine/supported_road.h"
#include "recording.h"

namespace kalvoro {

inline constexpr const char* PageFont = "Times New Roman";
inline constexpr int TitleFontHeight = 18;

struct DiagramSettings;

// Model point (X, Y) with pixel offsets (dx right, dy up) to page pixels.
// Rounding is to the nearest integer, halves to even, evaluated in extended
// precision; a result outside the 32-bit range throws ArithmeticError.
struct PageMapping {
    double sx = 0;  // pixels per length unit along X
    double sy = 0;  // pixels per unit of the plotted value (or of Y on the axis)
    int x0 = 0;     // page x of X = 0 (left margin plus pan)
    int y0 = 0;     // pixels from the bottom edge up to Y = 0 (the beam axis)
    int H = 0;      // page height

    int px(Real X, Real dx = 0) const { return roundEven(X * sx + x0 + dx); }
    int py(Real Y, Real dy = 0) const { return subInt(H, roundEven(Y * sy + y0 + dy)); }
};

// What a page draws of the beam itself, whatever holds it: the analysis
// model (at most the data file's capacities) or a beam of the supported road
// (any number of spans).
struct BeamFrame {
    struct Node {
        double X, Y;
    };
    struct Span {
        std::size_t start, end;  // nodes, from 0
    };
    struct Support {
        std::size_t node;
        int code;
    };
    std::vector<Node> nodes;
    std::vector<Span> spans;         // span k (from 0) is element and load row k + 1
    std::vector<Support> supports;   // in the order they are drawn
    std::vector<NodeSupport> extras;  // per node: springs, settlement, hinge; or empty
    // Whether its pages draw through a ClippingCanvas: those of the supported
    // road, whose beams may be long and zoomed far in.
    bool clip = false;

    // The largest node X, and the sum of the span lengths (ComprimentoTotal).
    double largestX() const;
    double length() const;
};

// The model's nodes, its elements in element order, its support entries.
BeamFrame FrameOf(const AnalysisModel& m);
// Nodes on the axis, span i from node i to node i + 1, a support entry for
// every node whose code is not 00, and the nodes' extras.
BeamFrame FrameOf(const SupportedBeam& beam);

// White page from (0, 0) to (W + 1, H + 1), then the navy pen of the axis.
void StartPage(Canvas& c, int W, int H);

// For every element: its axis from the mapped start node to the mapped end
// node with the current pen, and, when s.CheckBox1 is set, its number 10 pixels
// below the middle of the span in the span-number font (s.UpDown7, set on
// every pass whether or not the number is written).
void DrawAxisAndSpanNumbers(Canvas& c, const BeamFrame& f, const PageMapping& map, const DiagramSettings& s);
void DrawAxisAndSpanNumbers(Canvas& c, const AnalysisModel& m, const PageMapping& map,
                            const DiagramSettings& s);

// Red pen, then for every support entry the symbol of its code around its
// node: 10 (pinned) a triangle hanging from the node, 11 (fixed) a vertical
// bar with eight hatch strokes, any other code nothing. Then the frame's
// extras (support_symbols.h), when it has them.
void DrawSupports(Canvas& c, const BeamFrame& f, const PageMapping& map, const DiagramSettings& s);
void DrawSupports(Canvas& c, const AnalysisModel& m, const PageMapping& map);

// The loads of load row k, when s.CheckBox2 is set: its concentrated load and
// its uniform load, each with its magnitude. T is the whole beam's length,
// which spaces the uniform load's arrows. (Drawn as on the moment page.)
void DrawSpanLoads(Canvas& c, const AnalysisModel& m, const PageMapping& map, long k, double T,
                   const DiagramSettings& s);

// The title at the top-left corner in the title font.
void DrawTitle(Canvas& c, const std::string& title);

// For a non-empty data file name, writes the page as stem + tag + ".wmf" and,
// with svg set, stem + tag + ".svg" (tag "M", "C" or "LIM"). Each file is
// written atomically; IoError on failure. An empty name writes nothing.
void SavePage(const Recording& page, const std::string& dataFile, const std::string& tag, bool svg);

}  // namespace kalvoro
