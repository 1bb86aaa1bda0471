#pragma once

#include <QString>

#include <map>

class CX2Element;
class CX2Validator;
class IPageContext;
class IPageNewsletter;
namespace ndb
{
class CNdbPalette;
}

enum NewsletterPageKind
{
    Preview = 0,
    Edit = 1,
    // The page published on the user's site: an ASP or PHP script, or static XHTML.
    WebView = 2,
    // E-mail body whose images travel inside the message as content-id parts.
    MailEmbedded = 3,
    // E-mail body whose images are loaded from the user's site.
    MailLinked = 4,
};

// Recipient field code -> used; filled with every merge field the page holds.
using MergeFieldSet = std::map<int, bool>;
// Link URL as stored in the layout (exact) -> tracker id registered with the site.
using LinkTrackerMap = std::map<QString, QString>;

// Writes the whole page of one kind for the newsletter into output. The two tables are for
// the web-view and e-mail kinds and may be null. False, output untouched, when anything failed.
bool GenerateNewsletterPage(const QString& generator, QString& output, NewsletterPageKind kind,
                            const IPageContext& context, const IPageNewsletter& newsletter,
                            MergeFieldSet* usedMergeFields, const LinkTrackerMap* linkTrackers);

// Turns the colours and borders that the editor keeps in name attributes into style declarations,
// over the whole subtree.
void ApplyNameMetadataStyles(CX2Element* element, const ndb::CNdbPalette* palette);
// Removes the editor's name attributes (a bookmark anchor keeps its name) and guide classes.
void StripEditorAttributes(CX2Element* element);
// Drops the style element that the edit page carries in its body for the live style sheet
// (id "KV_SYSTEM_STYLE_ID"), should a saved body still hold it.
void DropSavedEditorStyle(CX2Validator& document);

// The site URL joined with the web-view folder, without a final "/".
QString GetSiteBaseAddress(const IPageNewsletter& newsletter);
// The site URL with "/" for "\" and a final "/".
QString GetSiteRootAddress(const IPageNewsletter& newsletter);

namespace ndb
{
class CNdbNewsletter;
}
// The page of a newsletter document.
bool GenerateNewsletterPage(const QString& generator, QString& output, NewsletterPageKind kind,
                            const IPageContext& context, const ndb::CNdbNewsletter& newsletter,
                            MergeFieldSet* usedMergeFields, const LinkTrackerMap* linkTrackers);
