#pragma once

#include <string>

class CPSArchive;

// Tags the constructor an archive calls for an object it is about to read (see base/PSFactory.h).
struct CPSReading
{
};

// The root of every persistable class. A class is identified in an archive by the key and name
// of its registry entry (see base/PSFactory.h), and archives itself in one Serialize for both
// directions: it tests CPSArchive::IsReading and may consult CPSArchive::GetVersion.
//
// Reading failures travel as CPSArchiveException out of Serialize; a class therefore keeps
// whatever it creates while reading in members its destructor frees, so that an object left
// half-read by a failure can still be deleted.
class CPSBase
{
public:
    virtual ~CPSBase() = default;

    virtual int GetClassKey() const = 0;
    // The name without namespace, as held by the class's registry entry.
    virtual const std::string& GetClassName() const = 0;
    virtual void Serialize(CPSArchive& archive) = 0;
};
