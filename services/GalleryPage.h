#pragma once

#include <QString>

#include <functional>

class CConceptTemplateFolder;

// The gallery of one catalogue folder as a page: three template cells a row, each a thumbnail
// that selects the template through a link the dialog intercepts, with name, "New" mark,
// description, size, author, copyright and a demo link. Catalogue texts are escaped for where
// they go; the ids in links are percent-encoded so that no "__" of an id can end a field.
namespace GalleryPage
{
// The address under which the page shows a picture given by its catalogue address.
using PictureAddress = std::function<QString(const QString& catalogueUrl)>;

using StoreBytes = std::function<void(const QString& name, const QByteArray& bytes, const QString& type)>;

// A page template of the current resources (244 for newsletter templates, 350 for effects);
// empty when missing.
QString LoadTemplate(int resourceId);
// The web engine shows no local file in a page of the local server, so a gallery's pictures
// travel through the web store beside its page: a GIF, JPEG or PNG file of at most 4 MB, with its
// type by extension. Stores the local picture as prefix + "_" + its number + its suffix, numbered on from
// count, which it counts; the name the page shows it under, "about:blank" when it is no picture.
QString PublishPicture(const QString& path, const QString& prefix, int& count, const StoreBytes& store);
// Whether the page leaves out its notice that the store is out of reach: when the store answered,
// or when the machine runs in local mode ("RunInLocalMode" is 1).
bool HidesOfflineNotice(bool online);
QString Build(const QString& pageTemplate, const CConceptTemplateFolder& folder, bool hideAlert,
              const PictureAddress& picture);
QString SizeText(int size);
// "__FOLDER__" + folder id + "__A__FILE__" + file id + "__".
QString MakeLink(const QString& folderId, const QString& fileId);

enum class LinkKind
{
    Other,    // an ordinary address: the browser goes there
    Empty,    // the demo link's own address: nothing to do
    Unclosed, // "__FOLDER__" without a closing "__": the browser goes there
    Template, // a template cell: fileId is set (empty when the link names none)
};
LinkKind ParseLink(const QString& url, QString& fileId);
} // namespace GalleryPage
