#include "data/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "data/system_errors.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

// Code points of bytes 0x80..0x9F. The five bytes Windows-1252 leaves
// undefined map to the C1 control of the same number, so every byte has a
// code point and comes back unchanged; 0xA0..0xFF are Latin-1.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t codePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F) return HighControls[byte - 0x80];
    return byte;
}

// The byte for a code point, or '?' when Windows-1252 has none.
char byteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {  // every code point of the table lies below 0x10000
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when the
// bytes there are not a well-formed sequence (overlong forms, surrogates and
// values above U+10FFFF included).
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& c)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

// Nothing the program reads (beam data file, report, metafile) comes near
// this; a device that never ends (/dev/zero) must not take all the memory.
constexpr std::size_t MaxFileBytes = std::size_t{64} << 20;

[[noreturn]] void fail(const std::string& path, const std::string& what, int error)
{
    throw IoError(path + ": " + what + ": " + systemErrorText(error));
}

// Closes a descriptor and removes the temporary file unless released.
class TempFile {
public:
    TempFile(std::string name, int fd) : name_(std::move(name)), fd_(fd) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile()
    {
        if (fd_ >= 0) ::close(fd_);
        if (!released_) ::unlink(name_.c_str());
    }
    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    // Closes explicitly, since a failing close can be the first sign of a lost write.
    int close()
    {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }
    void release() { released_ = true; }

private:
    std::string name_;
    int fd_;
    bool released_ = false;
};

// The folder part of a path, as the user reads it: the current folder's full
// name for a bare file name.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == 0) return "/";
    if (slash != std::string::npos) return path.substr(0, slash);
    char here[PATH_MAX];
    return ::getcwd(here, sizeof here) ? std::string(here) : std::string(".");
}

[[noreturn]] void folderRefuses(const std::string& path)
{
    throw NotWritableError("A pasta " + folderOf(path) + " não permite gravação.");
}

// The file a write really replaces: a symbolic link is followed to its target
// (a relative target from the link's folder), so that the link stays a link
// and the data reach the file it names; a dangling link names the file to create.
std::string followLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) == sizeof target) return path;
        const std::string to(target, static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        path = to.front() == '/' || slash == std::string::npos ? to : path.substr(0, slash + 1) + to;
    }
    fail(path, "não foi possível substituir o arquivo", ELOOP);
}

// A file the user may not write is never replaced, although the rename would
// only need the folder's permission. In a folder that is not his either (the
// packaged examples) the folder is what he must change, so it is named.
void refuseProtected(const std::string& shownName, const std::string& target)
{
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT) return;
    if (errno == EROFS) folderRefuses(target);
    if (errno != EACCES && errno != EPERM) return;  // the write itself meets it
    if (::faccessat(AT_FDCWD, folderOf(target).c_str(), W_OK | X_OK, AT_EACCESS) != 0) folderRefuses(target);
    throw NotWritableError("O arquivo " + shownName + " está protegido contra gravação.");
}

// The mode a new file gets from createTempBeside: 0666 less the umask, which
// the process reads once from /proc (reading it with umask() would change it
// for a moment under any other thread; the program never changes it). An
// unknown umask gives a mode no file has, so that the permissions are then
// always set explicitly.
mode_t newFileMode()
{
    static const mode_t mode = [] {
        const mode_t unknown = ~mode_t{0};
        const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
        if (fd < 0) return unknown;
        char text[4096];
        const ssize_t n = ::read(fd, text, sizeof text - 1);
        ::close(fd);
        if (n <= 0) return unknown;
        text[n] = '\0';
        const char* line = std::strstr(text, "\nUmask:");
        if (!line) return unknown;
        char* end = nullptr;
        const unsigned long mask = std::strtoul(line + 7, &end, 8);
        if (end == line + 7 || mask > 0777) return unknown;
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

TempFile createTempBeside(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    // Shortened, so that a name near the system's limit still leaves room for the suffix.
    const std::string name = (slash == std::string::npos ? path : path.substr(slash + 1)).substr(0, 100);
    // Seeded once per thread: opening the system's random source for every
    // file written costs more than the write itself, and O_EXCL settles any
    // clash of names anyway.
    thread_local std::mt19937 random(std::random_device{}());
    for (int attempt = 0;; ++attempt) {
        std::string temp = folder + "." + name + "." + std::to_string(random() % 1000000) + ".tmp";
        // 0666 and the umask, as any other new file of the user's.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return TempFile(std::move(temp), fd);
        if (errno == EACCES || errno == EPERM || errno == EROFS) folderRefuses(path);
        if (errno != EEXIST || attempt == 100) fail(path, "não foi possível criar o arquivo", errno);
    }
}

}  // namespace

std::string utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(utf8, i, c);
        if (length == 0) {
            out += '?';
            ++i;
        } else {
            out += byteOf(c);
            i += length;
        }
    }
    return out;
}

std::string lostInCp1252(std::string_view utf8)
{
    std::string lost;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(utf8, i, c);
        if (length == 0 || (c != U'?' && byteOf(c) == '?')) {
            const std::string shown = length == 0 ? "\uFFFD" : std::string(utf8.substr(i, length));
            if (lost.find(shown) == std::string::npos) lost += shown;
        }
        i += length == 0 ? 1 : length;
    }
    return lost;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char b : bytes) appendUtf8(out, codePointOf(static_cast<unsigned char>(b)));
    return out;
}

void writeFileAtomically(const std::string& path, std::string_view bytes, bool durable)
{
    if (path.empty()) throw IoError("nome de arquivo vazio");
    const std::string target = followLinks(path);
    refuseProtected(path, target);
    TempFile temp = createTempBeside(target);

    // A file being replaced keeps its owner and group where we may set them
    // (a user may give a file to any of his groups), then its permissions,
    // which a change of owner may have cleared. The new file is the user's,
    // with 0666 less the umask, which is as a rule what the old one has too,
    // so most replacements need neither call.
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        const bool sameOwner = existing.st_uid == ::geteuid() && existing.st_gid == ::getegid();
        if (!sameOwner && ::fchown(temp.fd(), existing.st_uid, existing.st_gid) != 0 &&
            ::fchown(temp.fd(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
            // The file then belongs to the user and his group, as any new one.
        }
        if (!sameOwner || (existing.st_mode & 07777) != newFileMode())
            ::fchmod(temp.fd(), existing.st_mode & 07777);
    }

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(temp.fd(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(path, "erro de gravação", errno);
        }
        written += static_cast<std::size_t>(n);
    }
    // Without `durable` there is no fsync: the rename alone makes the new file
    // appear whole or not at all to every reader, and a failed write or a
    // killed program leaves the old file. Only a crash of the whole system in
    // the seconds after the rename is left to the file system. Reports and
    // diagrams can always be made again, and waiting for the disk would cost
    // several milliseconds on every redraw; the user's data file cannot, so
    // it is written durably.
    if (durable && ::fsync(temp.fd()) != 0) fail(path, "erro de gravação", errno);
    if (temp.close() != 0) fail(path, "erro de gravação", errno);
    if (::rename(temp.name().c_str(), target.c_str()) != 0)
        fail(path, "não foi possível substituir o arquivo", errno);
    temp.release();
}

void writeTextFile(const std::string& path, std::string_view utf8, bool durable)
{
    writeFileAtomically(path, utf8ToCp1252(utf8), durable);
}

std::string readFileBytes(const std::string& path)
{
    // Opened without waiting: a named pipe that no one writes to would hold
    // open() for ever. Reads wait again as usual once the file is open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) fail(path, "não foi possível abrir o arquivo", errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info;
    if (::fstat(fd, &info) != 0) fail(path, "não foi possível ler o arquivo", errno);
    if (S_ISDIR(info.st_mode)) fail(path, "não foi possível ler o arquivo", EISDIR);
    // A regular file never waits, with or without the flag.
    const bool regular = S_ISREG(info.st_mode);
    if (!regular) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            fail(path, "não foi possível abrir o arquivo", errno);
    }

    // Read straight into the result, asking each time for more than is
    // expected: a regular file then comes in one read, whose short count
    // says it has ended (the kernel hands a regular file over in full up to
    // its end), and anything else reads on until a read gives nothing.
    std::string bytes;
    std::size_t room = regular ? std::min(static_cast<std::size_t>(info.st_size), MaxFileBytes) + 1 : 65536;
    for (;;) {
        const std::size_t size = bytes.size();
        bytes.resize(size + room);
        const ssize_t n = ::read(fd, bytes.data() + size, room);
        if (n < 0) {
            bytes.resize(size);
            if (errno == EINTR) continue;
            fail(path, "não foi possível ler o arquivo", errno);
        }
        bytes.resize(size + static_cast<std::size_t>(n));
        if (bytes.size() > MaxFileBytes) fail(path, "não foi possível ler o arquivo", EFBIG);
        if (n == 0 || (regular && static_cast<std::size_t>(n) < room)) break;
        room = 65536;
    }
    return bytes;
}

}  // namespace kalvoro
