#pragma once

#include "webserver/PageSources.h"

namespace ndb
{
class CNdbNewsletter;
}

// A newsletter record as the page writers read it. Holds a reference: whoever generates a page
// from it keeps the newsletter alive and unchanged meanwhile (the context's document read lock).
class CNewsletterPageSource : public IPageNewsletter
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
