#include "dialogs/StylePreview.h"

#include "dialogs/DialogContext.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/IEBrowser.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/StylePreviewPage.h"

namespace
{
constexpr quint32 SampleTextId = 3214;
} // namespace

QString StylePreviewSample()
{
    return LoadAppString(SampleTextId);
}

void ShowStylePreview(CIEBrowser& browser, const ndb::CNdbStyle& style, IDialogContext* context)
{
    const ndb::CNdbNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return;
    const CNewsletterPageSource source(*newsletter);
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    pageContext.SetServerPort(context->GetServerPort());
    QString page;
    if (BuildStylePreviewPage(page, &style, &pageContext, StylePreviewSample()) && !page.isEmpty())
        browser.SetDocumentHTML(page, pageContext.GetServerBaseUrl());
}
