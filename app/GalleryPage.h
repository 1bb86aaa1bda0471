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

// Page template 244 of the current resources; empty when missing.
QString LoadTemplate();
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
