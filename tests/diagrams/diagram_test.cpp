// The moment and shear pages, checked on their recordings against hand-worked
// pixel positions and hand-written op listings, the files written beside the
// data file, and two independent WMF readers.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <tuple>
#include <vector>

#include "diagrams/deflection_diagram.h"
#include "diagrams/diagrams.h"
#include "diagrams/page_frame.h"
#include "diagrams/svg.h"
#include "diagrams/wmf.h"
#include "engine/engine.h"
#include "engine/nodal_loads.h"

namespace kalvoro {
namespace {

namespace fs = std::filesystem;

struct SpanLoad {
    double q = 0, P = 0, d = 0;
};

// A horizontal beam with E = I = 1: node X, one support code per node, one load
// row per span. Solved by the engine, or given start shear and moment per span.
std::unique_ptr<AnalysisModel> beam(const std::vector<double>& x, const std::vector<int>& codes,
                                    const std::vector<SpanLoad>& loads,
                                    const std::vector<std::pair<double, double>>* ends = nullptr)
{
    auto m = std::make_unique<AnalysisModel>();
    const int n = static_cast<int>(x.size());
    m->DofPerNode = m->NodesPerElement = m->CoordsPerNode = 2;
    m->ElementDofCount = 4;
    m->MaterialPropCount = m->LoadCaseCount = m->MaterialCount = m->SectionCount = 1;
    m->MaterialProp(1, 1) = m->SectionProp(1, 1) = 1;
    m->NodeCount = m->SupportCount = n;
    m->EquationCount = 2 * n;
    m->ElementCount = m->LoadRowCount[1] = n - 1;
    for (int i = 1; i <= n; ++i) {
        m->Coord(i, 1) = x[i - 1];
        m->SupportNode[i] = i;
        m->SupportCode[i] = codes[i - 1];
    }
    for (int e = 1; e < n; ++e) {
        m->Incidence(e, 1) = e;
        m->Incidence(e, 2) = e + 1;
        m->ElementMaterial[e] = m->ElementSection[e] = 1;
        m->LoadRowElement(e, 1) = e;
        m->LoadRowValue(e, 1, 1) = loads[e - 1].q;
        m->LoadRowValue(e, 2, 1) = loads[e - 1].P;
        m->LoadRowValue(e, 3, 1) = loads[e - 1].d;
        if (ends) std::tie(m->ElementStartShear[e], m->ElementStartMoment[e]) = (*ends)[e - 1];
    }
    if (ends) return m;
    ClearEquivalentLoads(*m);
    for (int r = 1; r < n; ++r) AddEquivalentLoads(*m, r);
    BuildNodalLoadList(*m);
    SolveBeam(*m);
    return m;
}

// Two pins 1 apart under q = -1: M(0.5) = 0.125, V = 0.5 and -0.5 at the ends.
std::unique_ptr<AnalysisModel> oneSpan()
{
    return beam({0, 1}, {10, 10}, {{-1}});
}
std::unique_ptr<AnalysisModel> twoSpans()
{
    return beam({0, 1, 2}, {10, 10, 10}, {{-1}, {-1}});
}

using Pt = std::pair<int, int>;

// The points of every move and line drawn with this pen, in order.
std::vector<Pt> drawnWith(const Recording& rec, Color color, int width)
{
    std::vector<Pt> out;
    bool on = false;
    for (const DrawOp& o : rec.ops) {
        if (const auto* p = std::get_if<op::Pen>(&o)) on = p->color == color && p->width == width;
        if (const auto* mv = std::get_if<op::MoveTo>(&o); mv && on) out.push_back({mv->x, mv->y});
        if (const auto* ln = std::get_if<op::LineTo>(&o); ln && on) out.push_back({ln->x, ln->y});
    }
    return out;
}

std::vector<std::string> textsOf(const Recording& rec)
{
    std::vector<std::string> out;
    for (const DrawOp& o : rec.ops)
        if (const auto* t = std::get_if<op::Text>(&o))
            out.push_back(std::to_string(t->x) + " " + std::to_string(t->y) + " " + t->text);
    return out;
}

// One op in the notation of the hand-written listings.
std::string describe(const DrawOp& o)
{
    std::ostringstream s;
    const auto rgb = [](Color c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    };
    if (const auto* f = std::get_if<op::FillRect>(&o))
        s << "fill " << f->left << ' ' << f->top << ' ' << f->right << ' ' << f->bottom << ' '
          << rgb(f->color);
    if (const auto* p = std::get_if<op::Pen>(&o)) s << "pen " << rgb(p->color) << ' ' << p->width;
    if (const auto* p = std::get_if<op::MoveTo>(&o)) s << "move " << p->x << ' ' << p->y;
    if (const auto* p = std::get_if<op::LineTo>(&o)) s << "line " << p->x << ' ' << p->y;
    if (const auto* f = std::get_if<op::Font>(&o)) s << "font \"" << f->face << "\" " << f->height;
    if (const auto* t = std::get_if<op::Text>(&o))
        s << "text " << t->x << ' ' << t->y << " \"" << t->text << '"';
    return s.str();
}

// Compares with a listing of tests/data_files/diagrams: one op a line, "#" comments.
void expectListing(const Recording& rec, const std::string& name)
{
    std::ifstream in(std::string(KALVORO_TEST_DATA) + "/diagrams/" + name);
    ASSERT_TRUE(in.good()) << name;
    std::size_t i = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        ASSERT_LT(i, rec.ops.size()) << name << ": the page ends before " << line;
        EXPECT_EQ(describe(rec.ops[i]), line) << name << ", op " << i;
        ++i;
    }
    EXPECT_EQ(i, rec.ops.size()) << name << ": the page has more ops";
}

TEST(PageMapping, AddsOffsetsBeforeRoundingHalvesToEven)
{
    const PageMapping m{417.5, 278 / 0.15, 20, 232, 278};
    const PageMapping unit{1, 1, 20, 0, 278};
    EXPECT_EQ(m.px(0), 20);
    EXPECT_EQ(m.px(1), 438);         // 437.5 goes to the even 438
    EXPECT_EQ(m.px(1, -5), 432);     // 432.5, not 438 - 5
    EXPECT_EQ(unit.px(0.5, 1), 22);  // 21.5, not Round(20.5) + 1 = 21
    EXPECT_EQ(m.py(0), 46);
    EXPECT_EQ(m.py(0, 45), 1);
    EXPECT_EQ(m.py(-0.125), 278);
    EXPECT_EQ(unit.py(2.5), 276);
    EXPECT_EQ((PageMapping{0, 0, 520, 232, 278}.px(123)), 520);  // zoom 0
    EXPECT_THROW((PageMapping{1e9, 1e9, 20, 0, 278}.px(10)), ArithmeticError);
    EXPECT_THROW((PageMapping{1e9, 1e9, 20, 0, 278}.py(-10)), ArithmeticError);
}

TEST(DiagramScales, FitTheBeamAndTheRangeOrFallBackTo100)
{
    DiagramSettings s;
    s.shearWidth = 1;  // the moment page's width serves every diagram
    EXPECT_DOUBLE_EQ(EscalaHorizontal(*beam({0, 10}, {10, 10}, {{}}), s), 41.75);
    EXPECT_EQ(EscalaHorizontal(*beam({-4, -2}, {10, 10}, {{}}), s), 100.0);  // the largest X starts at 0
    AnalysisModel empty;
    EXPECT_EQ(EscalaHorizontal(empty, s), 100.0);
    EXPECT_EQ(EscalaMomentos(empty, s), 100.0);
    EXPECT_EQ(EscalaCortantes(empty, s), 100.0);
    const auto unloaded = beam({0, 1, 3}, {10, 10, 11}, {{}, {}});
    EXPECT_EQ(EscalaMomentos(*unloaded, s), 100.0);
    EXPECT_EQ(EscalaCortantes(*unloaded, s), 100.0);
    s.momentHeight = 556;
    s.shearHeight = 139;
    EXPECT_NEAR(EscalaMomentos(*oneSpan(), s), 556 / 0.15, 1e-9);  // range 0 .. 0.125
    EXPECT_NEAR(EscalaCortantes(*oneSpan(), s), 139 / 1.2, 1e-9);  // range -0.5 .. 0.5
}

TEST(DiagramPages, MatchHandWrittenListings)
{
    DiagramSettings s;
    s.CheckBox2 = false;
    expectListing(DesenhaCortantes(*oneSpan(), s, ""), "one-span-shear-unloaded.txt");
    // Fixed at X = 0, free at X = 10, P = -10 at d = 4: V = 10 up to the load.
    const std::vector<std::pair<double, double>> ends{{3.52, 25.6}};
    expectListing(DesenhaCortantes(*beam({0, 10}, {11, 0}, {{0, -10, 4}}, &ends), DiagramSettings{}, ""),
                  "cantilever-point-load-shear.txt");
    expectListing(DesenhaMomentos(AnalysisModel{}, DiagramSettings{}, ""), "no-analysis-moments.txt");
}

TEST(MomentPage, OneSpanUnderUniformLoad)
{
    // sx = 417.5, sy = 278 / 0.15, U = 0, y0 = 232: the axis at page y 46.
    const Recording rec = DesenhaMomentos(*oneSpan(), DiagramSettings{}, "");
    EXPECT_EQ(drawnWith(rec, colors::Navy, 1), (std::vector<Pt>{{20, 46}, {438, 46}}));
    const auto load = drawnWith(rec, colors::Black, 1);
    ASSERT_EQ(load.size(), 65u * 6 + 2);  // 64 arrows, the closing one, the top line
    EXPECT_EQ(load[4], (Pt{20, 46}));     // first shaft from the axis ...
    EXPECT_EQ(load[5], (Pt{20, 21}));     // ... 25 up
    EXPECT_EQ(load[64 * 6 + 4], (Pt{438, 46}));
    const auto curve = drawnWith(rec, colors::Blue, 1);
    ASSERT_EQ(curve.size(), 1u + 128 + 2);
    EXPECT_EQ(curve[1], (Pt{20, 46}));
    EXPECT_EQ(curve[65], (Pt{229, 278}));  // M(0.5) = 0.125, sagging drawn below
    EXPECT_EQ(drawnWith(rec, colors::Green, 2), (std::vector<Pt>{{20, 46}}));
    EXPECT_EQ(textsOf(rec),
              (std::vector<std::string>{"229 56 1", "25 1 1", "0 0 Diagrama de Momentos Fletores"}));
}

TEST(MomentPage, AxisFollowsTheMostNegativeMoment)
{
    // M(0) = -20, M(1) = +10: sy = 278 / 36, y0 = Round(102.96) = 103, axis at 175.
    const std::vector<std::pair<double, double>> ends{{30, 20}};
    const auto curve = drawnWith(DesenhaMomentos(*beam({0, 1}, {0, 0}, {{}}, &ends), DiagramSettings{}, ""),
                                 colors::Blue, 1);
    ASSERT_EQ(curve.size(), 131u);
    EXPECT_EQ(curve[0], (Pt{20, 175}));
    EXPECT_EQ(curve[1], (Pt{20, 21}));
    EXPECT_EQ(curve[129], (Pt{438, 252}));
    for (const Pt& p :
         drawnWith(DesenhaMomentos(*beam({0, 1, 3}, {10, 10, 11}, {{}, {}}), DiagramSettings{}, ""),
                   colors::Blue, 1))
        EXPECT_EQ(p.second, 46);  // all-zero moments lie on the axis
}

TEST(MomentPage, StepsByRepeatedAddition)
{
    // Arrows every T/64 and 128 curve steps; a sum that ends a hair below the
    // end node adds one. A span standing on end draws only its ends.
    struct Row {
        std::vector<double> x;
        double q;
        std::size_t arrows, samples;  // arrows with the closing one; samples before the end value
    } rows[] = {{{0, 10}, -1, 65, 128},
                {{0, 0.1}, -1, 66, 129},
                {{0, 1.3}, 2, 66, 128},
                {{0, 1, 2}, -1, 66, 256},
                {{0, 0}, -1, 1, 0}};
    for (Row& r : rows) {
        std::vector<std::pair<double, double>> ends(r.x.size() - 1);
        auto m = beam(r.x, std::vector<int>(r.x.size()), std::vector<SpanLoad>(r.x.size() - 1, {r.q}), &ends);
        if (r.x[1] == 0) m->Coord(2, 2) = 1;
        const Recording rec = DesenhaMomentos(*m, DiagramSettings{}, "");
        EXPECT_EQ(drawnWith(rec, colors::Black, 1).size(), r.arrows * 6 + 2 * (r.x.size() - 1)) << r.x[1];
        EXPECT_EQ(drawnWith(rec, colors::Blue, 1).size(), r.samples + 3 * (r.x.size() - 1)) << r.x[1];
    }
}

TEST(ShearPage, StepsAtTheConcentratedLoad)
{
    // Pins 10 apart, P = -10 at 4: V = 6 then -4; sy = 278 / 12, y0 = 116.
    const Recording rec = DesenhaCortantes(*beam({0, 10}, {10, 10}, {{0, -10, 4}}), DiagramSettings{}, "");
    EXPECT_EQ(drawnWith(rec, colors::Blue, 1),
              (std::vector<Pt>{{20, 162}, {20, 23}, {187, 23}, {187, 255}, {438, 255}, {438, 162}}));
}

// q = -1 on a pinned span 1 long: v = -5/384 at mid-span, 278/3 pixels below
// the axis; the axis where the curve's range [-5/384, 0] is centred.
TEST(DeflectionPage, LargestDeflectionAThirdOfThePageFromTheAxis)
{
    const DiagramSettings s;
    const auto m = oneSpan();
    EXPECT_DOUBLE_EQ(EscalaDeformada(*m, s), 278 / (3 * 5.0 / 384));
    const Recording page = DesenhaDeformada(*m, s, "");
    const std::vector<Pt> curve = drawnWith(page, colors::Blue, 1);
    ASSERT_EQ(curve.size(), 129u);  // 128 steps, the extreme at mid-span among them
    EXPECT_EQ(curve.front(), Pt(20, 93));
    EXPECT_EQ(curve.back(), Pt(438, 93));
    EXPECT_NE(std::find(curve.begin(), curve.end(), Pt(229, 186)), curve.end());
    for (const Pt& p : curve) EXPECT_LE(p.second, 186);
    // The span number under the axis, the load, the value below its point, the title.
    EXPECT_EQ(textsOf(page),
              (std::vector<std::string>{"229 103 1", "25 48 1", "232 189 -0.0130208", "0 0 Deformada"}));

    // An unloaded span beside a loaded one rises (M = -1/16 at the middle
    // support: v = x(1-x)(2-x)/96 at x = 1 - 1/sqrt 3): its value goes below
    // the span numbers, away from the loads above the axis.
    const auto two = beam({0, 1, 2}, {10, 10, 10}, {{-1}, {}});
    const std::vector<std::string> texts = textsOf(DesenhaDeformada(*two, s, ""));
    const int axis = drawnWith(DesenhaDeformada(*two, s, ""), colors::Navy, 1).front().second;
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[4].substr(texts[4].find(' ') + 1), std::to_string(axis + 27) + " 0.00400938") << texts[4];

    // Ten short spans side by side: a value that would cover another is left
    // out (a value of 9 or more characters is wider than 50 pixels).
    std::vector<double> xs;
    for (int i = 0; i <= 10; ++i) xs.push_back(i);
    const auto many = beam(xs, std::vector<int>(11, 10), std::vector<SpanLoad>(10, {-1}));
    std::vector<Pt> values;
    for (const DrawOp& o : DesenhaDeformada(*many, s, "").ops)
        if (const auto* t = std::get_if<op::Text>(&o); t && t->text.find("0.00") != std::string::npos)
            values.push_back({t->x, t->y});
    EXPECT_GE(values.size(), 2u);
    EXPECT_LT(values.size(), 10u);
    for (std::size_t i = 0; i < values.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_TRUE(std::abs(values[i].first - values[j].first) >= 50 ||
                        std::abs(values[i].second - values[j].second) >= 15);

    // A beam that does not deflect: the fallback scale and no values.
    const auto still = beam({0, 1}, {10, 10}, {{}});
    EXPECT_EQ(EscalaDeformada(*still, s), 100.0);
    EXPECT_EQ(textsOf(DesenhaDeformada(*still, s, "")).size(), 2u);
}

TEST(PageOptions, SwitchNumbersLoadsPanAndZoom)
{
    struct Row {
        const char* what;
        bool numbers, loads;
        SpanLoad load;
        std::size_t texts, blackPoints;
    } rows[] = {
        {"all on", true, true, {-1.5, -2.25, 0.5}, 2 + 4 + 1, 2 * (6 + 33 * 6 + 2)},
        {"no loads", true, false, {-1.5, -2.25, 0.5}, 2 + 1, 0},
        {"no numbers", false, true, {-1.5, -2.25, 0.5}, 4 + 1, 2 * (6 + 33 * 6 + 2)},
        {"P at d = 0 not drawn", true, true, {0, 3, 0}, 2 + 1, 0},
    };
    for (const Row& r : rows) {
        DiagramSettings s;
        s.CheckBox1 = r.numbers;
        s.CheckBox2 = r.loads;
        const auto m = beam({0, 1, 2}, {10, 10, 10}, {r.load, r.load});
        for (const Recording& rec : {DesenhaMomentos(*m, s, ""), DesenhaCortantes(*m, s, "")}) {
            EXPECT_EQ(textsOf(rec).size(), r.texts) << r.what;
            EXPECT_EQ(drawnWith(rec, colors::Black, 1).size() + drawnWith(rec, colors::Black, 2).size(),
                      r.blackPoints)
                << r.what;
            EXPECT_EQ(drawnWith(rec, colors::Green, 2).size(), 2u) << r.what;  // curve closed in every case
        }
    }

    // Pan 500, zoom 0: every model point on (520, H - Round(H / 1.2)).
    DiagramSettings s;
    s.DeslocamentoDesenho = 500;
    s.ZoomDesenho = 0;
    const auto m = beam({0, 1, 3}, {10, 11, 10}, {{-1, -2, 0.5}, {1}});
    for (const Recording& rec : {DesenhaMomentos(*m, s, ""), DesenhaCortantes(*m, s, "")}) {
        for (Color c : {colors::Navy, colors::Blue})
            for (const Pt& p : drawnWith(rec, c, 1)) EXPECT_EQ(p, (Pt{520, 46}));
        EXPECT_EQ(drawnWith(rec, colors::Green, 2), (std::vector<Pt>{{520, 46}, {520, 46}}));
        EXPECT_EQ(textsOf(rec).back().substr(0, 4), "0 0 ");  // the title stays
    }
}

class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("kalvoro-diagrams-" + std::to_string(getpid())))
    {
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(DiagramFiles, NamedAfterTheDataFileAndWrittenOnlyWhole)
{
    const TempDir dir;
    const auto m = twoSpans();
    const DiagramSettings s;
    std::ofstream(dir / "vigaM.wmf") << "an older picture";
    EXPECT_EQ(slurp(dir / "vigaM.wmf"), wmfBytes(DesenhaMomentos(*m, s, dir / "viga.vig")));
    EXPECT_EQ(slurp(dir / "vigaC.wmf"), wmfBytes(DesenhaCortantes(*m, s, dir / "viga.vig")));
    EXPECT_EQ(slurp(dir / "vigaD.wmf"), wmfBytes(DesenhaDeformada(*m, s, dir / "viga.vig")));
    EXPECT_FALSE(fs::exists(dir / "vigaC.svg"));
    const Recording deflection = DesenhaDeformada(*m, s, dir / "viga.vig", true);
    EXPECT_EQ(slurp(dir / "vigaD.svg"), svgText(deflection));

    fs::create_directories(dir / "my.dir");  // cut in the file name, not in a folder
    const Recording page = DesenhaMomentos(*m, s, dir / "my.dir/viga.v2.vig", true);
    EXPECT_EQ(slurp(dir / "my.dir/vigaM.wmf"), wmfBytes(page));
    EXPECT_EQ(slurp(dir / "my.dir/vigaM.svg"), svgText(page));
    EXPECT_EQ(slurp(dir / "my.dir/vigaC.svg"),
              svgText(DesenhaCortantes(*m, s, dir / "my.dir/viga.v2.vig", true)));

    DesenhaMomentos(*m, s, "", true);
    DesenhaCortantes(*m, s, "", true);
    DesenhaDeformada(*m, s, "", true);
    for (const char* f : {"M.wmf", "C.wmf", "M.svg", "D.wmf"}) EXPECT_FALSE(fs::exists(f)) << f;

    auto broken = twoSpans();  // a load row naming element 0
    broken->LoadRowElement(2, 1) = 0;
    EXPECT_THROW(DesenhaMomentos(*broken, s, dir / "broken.vig", true), IndexError);
    EXPECT_THROW(DesenhaCortantes(*broken, s, dir / "broken.vig", true), IndexError);
    const std::vector<std::pair<double, double>> ends(2);
    auto far = beam({-1e12, 1}, {10, 10}, {{}}, &ends);  // a page x outside 32 bits
    EXPECT_THROW(DesenhaMomentos(*far, s, dir / "broken.vig"), ArithmeticError);
    auto zero = beam({0, 1, 1}, {10, 10, 10}, {{-1}, {-1}}, &ends);
    EXPECT_THROW(DesenhaCortantes(*zero, s, dir / "broken.vig"), ArithmeticError);  // a span of length 0
    for (const char* f : {"brokenM.wmf", "brokenC.wmf", "brokenM.svg", "brokenC.svg"})
        EXPECT_FALSE(fs::exists(dir / f)) << f;
    EXPECT_THROW(DesenhaMomentos(*m, s, dir / "absent/viga.vig"), IoError);
}

int run(const std::string& cmd)
{
    return std::system((cmd + " >/dev/null 2>&1").c_str());
}

TEST(DiagramFiles, ReadByIndependentWmfReaders)
{
    ASSERT_TRUE(fs::exists("/usr/bin/wmf2svg"))
        << "wmf2svg is missing: install the Debian package libwmf-bin";
    ASSERT_TRUE(fs::exists("/usr/bin/convert"))
        << "convert is missing: install the Debian package imagemagick";
    const TempDir dir;
    const auto m = twoSpans();
    const std::pair<std::string, Recording> pages[] = {
        {dir / "stemM.wmf", DesenhaMomentos(*m, {}, dir / "stem.vig")},
        {dir / "stemC.wmf", DesenhaCortantes(*m, {}, dir / "stem.vig")},
        {dir / "stemD.wmf", DesenhaDeformada(*m, {}, dir / "stem.vig")}};
    for (const auto& [wmf, rec] : pages) {
        SCOPED_TRACE(wmf);
        EXPECT_EQ(run("/usr/bin/wmf2svg -o '" + dir / "out.svg' '" + wmf + "'"), 0)
            << "wmf2svg refused the file";
        ASSERT_EQ(run("/usr/bin/convert -density 96 '" + wmf + "' '" + dir / "out.png'"), 0)
            << "ImageMagick cannot render WMF: install libmagickcore-6.q16-6-extra and fonts-urw-base35";
        ASSERT_EQ(run("/usr/bin/convert '" +
                      dir / "out.png' -background white -alpha remove -depth 8 'ppm:" + dir / "out.ppm'"),
                  0);
        std::ifstream in(dir / "out.ppm", std::ios::binary);
        std::string magic;
        int w = 0, h = 0, maxval = 0;
        in >> magic >> w >> h >> maxval;
        in.get();
        ASSERT_EQ(magic + " " + std::to_string(maxval), "P6 255");
        ASSERT_EQ(w, rec.width);
        ASSERT_EQ(h, rec.height);
        std::vector<unsigned char> px(3 * std::size_t(w) * h);
        in.read(reinterpret_cast<char*>(px.data()), std::streamsize(px.size()));
        const auto blue = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= w || y >= h) return false;
            const unsigned char* p = &px[3 * (std::size_t(y) * w + x)];
            return p[2] > 150 && p[2] > p[0] + 60 && p[2] > p[1] + 60;
        };
        // Every curve vertex off the axis (which the green overlay covers) is blue within a pixel.
        const int axis = drawnWith(rec, colors::Navy, 1)[0].second;
        int checked = 0;
        for (const auto& [x, y] : drawnWith(rec, colors::Blue, 1)) {
            if (std::abs(y - axis) <= 2 || y >= h) continue;
            bool found = false;
            for (int d = 0; d < 9 && !found; ++d) found = blue(x + d % 3 - 1, y + d / 3 - 1);
            EXPECT_TRUE(found) << "no blue near " << x << ", " << y;
            ++checked;
        }
        EXPECT_GE(checked, 4);
    }
}

}  // namespace
}  // namespace kalvoro
