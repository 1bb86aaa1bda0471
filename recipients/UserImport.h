#pragma once

#include "recipients/TextRows.h"

class CUserImportProfile;
namespace ndb
{
class CNdbUserList;
}

// Turns rows of text cells into new recipients through the column-mapping dialog.
class CUserImport
{
public:
    // Lets the user map the columns; on OK appends one recipient per used row to the target.
    void Import(ndb::CNdbUserList& target, const TextRows& rows);

    // One recipient per row that has a cell for at least one mapped field, in row order. The
    // colour label (600) is never imported; flags read their cell with ParseImportBoolean.
    static void CreateUsers(const CUserImportProfile& profile, const TextRows& rows, bool firstRowIsHeader,
                            ndb::CNdbUserList& target);
};

// "true", "yes", "1" and "false", "no", "0" in any letter case and with white space around, and
// the translated words of the string table; anything else gives the default.
bool ParseImportBoolean(const QString& text, bool defaultValue);
