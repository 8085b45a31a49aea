// Hostile inputs: titles the file can and cannot hold, and data files that are
// no beam at all. The titles must come back from the file exactly as the
// Windows-1252 file holds them and never disturb the rest of it; the junk must
// end in a reader status or a file error, never in a crash or a hang.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <random>

#include "data/beam_file.h"
#include "fault_helpers.h"

namespace kalvoro::faults {
namespace {

// Line 1 of the file, and everything after it.
std::string firstLine(const std::string& bytes)
{
    return bytes.substr(0, bytes.find("\r\n"));
}
std::string afterFirstLine(const std::string& bytes)
{
    return bytes.substr(bytes.find("\r\n"));
}

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        put(s / "exemplo.vig", example("dois-trechos.vig"));
        const ReadResult r = Abrir(s / "exemplo.vig", *model, nullptr);
        ASSERT_EQ(r.status, 0);
        tables = r.tables;
    }

    Scratch s;
    std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
    BeamTexts tables;
};

TEST_F(HostileInput, TitlesAreWrittenInWindows1252AndReadBackUnchanged)
{
    Salvar(s / "curto.vig", "t", tables);
    const std::string rest = afterFirstLine(bytesOf(s / "curto.vig"));

    struct Row {
        const char* typed;
        std::string line;  // the file's first line
        const char* read;  // the title the file gives back
    };
    const Row rows[] = {
        // é, the em dash (0x97 in Windows-1252, not Latin-1) and capitals with tilde.
        {"Viga contínua — ação de cargas ÇÃÕ", "Viga cont\xEDnua \x97 a\xE7\xE3o de cargas \xC7\xC3\xD5",
         "Viga contínua — ação de cargas ÇÃÕ"},
        // One "?" per character that Windows-1252 lacks, whatever its UTF-8 length.
        {"ponte 橋 ✓", "ponte ? ?", "ponte ? ?"},
        {"carga 🙂 de 5€", "carga ? de 5\x80", "carga ? de 5€"},
        // Bytes that are no UTF-8 at all: one "?" each.
        {"a\xFF\xC3z", "a??z", "a??z"},
        // A pasted line break would end the title early and spoil the file.
        {"primeira linha\nsegunda linha", "primeira linha segunda linha", "primeira linha segunda linha"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        Salvar(s / "viga.vig", row.typed, tables);
        const std::string written = bytesOf(s / "viga.vig");
        EXPECT_EQ(firstLine(written), row.line);
        EXPECT_EQ(afterFirstLine(written), rest);

        const ReadResult r = Abrir(s / "viga.vig", *model, nullptr);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.title, row.read);
        // What was read is written back byte for byte.
        Salvar(s / "de-novo.vig", r.title, r.tables);
        EXPECT_EQ(bytesOf(s / "de-novo.vig"), written);
    }
}

// A title of 100 000 characters goes through the writer, the reader and the
// whole batch run; the report does not depend on the title.
TEST_F(HostileInput, ATitleOfAHundredThousandCharacters)
{
    std::string title;
    for (int i = 0; i < 20000; ++i) title += "ação ";  // 5 characters, 7 bytes of UTF-8
    Salvar(s / "longo.vig", title, tables);
    const std::string written = bytesOf(s / "longo.vig");
    ASSERT_EQ(firstLine(written).size(), 100000u);
    EXPECT_EQ(firstLine(written).substr(0, 10), "a\xE7\xE3o a\xE7\xE3o ");

    const ReadResult r = Abrir(s / "longo.vig", *model, nullptr);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.title, title);
    Salvar(s / "de-novo.vig", r.title, r.tables);
    EXPECT_EQ(bytesOf(s / "de-novo.vig"), written);

    const BatchRun longRun = batch({s / "longo.vig"});
    ASSERT_EQ(longRun.code, 0) << longRun.err;
    ASSERT_EQ(batch({s / "exemplo.vig"}).code, 0);
    EXPECT_EQ(bytesOf(s / "longo.sai"), bytesOf(s / "exemplo.sai"));
    EXPECT_EQ(bytesOf(s / "longoM.wmf"), bytesOf(s / "exemploM.wmf"));
}

// Files that are no beam: each ends in a reader status, the same whether the
// file is only checked or analysed, and an analysis writes nothing.
TEST_F(HostileInput, JunkEndsInAReaderStatus)
{
    constexpr std::size_t TenMegabytes = 10 * 1024 * 1024;
    std::mt19937 random(8);
    std::string noise(TenMegabytes, '\0');
    for (char& c : noise) c = static_cast<char>(random());

    struct Row {
        const char* name;
        std::string bytes;
        int status;  // 0: any status from 1 to 7
    };
    const Row rows[] = {
        {"ruido", noise, 0},
        // One endless line: all title, no coordinates header after it.
        {"uma-linha", std::string(TenMegabytes, '7'), 2},
        // Numbers where the headers should be: the first count takes a whole
        // 10 MB line and cannot be a count.
        {"so-numeros", "t\r\n" + std::string(TenMegabytes, '9') + "\r\n", 2},
        {"vazio", "", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = s / (std::string(row.name) + ".vig");
        put(file, row.bytes);
        put(s / (std::string(row.name) + ".sai"), "anterior");

        const BatchRun check = batch({"--check", file});
        if (row.status != 0)
            EXPECT_EQ(check.code, row.status);
        else
            EXPECT_TRUE(check.code >= 1 && check.code <= 7) << check.code;
        EXPECT_EQ(check.out, ReaderMessages().at(static_cast<std::size_t>(check.code)) + "\n");

        const BatchRun full = batch({file});
        EXPECT_EQ(full.code, check.code);
        EXPECT_EQ(bytesOf(s / (std::string(row.name) + ".sai")), "anterior");
        EXPECT_FALSE(fs::exists(s / (std::string(row.name) + "M.wmf")));
        fs::remove(file);
    }
}

// Places that give bytes for ever, or none at all: the read must end.
TEST_F(HostileInput, EndlessAndSilentSources)
{
    // A device that never ends is refused once it is larger than any file the
    // program could have written, before it takes all the memory.
    const BatchRun zero = batch({"--check", "/dev/zero"});
    EXPECT_EQ(zero.code, batch_exit::FileError);
    EXPECT_NE(zero.err.find("/dev/zero"), std::string::npos) << zero.err;

    // A named pipe that no program writes to reads as an empty file.
    const std::string fifo = s / "fila.vig";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const BatchRun silent = batch({"--check", fifo});
    EXPECT_EQ(silent.code, 2);
}

}  // namespace
}  // namespace kalvoro::faults
