#include "webserver/NewsletterPageSource.h"

#include "ndb/NdbNewsletter.h"

using namespace ndb;

QString CNewsletterPageSource::GetNewsletterText(int id) const
{
    return m_newsletter.GetString(id);
}

QString CNewsletterPageSource::GetBodyHtml() const
{
    return m_newsletter.Layout().GetString(LayoutHtml);
}

const CNdbStyle* CNewsletterPageSource::GetPageStyle() const
{
    return &m_newsletter.Layout().PageStyle();
}

const CNdbPalette* CNewsletterPageSource::GetPalette() const
{
    return &m_newsletter.Palette();
}

std::vector<const CNdbStyle*> CNewsletterPageSource::GetStyles() const
{
    std::vector<const CNdbStyle*> styles;
    for (const auto& [key, style] : m_newsletter.Styles())
    {
        if (style)
            styles.push_back(style.get());
    }
    return styles;
}

const CNdbStyle* CNewsletterPageSource::FindStyleByTag(const QString& tag) const
{
    return m_newsletter.FindStyleByTag(tag);
}

bool CNewsletterPageSource::GetSenderField(int id, CNdbFieldValue& value) const
{
    return m_newsletter.Sender().GetField(id, value);
}

std::optional<QString> CNewsletterPageSource::FindResourcePath(const QString& resourceId) const
{
    const CNdbResource* resource = m_newsletter.Layout().FindResourceById(resourceId);
    CNdbFieldValue path;
    if (!resource || !resource->GetField(ResourcePath, path))
        return std::nullopt;
    return path.GetString();
}

int CNewsletterPruningSource::GetResourceCount() const
{
    return int(m_newsletter.Layout().Resources().size());
}

QString CNewsletterPruningSource::GetResourceIdAt(int index) const
{
    return m_newsletter.Layout().Resources().at(size_t(index))->GetString(ResourceId);
}

void CNewsletterPruningSource::DeleteResourceAt(int index)
{
    CNdbLayout& layout = m_newsletter.Layout();
    layout.DeleteResource(layout.Resources().at(size_t(index)).get());
}

QStringList CNewsletterPruningSource::GetAttachmentIds() const
{
    QStringList ids;
    for (const auto& attachment : m_newsletter.Layout().Attachments())
        ids << attachment->GetString(ResourceId);
    return ids;
}

gre::CGreProject& CNewsletterPruningSource::GetImageProject()
{
    return m_newsletter.Project();
}
