#pragma once
// The small error hierarchy of the whole program. Every failure the engine, the
// file readers and writers or the drawings can meet is one of these; each
// command catches once and turns it into its own message.

#include <stdexcept>
#include <string>

namespace kalvoro {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An array index outside its declared bounds.
class IndexError : public Error {
public:
    using Error::Error;
};

// Division by zero, an invalid operation (square root of a negative number)
// or an overflow in real arithmetic, or an integer conversion out of range.
class ArithmeticError : public Error {
public:
    using Error::Error;
};

// A text that does not convert to the number it should hold.
class ConversionError : public Error {
public:
    using Error::Error;
};

// A file that cannot be opened, created, written or renamed.
class IoError : public Error {
public:
    using Error::Error;
};

// A write refused before anything is written because of where it would go: a
// file the user may not write, a folder that does not allow writing. The text
// names the place and is meant for the user as it stands.
class NotWritableError : public IoError {
public:
    using IoError::IoError;
};

// A beam larger than the beam data file can hold ("A viga tem 25 trechos; ..."),
// refused before anything is written; the text is meant for the user.
class CapacityError : public Error {
public:
    using Error::Error;
};

// One of the engine's fatal conditions ("divisao por zero", "numero negativo
// na raiz", "memoria insuficiente ..."): the text is the engine's own.
class EngineError : public Error {
public:
    using Error::Error;
};

}  // namespace kalvoro
