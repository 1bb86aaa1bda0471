#pragma once

#include "recipients/KVImportBase.h"
#include "recipients/VCardReader.h"

#include <QString>

#include <functional>

class CWnd;

// The address book as vCard files: a ".vcf" file or a folder of them, such as a desktop address
// book exports. One recipient per contact card, in the order of the files and their cards; cards
// of lists and groups are passed over.
class CKVImportOutlook : public CKVImportBase
{
public:
    // Returns the chosen file or folder, empty when the user cancels.
    using SourcePicker = std::function<QString()>;

    explicit CKVImportOutlook(CWnd* parent = nullptr);
    explicit CKVImportOutlook(SourcePicker picker) : m_picker(std::move(picker)) {}

    bool Import(ndb::CNdbUserList& target) override;

private:
    SourcePicker m_picker;
};

// The cards of a ".vcf" file, or of every ".vcf" file of a folder in name order; false when the
// path names neither or a file cannot be read.
bool GetOutlookContactsFolder(const QString& path, QList<VCard>& cards);
bool ReadOutlookContacts(const QList<VCard>& cards, ndb::CNdbUserList& target);
