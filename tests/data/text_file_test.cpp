#include "data/text_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "data/file_names.h"
#include "data/system_errors.h"
#include "engine/errors.h"

namespace kalvoro {
namespace {

namespace fs = std::filesystem;

TEST(Cp1252, ConvertsBothWays)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);  // the five undefined bytes included

    const std::pair<std::string, std::string> both[] = {
        {"ÇçÃãÊêº€", "\xC7\xE7\xC3\xE3\xCA\xEA\xBA\x80"},
        {"ŠšŒœŽžŸ‚„…‰‹›‘’“”•–—™",
         "\x8A\x9A\x8C\x9C\x8E\x9E\x9F\x82\x84\x85\x89\x8B\x9B\x91\x92\x93\x94\x95\x96\x97\x99"},
        {"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
    };
    for (const auto& [utf8, bytes] : both) {
        EXPECT_EQ(utf8ToCp1252(utf8), bytes);
        EXPECT_EQ(cp1252ToUtf8(bytes), utf8);
    }
    // What Windows-1252 cannot hold, and what is not UTF-8, is "?" per character or byte.
    const std::pair<std::string, std::string> lossy[] = {
        {"a→b", "a?b"},
        {"\xF0\x9F\x98\x80", "?"},
        {"\u0080", "?"},
        {"ab\xC3", "ab?"},
        {"\xC0\xAF", "??"},
        {"\xED\xA0\x80", "???"},
        {"\xF4\x90\x80\x80", "????"},
    };
    for (const auto& [utf8, bytes] : lossy) EXPECT_EQ(utf8ToCp1252(utf8), bytes) << utf8;

    // What the user is told was lost: each such character once, a typed "?" never.
    const std::pair<std::string, std::string> lost[] = {
        {"Viga ÇÃ € ?", ""},
        {"a→b→c ☃", "→☃"},
        {"x\xC3y", "\uFFFD"},
    };
    for (const auto& [utf8, shown] : lost) EXPECT_EQ(lostInCp1252(utf8), shown) << utf8;
}

TEST(DerivedNames, CutAtTheFirstDotOfTheFileName)
{
    const char* rows[][3] = {
        {"/d/viga1.vig", ".sai", "/d/viga1.sai"},
        {"./viga.vig", "M.wmf", "./vigaM.wmf"},
        {"/home/u/.config/v.vig", "C.wmf", "/home/u/.config/vC.wmf"},
        {"viga.v2.vig", ".sai", "viga.sai"},
        {"viga", "LIM.sai", "vigaLIM.sai"},
        {"C:\\dados.v1\\viga1.vig", "LIM.wmf", "C:\\dados.v1\\viga1LIM.wmf"},
        // A hidden file's leading dots are part of its name.
        {"/d/.viga.vig", ".sai", "/d/.viga.sai"},
        {".viga.vig", "M.wmf", ".vigaM.wmf"},
        {"/d/..v.x.vig", "C.wmf", "/d/..vC.wmf"},
        {"/d/.vig", ".sai", "/d/.vig.sai"},
    };
    for (const auto& row : rows) EXPECT_EQ(derivedName(row[0], row[1]), row[2]) << row[0];
}

TEST(SystemErrors, CommonCausesArePortuguese)
{
    const std::pair<int, const char*> rows[] = {
        {ENOENT, "arquivo ou pasta não encontrado"},
        {EISDIR, "é uma pasta"},
        {EACCES, "permissão negada"},
        {EROFS, "sistema de arquivos somente para leitura"},
        {ENOSPC, "disco cheio"},
        {EFBIG, "arquivo grande demais"},
        {EPERM, "operação não permitida"},
    };
    for (const auto& [error, text] : rows) EXPECT_EQ(systemErrorText(error), text) << error;
    // The rare rest keeps the system's own text.
    EXPECT_EQ(systemErrorText(EXDEV), std::strerror(EXDEV));

    // And so the messages of a failed read say it in Portuguese.
    const auto readError = [](const std::string& path) {
        try {
            readFileBytes(path);
        } catch (const IoError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const fs::path missing = fs::temp_directory_path() / "kalvoro-nao-existe.vig";
    EXPECT_EQ(readError(missing.string()),
              missing.string() + ": não foi possível abrir o arquivo: arquivo ou pasta não encontrado");
    EXPECT_EQ(readError(fs::temp_directory_path().string()),
              fs::temp_directory_path().string() + ": não foi possível ler o arquivo: é uma pasta");
}

class AtomicWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kalvoro-text-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        writeFileAtomically(path("v.vig"), "antigo");
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    // The earlier file is intact and no temporary file is left behind.
    void expectUntouched()
    {
        EXPECT_EQ(readFileBytes(path("v.vig")), "antigo");
        for (const auto& e : fs::directory_iterator(folder))
            EXPECT_TRUE(e.path().filename() == "v.vig" || e.path().filename() == "pasta") << e.path();
    }

    fs::path folder;
};

TEST_F(AtomicWrite, ReplacesWholeFiles)
{
    const std::string bytes("A\r\nB\0C\xFF", 7);
    writeFileAtomically(path("v.vig"), bytes);
    EXPECT_EQ(readFileBytes(path("v.vig")), bytes);
    writeTextFile(path("v.vig"), "Seção\r\n");
    EXPECT_EQ(readFileBytes(path("v.vig")), "Se\xE7\xE3o\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// A replaced file keeps its mode, whether or not it is the one a new file
// gets; a new file has 0666 less the umask. Files of 0 bytes, of the size a
// single read asks for and beyond it read back whole.
TEST_F(AtomicWrite, KeepsPermissionsAndReadsEverySize)
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t(0666 & ~mask), mode_t{04755}}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(::chmod(path("v.vig").c_str(), mode), 0);
        writeFileAtomically(path("v.vig"), "novo");
        struct stat info;
        ASSERT_EQ(::stat(path("v.vig").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
    }
    writeFileAtomically(path("nova.vig"), "");
    struct stat info;
    ASSERT_EQ(::stat(path("nova.vig").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode_t(0666 & ~mask));
    for (const std::size_t size : {0UL, 1UL, 65536UL, 65537UL, 200000UL}) {
        const std::string bytes(size, 'x');
        writeFileAtomically(path("nova.vig"), bytes);
        EXPECT_EQ(readFileBytes(path("nova.vig")), bytes) << size;
    }
}

// Root ignores permissions, so the unwritable places are ones no one can
// write: a folder that is a regular file or does not exist, /proc, a
// directory's own name.
TEST_F(AtomicWrite, FailuresThrowAndKeepTheEarlierFile)
{
    fs::create_directory(folder / "pasta");
    for (const auto& target : {path("v.vig/novo.vig"), path("falta/novo.vig"), std::string("/proc/novo.vig"),
                               path("pasta"), std::string()}) {
        EXPECT_THROW(writeFileAtomically(target, "novo"), IoError) << target;
    }
    for (const auto& target : {path("falta.vig"), path("pasta"), std::string()})
        EXPECT_THROW(readFileBytes(target), IoError) << target;
    expectUntouched();
    EXPECT_TRUE(fs::is_empty(folder / "pasta"));
}

// The file size limit makes write() fail part of the way, as a full disk does.
TEST_F(AtomicWrite, AWriteThatFailsHalfwayLeavesNoTrace)
{
    rlimit saved, limited;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    limited = saved;
    limited.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    EXPECT_THROW(writeFileAtomically(path("v.vig"), std::string(100000, 'x')), IoError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    expectUntouched();
}

}  // namespace
}  // namespace kalvoro
