#pragma once

namespace ndb
{
class CNdbUserList;
}

// A source of recipients for the import command.
class CKVImportBase
{
public:
    virtual ~CKVImportBase() = default;
    // Appends the recipients of the source; false when there is none to read, and then what was
    // appended is the caller's to discard.
    virtual bool Import(ndb::CNdbUserList& target) = 0;
};
