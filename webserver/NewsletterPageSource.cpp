#include "webserver/NewsletterPageSource.h"

#include "ndb/NdbNewsletter.h"

QString CNewsletterPageSource::GetNewsletterText(int id) const
{
    return m_newsletter.GetString(id);
}

QString CNewsletterPageSource::GetBodyHtml() const
{
    return m_newsletter.Layout().GetString(ndb::LayoutHtml);
}

const ndb::CNdbStyle* CNewsletterPageSource::GetPageStyle() const
{
    return &m_newsletter.Layout().PageStyle();
}

const ndb::CNdbPalette* CNewsletterPageSource::GetPalette() const
{
    return &m_newsletter.Palette();
}

std::vector<const ndb::CNdbStyle*> CNewsletterPageSource::GetStyles() const
{
    std::vector<const ndb::CNdbStyle*> styles;
    for (const auto& [key, style] : m_newsletter.Styles())
        styles.push_back(style.get());
    return styles;
}

const ndb::CNdbStyle* CNewsletterPageSource::FindStyleByTag(const QString& tag) const
{
    return m_newsletter.FindStyleByTag(tag);
}

bool CNewsletterPageSource::GetSenderField(int id, ndb::CNdbFieldValue& value) const
{
    return m_newsletter.Sender().GetField(id, value);
}

std::optional<QString> CNewsletterPageSource::FindResourcePath(const QString& resourceId) const
{
    const ndb::CNdbResource* resource = m_newsletter.Layout().FindResourceById(resourceId);
    if (!resource)
        return std::nullopt;
    const QString path = resource->GetString(ndb::ResourcePath);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}
