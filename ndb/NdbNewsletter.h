#pragma once

#include "gre/GreProject.h"
#include "ndb/NdbFieldBase.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbLog.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbSender.h"
#include "ndb/NdbStyle.h"
#include "ndb/NdbUserList.h"

#include <map>
#include <memory>

class CPSStream;

namespace ndb
{
enum NEWSLETTERFIELDS
{
    NewsletterId = 100, // GUID text; the envelope sender of every message carries it
    NewsletterFileName = 110,
    NewsletterPath = 120,
    NewsletterName = 140,       // also the subject of the e-mail
    NewsletterImportance = 160, // int code: 0 normal, 1 high, 2 low
    NewsletterCreated = 190,
    NewsletterTime200 = 200,
    NewsletterTemplateFlag = 500,
    NewsletterFlag510 = 510,
    NewsletterLastClassStyle = 999, // class styles are named "c" and this number plus 1
};

// The document of the program: one newsletter with its page, styles, palette, recipients, send
// log, sender profile and image project. Every id the table does not name takes a text.
class CNdbNewsletter : public CNdbFieldBase<NEWSLETTERFIELDS>
{
    KV_PERSISTENT_CLASS()
    using StyleMap = std::map<QString, std::unique_ptr<CNdbStyle>>;
    // The extras that follow the newsletter in a template file; the shell's template processing
    // gives them their meaning.
    using ObjectMap = std::map<QString, std::unique_ptr<CPSBase>>;
    using TextMap = std::map<QString, QString>;

    static inline const QString FileTypeTag = QStringLiteral("KVN");
    static inline const QString TemplateTypeTag = QStringLiteral("KVNLT");
    static constexpr int FileMajorVersion = 2007;
    static constexpr int FileMinorVersion = 2;

    // The name goes into field 140 when it is not empty. No style exists yet.
    explicit CNdbNewsletter(const QString& name = {});
    CNdbNewsletter(const CNdbNewsletter&) = delete;
    CNdbNewsletter& operator=(const CNdbNewsletter&) = delete;

    // Fields, image project, palette, layout, styles, recipients, send log, and from format
    // 2007.1 on the sender profile. Reading the styles brings back missing default styles.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    // The file path, field 120.
    QString GetPath() const override;

    // A newsletter file of format 2007.2 or older, whatever its type tag. A file that cannot be
    // read leaves this newsletter as it was.
    bool Load(const QString& path);
    // The same from a stream positioned at the archive's magic.
    bool LoadFromStream(CPSStream& stream);
    // Replaces the file only when the whole newsletter was written; the old file survives any
    // failure.
    bool Save(const QString& path, const QString& creator, int creatorMajor, int creatorMinor);
    // A template file: tag "KVNLT", format 2007.2 or older, field 500 true. Its extras are added
    // to objects and texts; keys already there keep their entries.
    bool LoadTemplate(const QString& path, ObjectMap& objects, TextMap& texts);
    bool SaveTemplate(const QString& path, const ObjectMap& objects, const TextMap& texts,
                      const QString& creator);

    bool IsTemplate() const { return GetBool(NewsletterTemplateFlag, false); }

    // Adds each of the seven default styles that is missing; present ones keep their changes.
    void EnsureDefaultStyles();
    CNdbStyle* FindStyleByKey(const QString& key) const;
    // The first style in key order whose rule name (field 110) equals text exactly.
    CNdbStyle* FindStyleByTag(const QString& text) const;
    // Replaces a style stored under the key; an empty key stands for a new GUID key.
    void SetStyle(const QString& key, std::unique_ptr<CNdbStyle> style);
    // False when the style is not one of this newsletter's.
    bool RemoveStyle(const CNdbStyle* style);
    void DeleteAllStyles() { m_styles.clear(); }
    const StyleMap& Styles() const { return m_styles; }

    gre::CGreProject& Project() { return m_project; }
    const gre::CGreProject& Project() const { return m_project; }
    CNdbLayout& Layout() { return m_layout; }
    const CNdbLayout& Layout() const { return m_layout; }
    CNdbPalette& Palette() { return m_palette; }
    const CNdbPalette& Palette() const { return m_palette; }
    CNdbUserList& Users() { return m_users; }
    const CNdbUserList& Users() const { return m_users; }
    CNdbLog& Log() { return m_log; }
    const CNdbLog& Log() const { return m_log; }
    // POP3 message ids of returned mail the bounce check has handled; never saved.
    std::map<QString, bool>& HandledBounces() { return m_handledBounces; }
    CNdbSender& Sender() { return m_sender; }
    const CNdbSender& Sender() const { return m_sender; }

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

private:
    bool ReadDocument(CPSStream& stream, bool asTemplate, ObjectMap* objects, TextMap* texts);
    bool WriteDocument(const QString& path, const QString& typeTag, const QString& creator, int creatorMajor,
                       int creatorMinor, const ObjectMap* objects, const TextMap* texts);
    void TakeContentOf(CNdbNewsletter& other);

    gre::CGreProject m_project;
    CNdbLayout m_layout;
    StyleMap m_styles;
    CNdbPalette m_palette;
    CNdbUserList m_users;
    CNdbLog m_log;
    std::map<QString, bool> m_handledBounces;
    CNdbSender m_sender;
    bool m_modified{false};
};
} // namespace ndb
