// What a user without the right to write meets: his own file protected
// against writing, a folder that is not his, a link to his data, a file of
// one of his other groups. Root may write anything, so each write runs in a
// child that has dropped to nobody (with nogroup and "users" as its groups);
// a test that cannot drop its privileges skips, since as root it proves nothing.

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "data/text_file.h"
#include "engine/errors.h"
#include "fault_helpers.h"

namespace kalvoro::faults {
namespace {

constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;
constexpr gid_t Users = 100;

// Runs write() as nobody in a child and returns what it said: "ok" or the
// text of the error it threw. Empty when the child could not drop privileges.
std::string asNobody(const std::function<void()>& write)
{
    int channel[2];
    if (::pipe(channel) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        ::close(channel[0]);
        const gid_t groups[] = {NoGroup, Users};
        std::string said;
        if (::setgroups(2, groups) == 0 && ::setgid(NoGroup) == 0 && ::setuid(Nobody) == 0 &&
            ::geteuid() != 0) {
            try {
                write();
                said = "ok";
            } catch (const std::exception& e) {
                said = e.what();
            }
        }
        if (::write(channel[1], said.data(), said.size()) < 0) ::_exit(1);
        ::_exit(0);  // no test-framework epilogue in the child
    }
    ::close(channel[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return said;
}

struct stat statOf(const std::string& path, bool follow = true)
{
    struct stat info {};
    if ((follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0)
        throw std::runtime_error("stat " + path);
    return info;
}

void own(const std::string& path, uid_t user, gid_t group, mode_t mode)
{
    if (::lchown(path.c_str(), user, group) != 0 || (mode != 0 && ::chmod(path.c_str(), mode) != 0))
        throw std::runtime_error("chown " + path);
}

TEST(PermissionFaults, AUserWithoutTheRightToWriteLosesNothing)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to prepare files for nobody and to drop to nobody";
    struct Row {
        const char* name;
        // Prepares the scratch folder (as root) and returns the name nobody writes.
        std::function<std::string(const Scratch&)> prepare;
        std::string expectedSaid;  // "ok" or the message; "%s" stands for the scratch folder
        std::function<void(const Scratch&)> check;
    };
    const Row rows[] = {
        {"his own file, mode 0444",
         [](const Scratch& s) {
             put(s / "viga.vig", "antes");
             own(s / "viga.vig", Nobody, NoGroup, 0444);
             return s / "viga.vig";
         },
         "O arquivo %s/viga.vig está protegido contra gravação.",
         [](const Scratch& s) {
             EXPECT_EQ(bytesOf(s / "viga.vig"), "antes");
             EXPECT_EQ(statOf(s / "viga.vig").st_mode & 07777, 0444u);
             EXPECT_EQ(statOf(s / "viga.vig").st_gid, NoGroup);
         }},
        {"a file in a folder that is not his (the packaged examples)",
         [](const Scratch& s) {
             fs::create_directory(s / "exemplos");
             put(s / "exemplos/viga.vig", "antes");
             return s / "exemplos/viga.vig";
         },
         "A pasta %s/exemplos não permite gravação.",
         [](const Scratch& s) {
             EXPECT_EQ(bytesOf(s / "exemplos/viga.vig"), "antes");
             EXPECT_EQ(std::distance(fs::directory_iterator(s / "exemplos"), {}), 1);
         }},
        {"a new file in a folder that is not his",
         [](const Scratch& s) {
             fs::create_directory(s / "exemplos");
             return s / "exemplos/viga.sai";
         },
         "A pasta %s/exemplos não permite gravação.",
         [](const Scratch& s) { EXPECT_TRUE(fs::is_empty(s / "exemplos")); }},
        {"a link to his file in another folder",
         [](const Scratch& s) {
             fs::create_directory(s / "dados");
             put(s / "dados/real.vig", "antes");
             own(s / "dados", Nobody, NoGroup, 0755);
             own(s / "dados/real.vig", Nobody, NoGroup, 0644);
             fs::create_symlink("dados/real.vig", s / "link.vig");
             return s / "link.vig";
         },
         "ok",
         [](const Scratch& s) {
             EXPECT_TRUE(fs::is_symlink(s / "link.vig"));
             EXPECT_EQ(bytesOf(s / "dados/real.vig"), "novo");
             EXPECT_EQ(std::distance(fs::directory_iterator(s / "dados"), {}), 1);
         }},
        {"a file of his other group",
         [](const Scratch& s) {
             put(s / "viga.vig", "antes");
             own(s / "viga.vig", Nobody, Users, 0640);
             return s / "viga.vig";
         },
         "ok",
         [](const Scratch& s) {
             EXPECT_EQ(bytesOf(s / "viga.vig"), "novo");
             EXPECT_EQ(statOf(s / "viga.vig").st_mode & 07777, 0640u);
             EXPECT_EQ(statOf(s / "viga.vig").st_uid, Nobody);
             EXPECT_EQ(statOf(s / "viga.vig").st_gid, Users);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Scratch s;
        own(s.path().string(), Nobody, NoGroup, 0755);  // his folder
        const std::string target = row.prepare(s);
        const std::string said = asNobody([&] { writeTextFile(target, "novo"); });
        if (said.empty()) GTEST_SKIP() << "cannot drop privileges to nobody";
        std::string expected = row.expectedSaid;
        if (const auto at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, s.path().string());
        EXPECT_EQ(said, expected);
        row.check(s);
    }
}

}  // namespace
}  // namespace kalvoro::faults
