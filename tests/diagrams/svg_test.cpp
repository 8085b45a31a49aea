// The SVG page: a small page written by hand, the font sizes of the screen, and
// text that needs escaping or is not valid UTF-8.

#include <gtest/gtest.h>

#include <string>

#include "diagrams/recording.h"
#include "diagrams/svg.h"

namespace kalvoro {
namespace {

TEST(Svg, SmallPageMatchesHandWrittenDocument)
{
    RecordingCanvas c(40, 30);
    c.fillRect(0, 0, 41, 31, colors::White);
    c.setPen(colors::Blue, 1);
    c.moveTo(1, 2);
    c.lineTo(3, 4);
    c.lineTo(5, 6);
    c.setPen(colors::Green, 2);
    c.lineTo(7, 8);  // continues from the last point under the new pen
    c.setPen(colors::Red, 0);
    c.moveTo(9, 9);
    c.lineTo(9, 1);
    c.setFont("Times 'New' \"Roman\"", 18);  // quotes dropped: they would end the CSS string
    c.textOut(2, 3, "a<b & \"c\" 'd' é");
    c.fillRect(5, 5, 5, 9, colors::Red);  // empty: nothing
    c.textOut(4, 5, "x\xFFy\x01z");
    const std::string want =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\" viewBox=\"0 0 40 30\">\n"
        "<defs><filter id=\"cell\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"><feFlood "
        "flood-color=\"#ffffff\"/>"
        "<feComposite in=\"SourceGraphic\"/></filter></defs>\n"
        "<rect x=\"0\" y=\"0\" width=\"41\" height=\"31\" fill=\"#ffffff\"/>\n"
        "<polyline points=\"1,2 3,4 5,6\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"1\" "
        "stroke-linecap=\"square\" transform=\"translate(0.5 0.5)\"/>\n"
        "<polyline points=\"5,6 7,8\" fill=\"none\" stroke=\"#008000\" stroke-width=\"2\" "
        "stroke-linecap=\"square\"/>\n"
        "<polyline points=\"9,9 9,1\" fill=\"none\" stroke=\"#ff0000\" stroke-width=\"1\" "
        "stroke-linecap=\"square\" transform=\"translate(0.5 0.5)\"/>\n"
        "<text x=\"2\" y=\"17\" font-family=\"'Times New Roman'\" font-size=\"16\" fill=\"#000000\" "
        "filter=\"url(#cell)\" xml:space=\"preserve\">a&lt;b &amp; &quot;c&quot; &apos;d&apos; é</text>\n"
        "<text x=\"4\" y=\"19\" font-family=\"'Times New Roman'\" font-size=\"16\" fill=\"#000000\" "
        "filter=\"url(#cell)\" xml:space=\"preserve\">x\xEF\xBF\xBDyz</text>\n"
        "</svg>\n";
    EXPECT_EQ(svgText(c.recording()), want);
}

std::string attribute(const std::string& doc, const std::string& element, const std::string& name)
{
    const std::size_t e = doc.find("<" + element + " ");
    const std::size_t a = doc.find(" " + name + "=\"", e);
    if (e == std::string::npos || a == std::string::npos) return "";
    const std::size_t v = a + name.size() + 3;
    return doc.substr(v, doc.find('"', v) - v);
}

// A character cell of height c holds an em of c * 2048 / 2268 pixels with the
// baseline c * 1825 / 2268 below its top (Times New Roman's ascent and descent).
TEST(Svg, FontSizeAndBaselineFromTheCellHeight)
{
    const struct {
        int height;
        const char* em;
        const char* baseline;  // text placed at y = 100
    } rows[] = {
        {18, "16", "114"}, {15, "14", "112"},  {20, "18", "116"},
        {2, "2", "102"},   {-16, "16", "114"},  // an em height
        {0, "16", "114"},                       // the default
    };
    for (const auto& row : rows) {
        RecordingCanvas c(50, 50);
        c.setFont("Times New Roman", row.height);
        c.textOut(0, 100, "x");
        const std::string doc = svgText(c.recording());
        EXPECT_EQ(attribute(doc, "text", "font-size"), row.em) << row.height;
        EXPECT_EQ(attribute(doc, "text", "y"), row.baseline) << row.height;
    }
}

}  // namespace
}  // namespace kalvoro
