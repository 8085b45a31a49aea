// Outputs that cannot be written: a name taken by a folder, a folder where
// nothing can be created, a disk that fills up, a standard output that takes
// nothing. Each run must end with the file error (exit 9) naming the path, and
// every file of an output's name must afterwards hold either its earlier bytes
// or the whole new output: never a part of one, never a temporary file.
//
// The tests run as root, so permission bits stop nothing; the blocked places
// are ones that no one can write.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "data/beam_file.h"
#include "engine/errors.h"
#include "fault_helpers.h"

namespace kalvoro::faults {
namespace {

// In the order in which the batch program writes them.
constexpr std::array<const char*, 7> Outputs = {".sai",    "M.wmf",   "C.wmf", "D.wmf",
                                                "LIM.sai", "LIM.wmf", ".json"};
const std::vector<std::string> InfluenceArgs = {"--json", "--influence", "1", "0.5"};

std::string earlier(std::size_t i)
{
    return std::string("saída anterior ") + Outputs[i] + "\r\n";
}

class OutputFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The complete outputs of a run that nothing disturbs.
        Scratch s;
        put(s / "viga.vig", example("dois-trechos.vig"));
        auto args = InfluenceArgs;
        args.push_back(s / "viga.vig");
        const BatchRun r = batch(args);
        ASSERT_EQ(r.code, 0) << r.err;
        for (std::size_t i = 0; i < Outputs.size(); ++i)
            complete[i] = bytesOf(s / ("viga" + std::string(Outputs[i])));
        // The report is the hand-written one of this beam.
        ASSERT_EQ(complete[0], bytesOf(std::string(KALVORO_TEST_DATA) + "/dois-trechos.sai"));
    }

    // The beam and an earlier file under every output name.
    void prepare(const Scratch& s)
    {
        put(s / "viga.vig", example("dois-trechos.vig"));
        for (std::size_t i = 0; i < Outputs.size(); ++i) put(output(s, i), earlier(i));
    }
    static std::string output(const Scratch& s, std::size_t i)
    {
        return s / ("viga" + std::string(Outputs[i]));
    }

    // Outputs before `failed` are complete and new, the rest keep their earlier bytes.
    void expectWrittenUpTo(const Scratch& s, std::size_t failed)
    {
        for (std::size_t i = 0; i < Outputs.size(); ++i) {
            if (i < failed)
                EXPECT_EQ(bytesOf(output(s, i)), complete[i]) << Outputs[i] << " should be the new output";
            else
                EXPECT_EQ(bytesOf(output(s, i)), earlier(i)) << Outputs[i] << " should be left as it was";
        }
        EXPECT_EQ(bytesOf(s / "viga.vig"), example("dois-trechos.vig"));
        std::set<std::string> expected = {"viga.vig"};
        for (const char* o : Outputs) expected.insert("viga" + std::string(o));
        EXPECT_EQ(s.names(), expected);
    }

    BatchRun run(const Scratch& s)
    {
        auto args = InfluenceArgs;
        args.push_back(s / "viga.vig");
        return batch(args);
    }

    static std::array<std::string, Outputs.size()> complete;
};

std::array<std::string, Outputs.size()> OutputFaults::complete;

// A folder under an output's name: its file cannot be replaced (rename refuses).
TEST_F(OutputFaults, EachOutputBlockedByAFolderOfItsName)
{
    for (std::size_t blocked = 0; blocked < Outputs.size(); ++blocked) {
        SCOPED_TRACE(Outputs[blocked]);
        Scratch s;
        prepare(s);
        fs::remove(output(s, blocked));
        fs::create_directory(output(s, blocked));
        put(output(s, blocked) + "/guardado.txt", "guardado");

        const BatchRun r = run(s);
        EXPECT_EQ(r.code, batch_exit::FileError) << r.err;
        EXPECT_NE(r.err.find(output(s, blocked) + ":"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");

        EXPECT_EQ(bytesOf(output(s, blocked) + "/guardado.txt"), "guardado");
        fs::remove_all(output(s, blocked));
        put(output(s, blocked), earlier(blocked));
        expectWrittenUpTo(s, blocked);
    }
}

// The disk fills up at sizes around each output's: the first output larger
// than the room fails, those before it are complete, the rest untouched.
TEST_F(OutputFaults, ADiskThatFillsUpLosesNoFile)
{
    std::vector<rlim_t> limits = {0, 1};
    for (const auto& bytes : complete) {
        limits.push_back(bytes.size() - 1);
        limits.push_back(bytes.size());
    }
    for (const rlim_t limit : limits) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        Scratch s;
        prepare(s);
        std::size_t failed = 0;
        while (failed < Outputs.size() && complete[failed].size() <= limit) ++failed;

        auto args = InfluenceArgs;
        args.push_back(s / "viga.vig");
        const BatchRun r = batchOnAFillingDisk(args, limit);
        if (failed == Outputs.size()) {
            EXPECT_EQ(r.code, batch_exit::Ok) << r.err;
        } else {
            EXPECT_EQ(r.code, batch_exit::FileError) << r.err;
            EXPECT_NE(r.err.find(output(s, failed) + ":"), std::string::npos) << r.err;
        }
        expectWrittenUpTo(s, failed);
    }
}

// Opened through /proc/self/fd the data file is readable, but nothing can be
// created beside it: the report's place does not take new files.
TEST_F(OutputFaults, AFolderThatTakesNoNewFile)
{
    Scratch s;
    put(s / "viga.vig", example("dois-trechos.vig"));
    const int fd = ::open((s / "viga.vig").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const std::string viaProc = "/proc/self/fd/" + std::to_string(fd);

    EXPECT_EQ(batch({"--check", viaProc}).code, 0);
    const BatchRun r = batch({viaProc});
    EXPECT_EQ(r.code, batch_exit::FileError);
    EXPECT_NE(r.err.find(viaProc + ".sai:"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");

    // The name is a link to the data file: writing the data file through it
    // replaces the file it names, in that file's own folder.
    auto model = std::make_unique<AnalysisModel>();
    const ReadResult read = Abrir(viaProc, *model, nullptr);
    ASSERT_EQ(read.status, 0);
    Salvar(viaProc, "outro título", read.tables);
    ::close(fd);
    EXPECT_EQ(bytesOf(s / "viga.vig").rfind("outro t\xedtulo\r\nCOORDENADAS", 0), 0u);
    EXPECT_EQ(s.names(), std::set<std::string>{"viga.vig"});
}

// A data file name that is a folder: the reader refuses it before any step
// (the model keeps the beam it held), the writer refuses it and changes
// nothing, the batch program ends with the file error.
TEST_F(OutputFaults, ADataFileNameThatIsAFolder)
{
    Scratch s;
    put(s / "boa.vig", example("tres-trechos.vig"));
    auto model = std::make_unique<AnalysisModel>();
    const ReadResult good = Abrir(s / "boa.vig", *model, nullptr);
    ASSERT_EQ(good.status, 0);
    const auto nodes = model->NodeCount;
    const double lastX = model->Coord(nodes, 1);

    const std::string folder = s / "viga.vig";
    fs::create_directory(folder);
    put(folder + "/dentro.txt", "dentro");
    const auto before = s.names();

    const auto expectNamed = [&](const Error& e) {
        EXPECT_NE(std::string(e.what()).find(folder), std::string::npos) << e.what();
    };
    try {
        Abrir(folder, *model, nullptr);
        ADD_FAILURE() << "a folder was read as a data file";
    } catch (const IoError& e) {
        expectNamed(e);
    }
    EXPECT_EQ(model->NodeCount, nodes);
    EXPECT_EQ(model->Coord(nodes, 1), lastX);

    try {
        Salvar(folder, "título", good.tables);
        ADD_FAILURE() << "a data file replaced a folder";
    } catch (const IoError& e) {
        expectNamed(e);
    }

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{folder}, {"--check", folder}, {"--influence", "1", "1", folder}}) {
        const BatchRun r = batch(args);
        EXPECT_EQ(r.code, batch_exit::FileError) << args.front();
        EXPECT_NE(r.err.find(folder), std::string::npos) << r.err;
    }
    EXPECT_EQ(s.names(), before);
    EXPECT_EQ(bytesOf(folder + "/dentro.txt"), "dentro");
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "dentro.txt");
}

// The report printed on a standard output that takes nothing (/dev/full) is
// lost; the run must say so and not end as a success.
TEST_F(OutputFaults, AStandardOutputThatTakesNothing)
{
    Scratch s;
    put(s / "viga.vig", example("dois-trechos.vig"));
    for (const char* options : {"", "--check ", "--influence 1 0.5 "}) {
        SCOPED_TRACE(options);
        const std::string command = std::string(KALVORO_BATCH) + " " + options + "'" + (s / "viga.vig") +
                                    "' > /dev/full 2> '" + (s / "err.txt") + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), batch_exit::FileError);
        EXPECT_NE(bytesOf(s / "err.txt").find("saída padrão"), std::string::npos) << bytesOf(s / "err.txt");
    }
    // The files were written all the same; only the printed copy was lost.
    EXPECT_EQ(bytesOf(s / "viga.sai"), complete[0]);
}

}  // namespace
}  // namespace kalvoro::faults
