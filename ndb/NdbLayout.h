#pragma once

#include "ndb/NdbFieldBase.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"

#include <memory>
#include <vector>

namespace ndb
{
enum LAYOUTFIELDS
{
    LayoutName = 100,
    LayoutHtml = 130,      // the page body as the layout editor stores it, with its metadata
    LayoutPlainText = 140, // the text part of the e-mail
    LayoutTime150 = 150,
    LayoutTime160 = 160,
};

// The page of a newsletter: body HTML, plain-text version, page style, the documents attached to
// the e-mail and the files the page embeds. Look-ups compare identifiers and paths exactly.
class CNdbLayout : public CNdbFieldBase<LAYOUTFIELDS>
{
    KV_PERSISTENT_CLASS()
    using ResourceList = std::vector<std::unique_ptr<CNdbResource>>;

    // The page style starts with zero margins.
    CNdbLayout();
    CNdbLayout(const CNdbLayout&) = delete;
    CNdbLayout& operator=(const CNdbLayout&) = delete;

    // The field record, the attachments and the resources as object vectors, then the page style
    // in place. Reading replaces both lists.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    QString GetName() const override;

    CNdbResource* FindResourceById(const QString& id) const;
    // The local server resolves a requested "img/..." or "files/..." address with it.
    CNdbResource* FindResourceByPath(const QString& path) const;
    int IndexOfResource(const CNdbResource* resource) const;
    void AddResource(std::unique_ptr<CNdbResource> resource);
    // False, and nothing deleted, when the resource is not in this layout.
    bool DeleteResource(const CNdbResource* resource);
    void DeleteAllResources() { m_resources.clear(); }
    // The e-mail settings replace the attachments as a whole: they delete them all, then fill
    // the list with their working copies.
    void DeleteAllAttachments() { m_attachments.clear(); }

    ResourceList& Attachments() { return m_attachments; }
    const ResourceList& Attachments() const { return m_attachments; }
    const ResourceList& Resources() const { return m_resources; }
    CNdbStyle& PageStyle() { return m_pageStyle; }
    const CNdbStyle& PageStyle() const { return m_pageStyle; }

    // Moves everything of a layout read aside into this one.
    void TakeContentOf(CNdbLayout& other);

private:
    CNdbResource* FindResource(int field, const QString& text) const;

    ResourceList m_attachments;
    ResourceList m_resources;
    CNdbStyle m_pageStyle;
};
} // namespace ndb
