#pragma once
// Byte-level helpers for the metafile tests: files are assembled and patched
// word by word here, independently of the writer under test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvoro::test {

inline void put16(std::string& s, std::uint16_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
inline void put32(std::string& s, std::uint32_t v)
{
    put16(s, static_cast<std::uint16_t>(v));
    put16(s, static_cast<std::uint16_t>(v >> 16));
}
inline std::uint16_t get16(const std::string& s, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s.at(at)) |
                                      static_cast<unsigned char>(s.at(at + 1)) << 8);
}
inline std::uint32_t get32(const std::string& s, std::size_t at)
{
    return get16(s, at) | static_cast<std::uint32_t>(get16(s, at + 2)) << 16;
}
inline void set16(std::string& s, std::size_t at, std::uint16_t v)
{
    s.at(at) = static_cast<char>(v & 0xFF);
    s.at(at + 1) = static_cast<char>(v >> 8);
}
inline void set32(std::string& s, std::size_t at, std::uint32_t v)
{
    set16(s, at, static_cast<std::uint16_t>(v));
    set16(s, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// One record: its size in words, its function and its parameter words.
inline std::string record(std::uint16_t func, const std::vector<std::uint16_t>& params = {})
{
    std::string r;
    put32(r, static_cast<std::uint32_t>(3 + params.size()));
    put16(r, func);
    for (std::uint16_t w : params) put16(r, w);
    return r;
}

// Parameter words of a byte string padded to an even length.
inline std::vector<std::uint16_t> textWords(const std::string& bytes)
{
    std::vector<std::uint16_t> w;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        w.push_back(static_cast<std::uint16_t>(lo | hi << 8));
    }
    return w;
}

inline void fixChecksum(std::string& f)
{
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) sum ^= get16(f, i);
    set16(f, 20, sum);
}
// Makes the header's Size agree with the file length again.
inline void fixSize(std::string& f)
{
    set32(f, 28, static_cast<std::uint32_t>((f.size() - 22) / 2));
}

// A whole placeable file around the records (which must end with EOF);
// MaxRecord is the largest record given.
inline std::string placeableFile(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
                                 std::uint16_t inch, std::uint16_t objects,
                                 const std::vector<std::string>& recs)
{
    std::string f;
    put32(f, 0x9AC6CDD7);
    put16(f, 0);
    put16(f, static_cast<std::uint16_t>(left));
    put16(f, static_cast<std::uint16_t>(top));
    put16(f, static_cast<std::uint16_t>(right));
    put16(f, static_cast<std::uint16_t>(bottom));
    put16(f, inch);
    put32(f, 0);
    put16(f, 0);
    fixChecksum(f);
    std::uint32_t words = 9, largest = 0;
    for (const std::string& r : recs) {
        words += static_cast<std::uint32_t>(r.size() / 2);
        largest = std::max(largest, static_cast<std::uint32_t>(r.size() / 2));
    }
    put16(f, 1);
    put16(f, 9);
    put16(f, 0x0300);
    put32(f, words);
    put16(f, objects);
    put32(f, largest);
    put16(f, 0);
    for (const std::string& r : recs) f += r;
    return f;
}

// Byte offsets of the records of a well-formed file, EOF included.
inline std::vector<std::size_t> recordOffsets(const std::string& f)
{
    std::vector<std::size_t> at;
    for (std::size_t pos = 40; pos + 6 <= f.size(); pos += 2 * get32(f, pos)) {
        at.push_back(pos);
        if (get16(f, pos + 4) == 0 || get32(f, pos) < 3) break;
    }
    return at;
}

// A fresh folder for one test, removed afterwards.
struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        path = std::filesystem::temp_directory_path() /
               ("kalvoro_wmf_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const char* name) const { return (path / name).string(); }
};

}  // namespace kalvoro::test
