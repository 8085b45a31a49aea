// Independent readers accept our files: libwmf's wmf2svg parses the metafile,
// ImageMagick renders it at one unit per pixel and the pixels land where the
// recording put them, and xmllint parses the SVG page. A missing tool is a
// failure that names the Debian package to install, never a silent pass.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "diagrams/recording.h"
#include "diagrams/svg.h"
#include "diagrams/wmf.h"
#include "wmf_test_util.h"

namespace kalvoro {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

bool onPath(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; its exit status, and stderr in *err.
int run(const std::string& cmd, const TempDir& dir, std::string* err)
{
    const std::string errFile = dir / "stderr.txt";
    const int status = std::system((cmd + " >/dev/null 2>" + errFile).c_str());
    std::ifstream in(errFile);
    err->assign(std::istreambuf_iterator<char>(in), {});
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The page the tools are shown: a white page, a red square, a blue hairline
// across and one down, a green line three pixels wide, text with accents.
Recording toolPage()
{
    RecordingCanvas c(400, 200);
    c.fillRect(0, 0, 401, 201, colors::White);
    c.fillRect(300, 60, 340, 100, colors::Red);
    c.setPen(colors::Blue, 1);
    c.moveTo(50, 120);
    c.lineTo(250, 120);
    c.moveTo(20, 30);
    c.lineTo(20, 180);
    c.setPen(colors::Green, 3);
    c.moveTo(50, 160);
    c.lineTo(250, 160);
    c.setFont("Times New Roman", 18);
    c.textOut(100, 10, "Linha de Influência (trecho:1 seção:2.5)");
    return c.take();
}

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    Color at(int x, int y) const
    {
        const std::size_t i =
            3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
        return Color{rgb.at(i), rgb.at(i + 1), rgb.at(i + 2)};
    }
};

// A binary PPM as ImageMagick writes it: "P6\n<w> <h>\n255\n" and the raster.
Image readPpm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), {});
    Image img;
    const char* p = data.data();
    const char* end = p + data.size();
    if (data.compare(0, 3, "P6\n") != 0) return img;
    p += 3;
    int max = 0;
    for (int* v : {&img.width, &img.height, &max}) {
        const auto r = std::from_chars(p, end, *v);
        if (r.ec != std::errc() || r.ptr == end) return Image{};
        p = r.ptr + 1;
    }
    img.rgb.assign(p, end);
    if (max != 255 ||
        img.rgb.size() != 3u * static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height))
        return Image{};
    return img;
}

bool near(Color c, Color want, int tolerance)
{
    return std::abs(c.r - want.r) <= tolerance && std::abs(c.g - want.g) <= tolerance &&
           std::abs(c.b - want.b) <= tolerance;
}
// Anti-aliasing spreads a hairline over two rows at about half intensity.
bool bluish(Color c)
{
    return c.b >= 200 && c.r <= 190 && c.g <= 190;
}
bool white(Color c)
{
    return near(c, colors::White, 10);
}

TEST(IndependentReaders, Wmf2svgParsesOurPage)
{
    ASSERT_TRUE(onPath("wmf2svg")) << "wmf2svg is missing: apt-get install libwmf-bin fonts-urw-base35";
    ASSERT_TRUE(fs::exists("/usr/share/fonts/type1/urw-base35"))
        << "libwmf needs its fonts: apt-get install fonts-urw-base35";
    TempDir dir;
    writeWmf(dir / "page.wmf", toolPage());
    std::string err;
    EXPECT_EQ(run("wmf2svg -o " + (dir / "page.svg") + " " + (dir / "page.wmf"), dir, &err), 0) << err;
    EXPECT_GT(fs::file_size(dir / "page.svg"), 0u);
}

TEST(IndependentReaders, ImageMagickDrawsThePixelsWhereTheRecordingPutThem)
{
    ASSERT_TRUE(fs::exists("/usr/bin/convert"))
        << "ImageMagick is missing: apt-get install imagemagick libmagickcore-6.q16-6-extra fonts-urw-base35";
    TempDir dir;
    writeWmf(dir / "page.wmf", toolPage());
    std::string err;
    ASSERT_EQ(run("/usr/bin/convert -density 96 " + (dir / "page.wmf") + " " + (dir / "page.png"), dir, &err),
              0)
        << err
        << "\n(ImageMagick reads WMF through libmagickcore-6.q16-6-extra, which needs fonts-urw-base35)";
    ASSERT_EQ(run("/usr/bin/convert " + (dir / "page.png") + " -depth 8 " + (dir / "page.ppm"), dir, &err), 0)
        << err;
    const Image img = readPpm(dir / "page.ppm");
    ASSERT_EQ(img.width, 400);
    ASSERT_EQ(img.height, 200);

    // The horizontal hairline at y = 120 from x = 50 to 250, within a pixel.
    for (int x : {55, 150, 245}) {
        bool hit = false;
        for (int y = 119; y <= 121; ++y) hit = hit || bluish(img.at(x, y));
        EXPECT_TRUE(hit) << "no blue at x " << x << " near y 120";
        EXPECT_TRUE(white(img.at(x, 116)) && white(img.at(x, 124))) << "blue strays from y 120 at x " << x;
    }
    EXPECT_TRUE(white(img.at(45, 120)) && white(img.at(256, 120))) << "the hairline overruns its ends";
    // The vertical hairline at x = 20 from y = 30 to 180.
    for (int y : {40, 100, 170}) {
        bool hit = false;
        for (int x = 19; x <= 21; ++x) hit = hit || bluish(img.at(x, y));
        EXPECT_TRUE(hit) << "no blue at y " << y << " near x 20";
        EXPECT_TRUE(white(img.at(16, y)) && white(img.at(24, y))) << "blue strays from x 20 at y " << y;
    }
    // The three-pixel green line at y = 160 holds the pen's own colour at its centre.
    EXPECT_TRUE(near(img.at(150, 160), colors::Green, 40));
    EXPECT_TRUE(white(img.at(150, 155)) && white(img.at(150, 165)));
    // The red square 300..339 x 60..99.
    EXPECT_TRUE(near(img.at(320, 80), colors::Red, 10));
    EXPECT_TRUE(near(img.at(302, 62), colors::Red, 10) && near(img.at(337, 97), colors::Red, 10));
    EXPECT_TRUE(white(img.at(297, 80)) && white(img.at(343, 80)) && white(img.at(320, 57)) &&
                white(img.at(320, 103)));
    // Dark glyphs in the title's cell and nowhere below the square.
    int dark = 0;
    for (int y = 10; y < 28; ++y)
        for (int x = 100; x < 400; ++x) dark += img.at(x, y).r < 100 && img.at(x, y).g < 100;
    EXPECT_GT(dark, 100);
    EXPECT_TRUE(white(img.at(380, 190)));
}

// Files of other writers, one of them at 1440 units per inch, come out of
// ImageMagick at the page size our reader gives them.
TEST(IndependentReaders, ImageMagickAgreesOnThePageSizeOfOtherFiles)
{
    ASSERT_TRUE(fs::exists("/usr/bin/convert"))
        << "ImageMagick is missing: apt-get install imagemagick libmagickcore-6.q16-6-extra fonts-urw-base35";
    TempDir dir;
    for (const char* name : {"other-writer.wmf", "twips.wmf", "small-page.wmf"}) {
        const std::string file = std::string(KALVORO_TEST_DATA) + "/wmf/" + name;
        const Recording rec = readWmfFile(file);
        std::string err;
        ASSERT_EQ(run("/usr/bin/convert -density 96 " + file + " -depth 8 " + (dir / "page.ppm"), dir, &err),
                  0)
            << err;
        const Image img = readPpm(dir / "page.ppm");
        EXPECT_EQ(img.width, rec.width) << name;
        EXPECT_EQ(img.height, rec.height) << name;
    }
}

TEST(IndependentReaders, XmllintParsesOurSvg)
{
    ASSERT_TRUE(onPath("xmllint")) << "xmllint is missing: apt-get install libxml2-utils";
    TempDir dir;
    RecordingCanvas c(100, 50);
    replay(toolPage(), c);
    c.textOut(0, 30, "a < b & c > \"d\" 'e' \x01 \xFF");
    writeSvg(dir / "page.svg", c.recording());
    std::string err;
    EXPECT_EQ(run("xmllint --noout " + (dir / "page.svg"), dir, &err), 0) << err;
}

}  // namespace
}  // namespace kalvoro
