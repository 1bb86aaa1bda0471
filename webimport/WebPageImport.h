#pragma once

#include <QString>

#include <memory>
#include <vector>

class CWnd;

namespace ndb
{
class CNdbResource;
class CNdbStyle;
} // namespace ndb

// The page is outside input: these bound what one import may read and fetch.
struct WebPageImportLimits
{
    // Longer markup is refused whole rather than parsed.
    qsizetype maxMarkupLength{8 * 1024 * 1024};
    // Distinct image addresses fetched; later images are dropped as if unreachable.
    int maxImages{200};
    // Bytes of style sheets and images together; once spent, nothing more is downloaded.
    qsizetype maxDownloadBytes{32 * 1024 * 1024};
    // Time for all downloads together: each request has the HTTP client's own time-out, but a
    // page of many slow images must not hold the program for the sum of them.
    int maxDownloadMilliseconds{120000};
    // Time the page has to load in the hidden browser.
    int loadMilliseconds{30000};
};

// What the import keeps of a page.
struct WebPageImportResult
{
    QString body;
    std::vector<std::unique_ptr<ndb::CNdbResource>> resources;
    std::vector<std::unique_ptr<ndb::CNdbStyle>> styles;
};

// Loads the page at the URL in a hidden browser, so that it is resolved as a browser would, and
// converts its markup. The owner takes no input while the page loads. False when the page gave
// no markup in time (it failed, did not finish loading, or is no HTML document) or the markup
// has no body; styles and resources made before that are still returned.
bool ImportWebPage(CWnd* owner, const QString& url, WebPageImportResult& result,
                   const WebPageImportLimits& limits = {});

// Reduces the page to the editor's element set, downloads its style sheets and images (relative
// references resolved against the base) and turns its simple CSS rules into named styles.
bool ConvertWebPage(const QString& html, const QString& base, WebPageImportResult& result,
                    const WebPageImportLimits& limits = {});

// The folder of the URL, ending in "/"; empty for a URL without "//".
QString GetUrlBase(const QString& url);

// The request a reference of the page leads to. A reference beginning with "/" is taken below
// the page's folder, as the editor always has. Only http addresses resolve.
struct ImportRequest
{
    QString host;
    int port{0};
    QString objectPath;
};
bool ResolveImportUrl(const QString& reference, const QString& base, ImportRequest& request);
