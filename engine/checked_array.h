#pragma once
// Fixed-size arrays indexed from 1, every access bounds-checked: an index
// outside the declared range throws IndexError, whatever the build type.

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "errors.h"

namespace kalvoro {

namespace detail {
[[noreturn]] void throwIndex(const char* name, long index, long last);

inline std::size_t at(const char* name, long index, long last)
{
    if (index < 1 || index > last) throwIndex(name, index, last);
    return static_cast<std::size_t>(index - 1);
}
}  // namespace detail

// T[1..N]
template <class T, long N>
class Array1 {
public:
    explicit Array1(const char* name = "array") : name_(name) { fill(T{}); }
    T& operator[](long i) { return data_[detail::at(name_, i, N)]; }
    const T& operator[](long i) const { return data_[detail::at(name_, i, N)]; }
    void fill(const T& v) { data_.fill(v); }
    static constexpr long size() { return N; }

    // Elements first..last, both ends checked once, for a loop that visits the
    // whole range: element i is range[i - first]. Empty when last < first.
    std::span<T> range(long first, long last)
    {
        if (last < first) return {};
        const std::size_t begin = detail::at(name_, first, N);
        return std::span<T>(data_).subspan(begin, detail::at(name_, last, N) + 1 - begin);
    }
    std::span<const T> range(long first, long last) const
    {
        if (last < first) return {};
        const std::size_t begin = detail::at(name_, first, N);
        return std::span<const T>(data_).subspan(begin, detail::at(name_, last, N) + 1 - begin);
    }

private:
    const char* name_;
    std::array<T, N> data_;
};

// T[1..R, 1..C], the last index running fastest.
template <class T, long R, long C>
class Array2 {
public:
    explicit Array2(const char* name = "array") : name_(name) { fill(T{}); }
    T& operator()(long i, long j) { return data_[detail::at(name_, i, R) * C + detail::at(name_, j, C)]; }
    const T& operator()(long i, long j) const
    {
        return data_[detail::at(name_, i, R) * C + detail::at(name_, j, C)];
    }
    void fill(const T& v) { data_.fill(v); }
    static constexpr long rows() { return R; }
    static constexpr long cols() { return C; }

private:
    const char* name_;
    std::array<T, static_cast<std::size_t>(R* C)> data_;
};

// T[1..A, 1..B, 1..C], the last index running fastest.
template <class T, long A, long B, long C>
class Array3 {
public:
    explicit Array3(const char* name = "array") : name_(name) { fill(T{}); }
    T& operator()(long i, long j, long k) { return data_[offset(i, j, k)]; }
    const T& operator()(long i, long j, long k) const { return data_[offset(i, j, k)]; }
    void fill(const T& v) { data_.fill(v); }
    static constexpr long extent1() { return A; }
    static constexpr long extent2() { return B; }
    static constexpr long extent3() { return C; }

private:
    std::size_t offset(long i, long j, long k) const
    {
        return (detail::at(name_, i, A) * B + detail::at(name_, j, B)) * C + detail::at(name_, k, C);
    }
    const char* name_;
    std::array<T, static_cast<std::size_t>(A* B* C)> data_;
};

}  // namespace kalvoro
