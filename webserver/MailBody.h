#pragma once

#include <QList>
#include <QString>

#include <map>

class CX2Element;
class IPageContext;
class IPageNewsletter;

// Reshaping of the e-mail bodies: mail programs ignore style sheets and much of CSS layout, so
// boxes become tables, styles are inlined and images get their sizes as attributes.

// Image sources and style addresses that are relative become addresses on the user's site.
void MakeAddressesAbsolute(CX2Element* root, const QString& siteBase);
// Every div becomes a one-cell table; its vertical margins become spacer tables around it.
void ConvertBoxesToTables(CX2Element* root);
// Width and height of an image's style as attributes.
void SetImageSizeAttributes(CX2Element* root);
// Paragraph styles, image borders and link colours written into each element's style.
void InlineMailStyles(CX2Element* root, const IPageContext& context, const IPageNewsletter& newsletter);

// Content id -> relative address of the resource ("img/..." with an optional "?pid=").
using ContentIdPartMap = std::map<QString, QString>;

// Content ids "<prefix>NNN@<domain>": the number tells the pictures of one message apart, the
// domain completes the id to the msg-id form that content ids take.
struct ContentIdForm
{
    QString prefix;
    QString domain;
};

// Points every image source and style address of the tree at a content id of the form,
// leaving markers "__src" (the former address) and "__src_cid" on the element, and appends the
// element to the list. The open-tracking image stays linked. A style address of an element that
// already has an image source gets its own content id under "__bg_src" and "__bg_src_cid" (the
// element is then listed twice), so the element keeps its own picture.
void ConvertImageSourcesToCid(CX2Element* element, QList<CX2Element*>& elements, const ContentIdForm& form);
// Background images of the named styles as content ids in the page text.
void ConvertResourceUrlsToCid(const IPageContext& context, QString& page, ContentIdPartMap& parts,
                              const ContentIdForm& form);
// Moves the markers of the listed elements into the part map and removes them.
void CollectContentIdParts(const QList<CX2Element*>& elements, ContentIdPartMap& parts);
