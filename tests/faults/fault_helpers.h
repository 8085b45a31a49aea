#pragma once
// What the fault scenarios share: a scratch folder per test, byte-exact file
// access that does not go through the program's own file code, and the batch
// program run in this process or in a child whose files cannot grow past a
// given size (a disk that fills up part of the way through a write).

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch.h"

namespace kalvoro::faults {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it at the end of the test.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (fs::temp_directory_path() / "kalvoro-faults-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        path_ = pattern;
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }

    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // The names in the folder, to show that a failure left nothing behind.
    std::set<std::string> names() const
    {
        std::set<std::string> s;
        for (const auto& e : fs::directory_iterator(path_)) s.insert(e.path().filename().string());
        return s;
    }

private:
    fs::path path_;
};

inline std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void put(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

inline std::string example(const std::string& name)
{
    return bytesOf(std::string(KALVORO_EXAMPLES) + "/" + name);
}

struct BatchRun {
    int code = -1;
    std::string out, err;
};

inline BatchRun batch(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    BatchRun r;
    r.code = runBatch(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// The batch program in a child process that may not make any file larger than
// maxFileBytes: a write past it fails (EFBIG) as one on a full disk does. The
// exit code and the messages come back through a pipe, which the limit spares.
inline BatchRun batchOnAFillingDisk(const std::vector<std::string>& args, rlim_t maxFileBytes)
{
    int channel[2];
    if (::pipe(channel) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork");
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{maxFileBytes, maxFileBytes};
        int code = 100;
        std::string err;
        if (::setrlimit(RLIMIT_FSIZE, &limit) == 0) {
            const BatchRun r = batch(args);
            code = r.code;
            err = r.err;
        }
        const std::string message = static_cast<char>(code) + err;
        for (std::size_t at = 0; at < message.size();) {
            const ssize_t n = ::write(channel[1], message.data() + at, message.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);  // no test-framework or leak-check epilogue in the child
    }
    ::close(channel[1]);
    std::string message;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    BatchRun r;
    if (!message.empty()) {
        r.code = static_cast<unsigned char>(message[0]);
        r.err = message.substr(1);
    }
    return r;
}

}  // namespace kalvoro::faults
