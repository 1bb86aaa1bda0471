#pragma once

#include <QString>

class CIEBrowser;
class IDialogContext;
namespace ndb
{
class CNdbStyle;
}

// The sample text of the style previews (string 3214).
QString StylePreviewSample();

// Shows a paragraph in the style in the browser, which resolves the page's images against the
// local server. Without an open newsletter, or when the page cannot be made or loaded, the
// browser keeps what it shows.
void ShowStylePreview(CIEBrowser& browser, const ndb::CNdbStyle& style, IDialogContext* context);
