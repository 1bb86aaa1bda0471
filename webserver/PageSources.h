#pragma once

#include "ndb/NdbFieldValue.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace gre
{
class CGreProject;
}
namespace ndb
{
class CNdbPalette;
class CNdbStyle;
} // namespace ndb

// Field ids of the newsletter and its sender profile that the page writers read.
enum PageSourceFields
{
    NewsletterIdField = 100,
    NewsletterTitleField = 140,
    SenderEmailField = 300,
    SenderSiteUrlField = 410,
    SenderWebViewFolderField = 440,
    SenderSiteTypeField = 450,
    SenderDynamicServicesField = 644,
    SenderWebViewField = 810,
    SenderTrackingField = 811,
    SenderDynamicListField = 812,
    SenderUnsubscribeTextField = 822,
};

// What the page writers read of one newsletter: its fields, the layout's body and styles, the
// palette, the sender profile and the embedded resources. The document model supplies it; the
// writers only read.
class IPageNewsletter
{
public:
    virtual ~IPageNewsletter() = default;

    // A text field of the newsletter record itself (id, title).
    virtual QString GetNewsletterText(int id) const = 0;
    // Layout field 130, the stored body HTML.
    virtual QString GetBodyHtml() const = 0;
    // The layout's page style; null when the layout has none.
    virtual const ndb::CNdbStyle* GetPageStyle() const = 0;
    // Null when the newsletter has no palette.
    virtual const ndb::CNdbPalette* GetPalette() const = 0;
    // The named styles in the ascending order of the style map's keys.
    virtual std::vector<const ndb::CNdbStyle*> GetStyles() const = 0;
    // The named style whose element or class name (field 110) is the tag; null when none.
    virtual const ndb::CNdbStyle* FindStyleByTag(const QString& tag) const = 0;
    // A field of the sender profile; false when absent.
    virtual bool GetSenderField(int id, ndb::CNdbFieldValue& value) const = 0;
    // The relative path (field 2, "img/..." or "files/...") of the layout resource with that id;
    // none when there is no such resource or it has no path.
    virtual std::optional<QString> FindResourcePath(const QString& resourceId) const = 0;

    QString GetSenderText(int id) const;
    bool GetSenderBool(int id) const;
};

// The newsletter as the pruning after a save changes it: its resource list, attachments and
// image project besides what the pages read.
class IPrunableNewsletter : public virtual IPageNewsletter
{
public:
    virtual int GetResourceCount() const = 0;
    // Field 1 of the resource at that index.
    virtual QString GetResourceIdAt(int index) const = 0;
    virtual void DeleteResourceAt(int index) = 0;
    // Field 1 of every record of the layout's attachment list.
    virtual QStringList GetAttachmentIds() const = 0;
    virtual gre::CGreProject& GetImageProject() = 0;
};

// What the page writers read of the application: the open newsletter, the local server's address
// and the default unsubscribe confirmation text.
class IPageContext
{
public:
    virtual ~IPageContext() = default;

    // Null when no newsletter is open.
    virtual const IPageNewsletter* GetCurrentNewsletter() const = 0;
    // "http://localhost:<port>/".
    virtual QString GetServerBaseUrl() const = 0;
    virtual QString GetUnsubscribeText() const = 0;

    // The absolute local address of a path, with exactly one "/" after the host.
    QString MakeServerUrl(const QString& path) const;
    // Where a page refers to an embedded resource by its relative path. Pages shown by the program
    // load it from the local server; published pages and mail bodies override this.
    virtual QString MakeResourceUrl(const QString& relativePath) const { return MakeServerUrl(relativePath); }
};

// A context with plain members, for callers that have no application object at hand.
class CPageContext : public IPageContext
{
public:
    const IPageNewsletter* GetCurrentNewsletter() const override { return m_newsletter; }
    QString GetServerBaseUrl() const override;
    QString GetUnsubscribeText() const override { return m_unsubscribeText; }

    void SetCurrentNewsletter(const IPageNewsletter* newsletter) { m_newsletter = newsletter; }
    void SetServerPort(int port) { m_port = port; }
    void SetUnsubscribeText(const QString& text) { m_unsubscribeText = text; }

private:
    const IPageNewsletter* m_newsletter{nullptr};
    int m_port{0};
    QString m_unsubscribeText;
};
