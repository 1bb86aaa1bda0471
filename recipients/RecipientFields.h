#pragma once

#include <QString>

#include <vector>

namespace ndb
{
class CNdbUser;
}

// One column of every export and import of recipients.
struct RecipientField
{
    QString name;
    int code = 0;
};

// The 24 recipient fields that leave and enter the program as columns, e-mail first and
// "Enabled" last; built from the string table once, on the first call.
const std::vector<RecipientField>& GetRecipientFields();
// False, name untouched, for a code outside the table (100, 600, 800 among them).
bool GetRecipientFieldName(int code, QString& name);

// The text of a field as a copy writes it: a flag as the words "yes" or "no" of the string table
// (an absent flag reads as its default), any other field as its text.
QString GetRecipientFieldText(const ndb::CNdbUser& user, int code);
