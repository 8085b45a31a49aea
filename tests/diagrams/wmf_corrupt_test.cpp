// Damaged and hostile metafiles: each is refused with kalvoro::Error and a
// message that names the fault, and none makes the reader crash, read outside
// the buffer or loop.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "diagrams/recording.h"
#include "diagrams/wmf.h"
#include "engine/errors.h"
#include "wmf_test_util.h"

namespace kalvoro {
namespace {

using namespace kalvoro::test;
using namespace std::string_literals;

// Records of the base file, by index: 0 SETMAPMODE, 1 SETWINDOWORG,
// 2 SETWINDOWEXT, 3 CREATEBRUSH, 4 SELECT 0, 5 CREATEPEN null, 6 SELECT 1,
// 7 RECTANGLE, 8 CREATEPEN navy, 9 SELECT 2, 10 MOVETO, 11 LINETO, 12 CREATEFONT,
// 13 SELECT 3, 14 SETBKMODE, 15 SETBKCOLOR, 16 SETTEXTCOLOR, 17 TEXTOUT,
// 18 CREATEPEN red, 19 SELECT 4, 20 DELETE 2, 21 SELECT 1, 22 RECTANGLE,
// 23 SELECT 4, 24 EOF.
std::string baseFile()
{
    RecordingCanvas c(400, 200);
    c.fillRect(0, 0, 401, 201, colors::White);
    c.setPen(colors::Navy, 1);
    c.moveTo(10, 20);
    c.lineTo(30, 40);
    c.setFont("Times New Roman", 18);
    c.textOut(5, 6, "seção");
    c.setPen(colors::Red, 2);
    c.fillRect(1, 2, 3, 4, colors::White);
    return wmfBytes(c.recording());
}

std::size_t rec(const std::string& f, std::size_t i)
{
    return recordOffsets(f).at(i);
}

std::string messageOf(const std::string& bytes)
{
    try {
        readWmf(bytes);
    } catch (const Error& e) {
        return e.what();
    } catch (...) {
        return "<not a kalvoro::Error>";
    }
    return "<accepted>";
}

TEST(WmfReaderRejects, DamagedFiles)
{
    using Edit = std::function<void(std::string&)>;
    const struct {
        const char* name;
        Edit edit;
        const char* message;
    } rows[] = {
        {"wrong key", [](std::string& f) { f[3] = 0; }, "chave"},
        {"wrong checksum", [](std::string& f) { f[20] ^= 1; }, "soma de verificação"},
        {"handle not 0", [](std::string& f) { set16(f, 4, 1), fixChecksum(f); }, "handle"},
        {"reserved not 0", [](std::string& f) { set32(f, 16, 7), fixChecksum(f); }, "reservado"},
        {"empty frame", [](std::string& f) { set16(f, 10, 0), fixChecksum(f); }, "moldura"},
        {"zero units per inch", [](std::string& f) { set16(f, 14, 0), fixChecksum(f); }, "polegada"},
        {"header type 3", [](std::string& f) { set16(f, 22, 3); }, "tipo"},
        {"header size 10", [](std::string& f) { set16(f, 24, 10); }, "cabeçalho do metafile"},
        {"version 2.0", [](std::string& f) { set16(f, 26, 0x0200); }, "versão"},
        {"Size one word more", [](std::string& f) { set32(f, 28, get32(f, 28) + 1); }, "tamanho declarado"},
        {"Size huge", [](std::string& f) { set32(f, 28, 0xFFFFFFFF); }, "tamanho declarado"},
        {"only the placeable header", [](std::string& f) { f.resize(22); }, "curto demais"},
        {"cut inside a record", [](std::string& f) { f.resize(rec(f, 12) + 20), fixSize(f); }, "ultrapassa"},
        {"cut inside a record's size", [](std::string& f) { f.resize(rec(f, 12) + 4), fixSize(f); }, "fim"},
        {"cut on a record boundary", [](std::string& f) { f.resize(rec(f, 12)), fixSize(f); }, "falta"},
        {"no EOF", [](std::string& f) { f.resize(f.size() - 6), fixSize(f); }, "falta o registro de fim"},
        {"data after EOF", [](std::string& f) { f += record(0), fixSize(f); }, "depois do registro de fim"},
        {"EOF of 4 words", [](std::string& f) { set32(f, f.size() - 6, 4), f += "\0\0"s, fixSize(f); },
         "fim com tamanho"},
        {"record of 2 words", [](std::string& f) { set32(f, rec(f, 3), 2); }, "menor que 3"},
        {"record past the end", [](std::string& f) { set32(f, rec(f, 3), 0x10000); }, "ultrapassa"},
        {"record size overflowing", [](std::string& f) { set32(f, rec(f, 3), 0xFFFFFFFF); }, "ultrapassa"},
        {"MaxRecord too small", [](std::string& f) { set32(f, 34, 27); }, "MaxRecord"},
        {"unknown function", [](std::string& f) { set16(f, rec(f, 10) + 4, 0x0999); }, "desconhecida"},
        {"NumberOfObjects too small", [](std::string& f) { set16(f, 32, 4); }, "NumberOfObjects"},
        {"select outside the table", [](std::string& f) { set16(f, rec(f, 9) + 6, 7); }, "fora da tabela"},
        {"select a deleted object", [](std::string& f) { set16(f, rec(f, 23) + 6, 2); }, "sem objeto"},
        {"delete outside the table", [](std::string& f) { set16(f, rec(f, 20) + 6, 5); }, "fora da tabela"},
        {"delete twice",
         [](std::string& f) { set16(f, rec(f, 23) + 4, 0x01F0), set16(f, rec(f, 23) + 6, 2); }, "sem objeto"},
        {"text length past the record", [](std::string& f) { set16(f, rec(f, 17) + 6, 9); }, "curto demais"},
        {"pen record without its colour",
         [](std::string& f) { set32(f, rec(f, 8), 6), f.erase(rec(f, 8) + 12, 4), fixSize(f); },
         "curto demais"},
        {"font without its face",
         [](std::string& f) { set32(f, rec(f, 12), 10), f.erase(rec(f, 12) + 20, 36), fixSize(f); },
         "curto demais"},
        {"face name without its NUL",
         [](std::string& f) { f.replace(rec(f, 12) + 6 + 18, 32, std::string(32, 'A')); }, "terminador"},
        {"window too small for the page",
         [](std::string& f) { set16(f, rec(f, 2) + 6, 1), set16(f, rec(f, 2) + 8, 1); }, "coordenada fora"},
        {"dashed pen", [](std::string& f) { set16(f, rec(f, 8) + 6, 1); }, "estilo de caneta"},
        {"hatched brush", [](std::string& f) { set16(f, rec(f, 3) + 6, 2); }, "estilo de pincel"},
        {"rotated font", [](std::string& f) { set16(f, rec(f, 12) + 10, 900); }, "inclinada"},
        {"symbol character set", [](std::string& f) { f[rec(f, 12) + 6 + 13] = 2; },
         "conjunto de caracteres"},
        {"isotropic mapping", [](std::string& f) { set16(f, rec(f, 0) + 6, 7); }, "mapeamento"},
        {"zero window extent", [](std::string& f) { set16(f, rec(f, 2) + 8, 0); }, "extensão de janela"},
        {"baseline text alignment",
         [](std::string& f) { set16(f, rec(f, 14) + 4, 0x012E), set16(f, rec(f, 14) + 6, 24); },
         "alinhamento"},
    };
    for (const auto& row : rows) {
        std::string f = baseFile();
        row.edit(f);
        const std::string m = messageOf(f);
        EXPECT_NE(m.find(row.message), std::string::npos) << row.name << ": " << m;
    }
}

// Every prefix of a good file, with its Size field left alone or made to agree,
// is refused; a file with one bit flipped is refused with kalvoro::Error or read
// into a recording that survives writing and reading again.
TEST(WmfReaderRejects, EveryTruncationAndBitFlip)
{
    const std::string good = baseFile();
    ASSERT_EQ(messageOf(good), "<accepted>");
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::string f = good.substr(0, n);
        EXPECT_NE(messageOf(f), "<accepted>") << "prefix " << n;
        if (n >= 40) {
            fixSize(f);
            const std::string m = messageOf(f);
            EXPECT_TRUE(m != "<accepted>" && m != "<not a kalvoro::Error>") << "prefix " << n << ": " << m;
        }
    }
    // What the reader accepts it must be able to write and read back unchanged.
    int accepted = 0;
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string f = good;
            f[i] = static_cast<char>(f[i] ^ (1 << bit));
            const std::string m = messageOf(f);
            EXPECT_NE(m, "<not a kalvoro::Error>") << "byte " << i << " bit " << bit;
            if (m != "<accepted>") continue;
            ++accepted;
            const Recording rec = readWmf(f);
            EXPECT_EQ(readWmf(wmfBytes(rec)), rec) << "byte " << i << " bit " << bit;
        }
    }
    EXPECT_GT(accepted, 0);  // coordinates and colours, for instance, may take any value
}

}  // namespace
}  // namespace kalvoro
