#pragma once

#include "services/ConceptTemplateBase.h"

// A template of the catalogue: where its ".kvnlt" file and its localisation data are, and what
// the store says about the file.
class CConceptTemplateFile : public CConceptTemplateBase
{
public:
    CConceptTemplateFile() : CConceptTemplateBase(FileKind) {}

    QString GetChecksum() const { return m_checksum; }
    QString GetDownloadUrl() const { return m_downloadUrl; }
    int GetSize() const { return m_size; }
    QString GetAuthor() const { return m_author; }
    QString GetAuthorCompany() const { return m_authorCompany; }
    QString GetCopyright() const { return m_copyright; }
    QString GetDemoUrl() const { return m_demoUrl; }
    QString GetLocalisationUrl() const { return m_localisationUrl; }

    void SetChecksum(const QString& checksum) { m_checksum = checksum; }
    void SetDownloadUrl(const QString& url) { m_downloadUrl = url; }
    void SetSize(int size) { m_size = size; }
    void SetAuthor(const QString& author) { m_author = author; }
    void SetAuthorCompany(const QString& company) { m_authorCompany = company; }
    void SetCopyright(const QString& copyright) { m_copyright = copyright; }
    void SetDemoUrl(const QString& url) { m_demoUrl = url; }
    void SetLocalisationUrl(const QString& url) { m_localisationUrl = url; }

private:
    QString m_checksum;
    QString m_downloadUrl;
    int m_size{0};
    QString m_author;
    QString m_authorCompany;
    QString m_copyright;
    QString m_demoUrl;
    QString m_localisationUrl;
};
