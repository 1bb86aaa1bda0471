#pragma once

#include "webserver/PageSources.h"

namespace ndb
{
class CNdbNewsletter;
}

// The page writers' view of a newsletter document.
class CNewsletterPageSource : public virtual IPageNewsletter
{
public:
    explicit CNewsletterPageSource(const ndb::CNdbNewsletter& newsletter) : m_newsletter(newsletter) {}

    QString GetNewsletterText(int id) const override;
    QString GetBodyHtml() const override;
    const ndb::CNdbStyle* GetPageStyle() const override;
    const ndb::CNdbPalette* GetPalette() const override;
    std::vector<const ndb::CNdbStyle*> GetStyles() const override;
    const ndb::CNdbStyle* FindStyleByTag(const QString& tag) const override;
    bool GetSenderField(int id, ndb::CNdbFieldValue& value) const override;
    std::optional<QString> FindResourcePath(const QString& resourceId) const override;

private:
    const ndb::CNdbNewsletter& m_newsletter;
};

// The same view with what the pruning after a save changes.
class CNewsletterPruningSource : public CNewsletterPageSource, public IPrunableNewsletter
{
public:
    explicit CNewsletterPruningSource(ndb::CNdbNewsletter& newsletter)
        : CNewsletterPageSource(newsletter), m_newsletter(newsletter)
    {
    }

    int GetResourceCount() const override;
    QString GetResourceIdAt(int index) const override;
    void DeleteResourceAt(int index) override;
    QStringList GetAttachmentIds() const override;
    gre::CGreProject& GetImageProject() override;

private:
    ndb::CNdbNewsletter& m_newsletter;
};
