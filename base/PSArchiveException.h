#pragma once

#include <stdexcept>

// Thrown by the archive's value operations when data read from an archive ends early or is not
// sound (a bad count, an unknown class, an object of the wrong kind). It travels out of every
// Serialize to the enclosing load, which reports false and discards what it built.
class CPSArchiveException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
