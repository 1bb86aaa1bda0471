#pragma once

#include <QString>

class IPageContext;
namespace ndb
{
class CNdbStyle;
}

// The sample page of the style dialogs: one paragraph in the edited style, on a page colour that
// contrasts with it. Without an open newsletter nothing is written and the call succeeds.
bool BuildStylePreviewPage(QString& output, const ndb::CNdbStyle* record, const IPageContext* context,
                           const QString& sample);
