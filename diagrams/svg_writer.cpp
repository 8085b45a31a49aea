// The page as a standalone SVG, one element per operation in drawing order:
// a rect per fill, a polyline per run of MoveTo/LineTo under one pen, and a text
// per TextOut.
//
// Geometry follows the raster the page was drawn for. A pixel (x, y) is the unit
// square from (x, y) to (x + 1, y + 1), so lines of odd width are shifted by half
// a pixel to cover whole pixels; square caps make a line cover its end points.
// Fonts are given by their cell height (ascent + descent); Times New Roman (and
// its metric twin Liberation Serif) has an ascent of 1825 and a descent of 443
// per 2048-unit em, so cell c gives an em of c * 2048 / 2268 pixels (18 -> 16)
// and a baseline c * 1825 / 2268 below the top of the cell (18 -> 14), both
// rounded as the screen rounds. Other faces are sized with the same ratios. A
// negative height is an em height, as in GDI; 0 is the 16-pixel default em.
// Text before any font is set uses the title's font, Times New Roman of cell 18.
// The opaque white cell behind each text is a flood filter over the text's own
// bounding box, so its width follows the glyphs actually used.

#include <charconv>
#include <string_view>

#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "svg.h"

namespace kalvoro {

namespace {

void appendInt(std::string& out, long long v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void appendColor(std::string& out, Color c)
{
    static const char digits[] = "0123456789abcdef";
    out += '#';
    for (std::uint8_t v : {c.r, c.g, c.b}) {
        out += digits[v >> 4];
        out += digits[v & 0xF];
    }
}

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n;
    unsigned min;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - i < n) return 0;
    unsigned cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

// Character data or an attribute value: markup characters escaped, control
// characters that XML forbids dropped, broken UTF-8 replaced by U+FFFD.
void appendEscaped(std::string& out, std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8Length(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        const char c = s[i];
        if (n == 1) {
            switch (c) {
                case '&':
                    out += "&amp;";
                    break;
                case '<':
                    out += "&lt;";
                    break;
                case '>':
                    out += "&gt;";
                    break;
                case '"':
                    out += "&quot;";
                    break;
                case '\'':
                    out += "&apos;";
                    break;
                default:
                    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                        out += c;
            }
        } else {
            out.append(s.substr(i, n));
        }
        i += n;
    }
}

class SvgWriter {
public:
    explicit SvgWriter(const Recording& rec);
    void fillRect(const op::FillRect& f);
    void pen(const op::Pen& p)
    {
        flush();
        pen_ = p;
    }
    void moveTo(const op::MoveTo& m)
    {
        flush();
        x_ = m.x;
        y_ = m.y;
    }
    void lineTo(const op::LineTo& l);
    void font(const op::Font& f)
    {
        flush();
        font_ = f;
    }
    void text(const op::Text& t);
    std::string finish();

private:
    void flush();

    std::string out_;
    std::string points_;  // the open polyline, empty when none
    op::Pen pen_{colors::Black, 1};
    op::Font font_{"Times New Roman", 18};
    int x_ = 0, y_ = 0;
};

SvgWriter::SvgWriter(const Recording& rec)
{
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    appendInt(out_, rec.width);
    out_ += "\" height=\"";
    appendInt(out_, rec.height);
    out_ += "\" viewBox=\"0 0 ";
    appendInt(out_, rec.width);
    out_ += ' ';
    appendInt(out_, rec.height);
    out_ +=
        "\">\n<defs><filter id=\"cell\" x=\"0\" y=\"0\" width=\"1\" height=\"1\">"
        "<feFlood flood-color=\"#ffffff\"/><feComposite in=\"SourceGraphic\"/></filter></defs>\n";
}

void SvgWriter::fillRect(const op::FillRect& f)
{
    flush();
    if (f.right <= f.left || f.bottom <= f.top) return;
    out_ += "<rect x=\"";
    appendInt(out_, f.left);
    out_ += "\" y=\"";
    appendInt(out_, f.top);
    out_ += "\" width=\"";
    appendInt(out_, static_cast<long long>(f.right) - f.left);
    out_ += "\" height=\"";
    appendInt(out_, static_cast<long long>(f.bottom) - f.top);
    out_ += "\" fill=\"";
    appendColor(out_, f.color);
    out_ += "\"/>\n";
}

void SvgWriter::lineTo(const op::LineTo& l)
{
    if (points_.empty()) {
        appendInt(points_, x_);
        points_ += ',';
        appendInt(points_, y_);
    }
    points_ += ' ';
    appendInt(points_, l.x);
    points_ += ',';
    appendInt(points_, l.y);
    x_ = l.x;
    y_ = l.y;
}

void SvgWriter::flush()
{
    if (points_.empty()) return;
    const int width = pen_.width < 1 ? 1 : pen_.width;
    out_ += "<polyline points=\"";
    out_ += points_;
    out_ += "\" fill=\"none\" stroke=\"";
    appendColor(out_, pen_.color);
    out_ += "\" stroke-width=\"";
    appendInt(out_, width);
    out_ += "\" stroke-linecap=\"square\"";
    if (width % 2 != 0) out_ += " transform=\"translate(0.5 0.5)\"";
    out_ += "/>\n";
    points_.clear();
}

void SvgWriter::text(const op::Text& t)
{
    flush();
    Real em, cell;
    if (font_.height > 0) {
        cell = font_.height;
        em = cell * 2048 / 2268;
    } else {
        em = font_.height < 0 ? -static_cast<Real>(font_.height) : 16;
        cell = em * 2268 / 2048;
    }
    const int emPx = roundEven(em) < 1 ? 1 : roundEven(em);
    out_ += "<text x=\"";
    appendInt(out_, t.x);
    out_ += "\" y=\"";
    appendInt(out_, static_cast<long long>(t.y) + roundEven(cell * 1825 / 2268));
    std::string face;  // quotes would end the CSS string
    for (char c : font_.face)
        if (c != '\'' && c != '"' && c != '\\') face += c;
    out_ += "\" font-family=\"'";
    appendEscaped(out_, face);
    out_ += "'\" font-size=\"";
    appendInt(out_, emPx);
    out_ += "\" fill=\"#000000\" filter=\"url(#cell)\" xml:space=\"preserve\">";
    appendEscaped(out_, t.text);
    out_ += "</text>\n";
}

std::string SvgWriter::finish()
{
    flush();
    out_ += "</svg>\n";
    return std::move(out_);
}

}  // namespace

std::string svgText(const Recording& rec)
{
    SvgWriter w(rec);
    for (const DrawOp& d : rec.ops) {
        if (const auto* f = std::get_if<op::FillRect>(&d))
            w.fillRect(*f);
        else if (const auto* p = std::get_if<op::Pen>(&d))
            w.pen(*p);
        else if (const auto* m = std::get_if<op::MoveTo>(&d))
            w.moveTo(*m);
        else if (const auto* l = std::get_if<op::LineTo>(&d))
            w.lineTo(*l);
        else if (const auto* fo = std::get_if<op::Font>(&d))
            w.font(*fo);
        else
            w.text(std::get<op::Text>(d));
    }
    return w.finish();
}

void writeSvg(const std::string& path, const Recording& rec)
{
    writeFileAtomically(path, svgText(rec));
}

}  // namespace kalvoro
