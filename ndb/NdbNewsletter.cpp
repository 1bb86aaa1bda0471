#include "ndb/NdbNewsletter.h"

#include "base/ArchiveFile.h"
#include "base/PSStreamFile.h"
#include "ndb/NdbArchiveValues.h"
#include "ndb/NdbSendJournal.h"

#include <algorithm>

namespace ndb
{
namespace
{
struct DefaultStyle
{
    const char16_t* key;
    const char16_t* name;
    const char16_t* element;
    const char16_t* fontFamily;
    float sizePt;
    int weight;
    int fontStyle;
    float marginTop;
    float marginBottom;
};

constexpr DefaultStyle DefaultStyles[] = {
    {u"{1B143B6C-323B-42D7-82D7-1D9EF454DBA4}", u"Heading 1", u"h1", u"Arial, Verdana", 15, 1, 0, 12, 3},
    {u"{209CCC29-A9B4-45AA-9A22-4595D34FD885}", u"Heading 2", u"h2", u"Arial, Verdana", 13, 1, 1, 12, 3},
    {u"{36628ABD-9793-4793-BDC0-135DD9F25EDF}", u"Heading 3", u"h3", u"Arial, Verdana", 12, 1, 0, 12, 3},
    {u"{4E229165-DA33-4097-BB57-AA5371296448}", u"Heading 4", u"h4", u"Verdana", 11, 1, 0, 6, 2},
    {u"{5A68E4F1-45CE-48E2-88FA-A107A2B68B3F}", u"Heading 5", u"h5", u"Verdana", 10, 1, 1, 6, 2},
    {u"{66471195-DCC8-4E57-B87B-DCD02BA916C5}", u"Heading 6", u"h6", u"Verdana", 9, 1, 0, 3, 0},
    {u"{016B14AA-389E-408C-A753-FEBD03303CF1}", u"Normal", u"normal", u"Verdana", 9, 0, 0, 0, 0},
};

std::unique_ptr<CNdbStyle> MakeDefaultStyle(const DefaultStyle& preset)
{
    auto style = std::make_unique<CNdbStyle>();
    style->SetField(StyleElementFlag, CNdbFieldValue(NdbValueBool, 1));
    style->SetField(StyleDisplayName, CNdbFieldValue(preset.name));
    style->SetField(StyleRuleName, CNdbFieldValue(preset.element));
    style->SetField(StyleFontFamily, CNdbFieldValue(preset.fontFamily));
    style->SetField(StyleFontSize, CNdbFieldValue(preset.sizePt, NdbUnitPt));
    style->SetField(StyleFontWeight, CNdbFieldValue(NdbValueFontWeight, preset.weight));
    style->SetField(StyleFontStyle, CNdbFieldValue(NdbValueFontStyle, preset.fontStyle));
    style->SetField(StyleMarginTop, CNdbFieldValue(preset.marginTop, NdbUnitPx));
    style->SetField(StyleMarginLeft, CNdbFieldValue(0.0f, NdbUnitPx));
    style->SetField(StyleMarginRight, CNdbFieldValue(0.0f, NdbUnitPx));
    style->SetField(StyleMarginBottom, CNdbFieldValue(preset.marginBottom, NdbUnitPx));
    style->SetField(StyleTextDecoration, CNdbFieldValue(NdbValueInt, NdbDecorationNone));
    return style;
}

template <class Map> void EraseNullEntries(Map& map)
{
    std::erase_if(map, [](const auto& entry) { return !entry.second; });
}
} // namespace

CNdbNewsletter::CNdbNewsletter(const QString& name) : CNdbFieldBase(NdbKindNewsletter)
{
    if (!name.isEmpty())
        SetField(NewsletterName, CNdbFieldValue(name));
}

void CNdbNewsletter::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    m_project.Serialize(archive);
    m_palette.Serialize(archive);
    m_layout.Serialize(archive);
    if (archive.IsReading())
    {
        DeleteAllStyles();
        ArchiveReadObjectMap(archive, m_styles);
        // A key mapped to no style is no style; a missing default comes back below.
        EraseNullEntries(m_styles);
        EnsureDefaultStyles();
    }
    else
        ArchiveWriteObjectMap(archive, m_styles);
    m_users.Serialize(archive);
    m_log.Serialize(archive);
    if (archive.GetVersion() > CPSArchive::MakeVersion(2007, 0))
        m_sender.Serialize(archive);
}

bool CNdbNewsletter::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    switch (id)
    {
    case NewsletterImportance:
        return value.GetType() == NdbValueIntCode;
    case NewsletterCreated:
    case NewsletterTime200:
        return value.GetType() == NdbValueTime;
    case NewsletterTemplateFlag:
    case NewsletterFlag510:
        return value.GetType() == NdbValueBool;
    case NewsletterLastClassStyle:
        return value.GetType() == NdbValueInt;
    default:
        return value.GetType() == NdbValueText;
    }
}

QString CNdbNewsletter::GetPath() const
{
    return GetString(NewsletterPath);
}

bool CNdbNewsletter::ReadDocument(CPSStream& stream, bool asTemplate, ObjectMap* objects, TextMap* texts)
{
    const auto read = std::make_unique<CNdbNewsletter>();
    ObjectMap readObjects;
    TextMap readTexts;
    const bool loaded = ReadArchiveStream(
        stream,
        [asTemplate](const ArchiveFileHeader& header)
        {
            // A newsletter file's tag is not looked at: a template opens as a newsletter.
            return (!asTemplate || header.typeTag == TemplateTypeTag) &&
                   header.IsNoNewerThan(FileMajorVersion, FileMinorVersion);
        },
        [&](CPSArchive& archive)
        {
            read->Serialize(archive);
            if (!asTemplate)
                return;
            if (!read->IsTemplate())
                archive.Fail("a template file without the template flag");
            ArchiveReadObjectMap(archive, readObjects);
            ArchiveReadTextMap(archive, readTexts);
        });
    if (!loaded)
        return false;
    TakeContentOf(*read);
    if (objects)
        objects->merge(readObjects);
    if (texts)
        texts->merge(readTexts);
    m_modified = false;
    return true;
}

bool CNdbNewsletter::LoadFromStream(CPSStream& stream)
{
    return ReadDocument(stream, false, nullptr, nullptr);
}

bool CNdbNewsletter::Load(const QString& path)
{
    CPSStreamFile stream;
    if (!stream.Open(path, true, false) || !LoadFromStream(stream))
        return false;
    // Statuses of a send that ended before the document was saved again.
    if (CNdbSendJournal::ApplyTo(m_log, path) > 0)
        SetModified(true);
    return true;
}

bool CNdbNewsletter::LoadTemplate(const QString& path, ObjectMap& objects, TextMap& texts)
{
    CPSStreamFile stream;
    return stream.Open(path, true, false) && ReadDocument(stream, true, &objects, &texts);
}

bool CNdbNewsletter::WriteDocument(const QString& path, const QString& typeTag, const QString& creator,
                                   int creatorMajor, int creatorMinor, const ObjectMap* objects,
                                   const TextMap* texts)
{
    const ArchiveFileHeader header{typeTag, FileMajorVersion, FileMinorVersion,
                                   creator, creatorMajor,     creatorMinor};
    const bool saved = WriteArchiveFile(
        path, header,
        [&](CPSArchive& archive)
        {
            Serialize(archive);
            if (objects)
                ArchiveWriteObjectMap(archive, *objects);
            if (texts)
                ArchiveWriteTextMap(archive, *texts);
        },
        m_sender.HoldsPassword() ? FileReaders::OwnerOnly : FileReaders::Usual);
    if (saved)
        m_modified = false;
    return saved;
}

bool CNdbNewsletter::Save(const QString& path, const QString& creator, int creatorMajor, int creatorMinor)
{
    if (!WriteDocument(path, FileTypeTag, creator, creatorMajor, creatorMinor, nullptr, nullptr))
        return false;
    CNdbSendJournal::Remove(path);
    return true;
}

bool CNdbNewsletter::SaveTemplate(const QString& path, const ObjectMap& objects, const TextMap& texts,
                                  const QString& creator)
{
    return WriteDocument(path, TemplateTypeTag, creator, 2007, 1, &objects, &texts);
}

void CNdbNewsletter::TakeContentOf(CNdbNewsletter& other)
{
    CNdbFieldBase::operator=(other);
    m_project.GetImages().swap(other.m_project.GetImages());
    m_project.GetPipelines().swap(other.m_project.GetPipelines());
    m_layout.TakeContentOf(other.m_layout);
    m_styles.swap(other.m_styles);
    m_palette = other.m_palette;
    m_users.TakeContentOf(other.m_users);
    m_log.TakeContentOf(other.m_log);
    m_handledBounces.clear();
    m_sender = other.m_sender;
}

void CNdbNewsletter::EnsureDefaultStyles()
{
    for (const DefaultStyle& preset : DefaultStyles)
    {
        const QString key = QString::fromUtf16(preset.key);
        if (!FindStyleByKey(key))
            SetStyle(key, MakeDefaultStyle(preset));
    }
}

CNdbStyle* CNdbNewsletter::FindStyleByKey(const QString& key) const
{
    const auto found = m_styles.find(key);
    return found == m_styles.end() ? nullptr : found->second.get();
}

CNdbStyle* CNdbNewsletter::FindStyleByTag(const QString& text) const
{
    const auto found = std::find_if(m_styles.begin(), m_styles.end(),
                                    [&text](const auto& entry) {
                                        return entry.second && entry.second->GetString(StyleRuleName) == text;
                                    });
    return found == m_styles.end() ? nullptr : found->second.get();
}

void CNdbNewsletter::SetStyle(const QString& key, std::unique_ptr<CNdbStyle> style)
{
    if (!style)
        return;
    m_styles.insert_or_assign(key.isEmpty() ? CreateGuidString() : key, std::move(style));
}

bool CNdbNewsletter::RemoveStyle(const CNdbStyle* style)
{
    const auto found = std::find_if(m_styles.begin(), m_styles.end(),
                                    [style](const auto& entry) { return entry.second.get() == style; });
    if (style == nullptr || found == m_styles.end())
        return false;
    m_styles.erase(found);
    return true;
}
} // namespace ndb
