#pragma once

#include <QString>

class CConceptTemplateFile;
class CWnd;

namespace ndb
{
class CNdbNewsletter;
}

// What the Create Newsletter dialog chose: a template of the catalogue or a web page, and the
// name and folder of the new file.
struct NewsletterStart
{
    bool webPageMode{false};
    CConceptTemplateFile* selectedTemplate{nullptr}; // owned by the catalogue
    QString webAddress;
    QString projectName;
    QString location; // ends in "/"
};

// The steps that fill a new newsletter from its start. Each answers 0 or the string id of the
// message that tells the user why it failed.
namespace NewsletterCreation
{
// Downloads are bounded: a template is a few megabytes at most.
constexpr qint64 MaxTemplateSize = qint64(64) * 1024 * 1024;

// A local template is read in place; a store template is confirmed by the store, downloaded to
// a temporary file of its own (removed on every path), checked against the size and digest the
// store states, and loaded.
quint32 LoadTemplate(ndb::CNdbNewsletter& newsletter, CConceptTemplateFile& file);
// Brings in the page's body, pictures and styles; styles of the same rule name take the
// imported values but keep their kind and display name.
void ImportPage(CWnd* owner, ndb::CNdbNewsletter& newsletter, const QString& address);
// Localises with the selected template's data, when it has any; the unknown keys are collected
// afresh.
void Localise(ndb::CNdbNewsletter& newsletter, const CConceptTemplateFile* file);
// Identity, file name, path and web-view folder of a new newsletter; recipients and upload
// settings of the template are dropped.
void GiveIdentity(ndb::CNdbNewsletter& newsletter, const QString& projectName, const QString& location);
} // namespace NewsletterCreation
