#pragma once

#include <QString>

class CDlgHtmlActionProperties;

// How links and bookmarks of the layout are read into their dialogs and written back.

// The metadata key of a link's kind and its values.
constexpr const char* LinkTypeKey = "src_action_type";

// Sets the link dialog's kind, address, bookmark and unsubscribe variant from a link's kind
// pair and href; a later rule overrides an earlier one, an unknown kind keeps the dialog's.
void ReadLinkIntoDialog(const QString& type, const QString& href, CDlgHtmlActionProperties& dialog);

// The kind pair and href of the dialog's choice; false for "No Link".
struct LinkTarget
{
    QString type;
    QString href;
};
bool LinkTargetOf(const CDlgHtmlActionProperties& dialog, const QString& fromAddress,
                  const QString& placeholder, LinkTarget& target);

// The inline style of a bookmark element.
extern const char* const BookmarkStyle;
// The content of a bookmark element: the jump target and the visible label, the name escaped.
QString BookmarkContentHtml(const QString& name);
// A whole new bookmark element, the name escaped wherever it enters the markup.
QString BookmarkHtml(const QString& name);
