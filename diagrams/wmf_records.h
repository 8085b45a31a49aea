#pragma once
// The record functions and constants of the placeable Windows metafiles that
// wmf_writer.cpp writes and wmf_reader.cpp reads. Everything in a WMF is
// little-endian; sizes are counted in 16-bit words.

#include <cstddef>
#include <cstdint>

namespace kalvoro::wmf {

inline constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t PlaceableBytes = 22;
inline constexpr std::size_t HeaderBytes = 18;  // META_HEADER, 9 words
inline constexpr std::uint16_t HeaderWords = 9;
inline constexpr std::uint16_t UnitsPerInch = 96;  // one logical unit = one pixel of a 96 dpi screen
inline constexpr std::uint16_t MemoryMetafile = 1;
inline constexpr std::uint16_t DiskMetafile = 2;
inline constexpr std::uint16_t Version300 = 0x0300;
inline constexpr std::uint16_t Version100 = 0x0100;

// Record functions. Parameters of the fixed records are stored last argument
// first (a point is y, x); POLYLINE points and the EXTTEXTOUT rectangle are in
// natural order.
enum Func : std::uint16_t {
    Eof = 0x0000,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polyline = 0x0325,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PatBlt = 0x061D,
    ExtTextOut = 0x0A32,
};

inline constexpr std::uint16_t MapText = 1;         // MM_TEXT: one logical unit per device unit
inline constexpr std::uint16_t MapAnisotropic = 8;  // MM_ANISOTROPIC: window mapped onto the frame

inline constexpr std::uint16_t BkTransparent = 1;
inline constexpr std::uint16_t BkOpaque = 2;

inline constexpr std::uint16_t PenSolid = 0;
inline constexpr std::uint16_t PenNull = 5;
inline constexpr std::uint16_t PenInsideFrame = 6;
inline constexpr std::uint16_t BrushSolid = 0;
inline constexpr std::uint16_t BrushNull = 1;

inline constexpr std::size_t LogFontBytes = 18;   // LOGFONT16 without its face name
inline constexpr std::size_t FaceNameBytes = 32;  // including the terminating NUL
inline constexpr std::uint8_t AnsiCharset = 0;
inline constexpr std::uint8_t DefaultCharset = 1;
inline constexpr std::int16_t NormalWeight = 400;

inline constexpr std::uint16_t EtoOpaque = 0x0002;
inline constexpr std::uint16_t EtoClipped = 0x0004;

inline constexpr std::uint32_t RopPatCopy = 0x00F00021;
inline constexpr std::uint32_t RopBlackness = 0x00000042;
inline constexpr std::uint32_t RopWhiteness = 0x00FF0062;

}  // namespace kalvoro::wmf
