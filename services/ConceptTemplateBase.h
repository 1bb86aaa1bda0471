#pragma once

#include <QString>

// One entry of a template or effect catalogue: a template file (kind 1) or a folder (kind 0).
// Entries are plain values read from the catalogue XML; the catalogue owns them for one run.
class CConceptTemplateBase
{
public:
    enum Kind
    {
        FolderKind = 0,
        FileKind = 1,
    };

    virtual ~CConceptTemplateBase() = default;
    CConceptTemplateBase(const CConceptTemplateBase&) = delete;
    CConceptTemplateBase& operator=(const CConceptTemplateBase&) = delete;

    int GetKind() const { return m_kind; }
    bool IsFile() const { return m_kind == FileKind; }
    bool IsFolder() const { return m_kind == FolderKind; }

    QString GetId() const { return m_id; }
    QString GetLanguage() const { return m_language; }
    qint64 GetDateCreated() const { return m_dateCreated; }
    QString GetName() const { return m_name; }
    QString GetDescription() const { return m_description; }
    QString GetSmallIconUrl() const { return m_smallIconUrl; }
    QString GetBigIconUrl() const { return m_bigIconUrl; }

    void SetId(const QString& id) { m_id = id; }
    void SetLanguage(const QString& language) { m_language = language; }
    // Seconds since 1970, UTC.
    void SetDateCreated(qint64 seconds) { m_dateCreated = seconds; }
    void SetName(const QString& name) { m_name = name; }
    void SetDescription(const QString& description) { m_description = description; }
    void SetSmallIconUrl(const QString& url) { m_smallIconUrl = url; }
    void SetBigIconUrl(const QString& url) { m_bigIconUrl = url; }

protected:
    explicit CConceptTemplateBase(int kind) : m_kind(kind) {}

private:
    int m_kind;
    QString m_id;
    QString m_language;
    qint64 m_dateCreated{0};
    QString m_name;
    QString m_description;
    QString m_smallIconUrl;
    QString m_bigIconUrl;
};
