#pragma once

#include "webserver/NewsletterPage.h"

#include <QString>

// The passes and texts that make a page personal and trackable: server-side scripts of the web
// view, merge fields, link actions and the open-tracking image.

// The ASP or PHP lines that open a web-view page (site type compared without regard to case);
// empty for a static site.
QString WebViewPrologue(const QString& siteType);
// The script that shows the unsubscribe confirmation when the web view is opened with
// "unsub=true"; empty for a static site.
QString UnsubscribeBanner(const IPageContext& context);
// Merge-field spans into server-side code (web view) or tokens (e-mail).
void ReplaceMergeFields(CX2Element* root, NewsletterPageKind kind, const QString& siteType,
                        MergeFieldSet* usedMergeFields);
// Tracked, web-view and unsubscribe links.
void ApplyLinkActions(CX2Element* root, NewsletterPageKind kind, const IPageContext& context,
                      const IPageNewsletter& newsletter, const LinkTrackerMap* linkTrackers);
// The image that reports an opened e-mail to the site; empty without tracking or a script site.
QString OpenTrackingImage(const IPageNewsletter& newsletter);
