#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>

class CX2Attribute;
class CX2Element;
class CX2Validator;
namespace ndb
{
class CNdbNewsletter;
class CNdbResource;
} // namespace ndb

// What the clean-up takes from the application: the newsletter that receives the pasted images,
// the document's write lock and how many images it may still load or download.
struct PasteContext
{
    // A paste is one user action: past this many images it stops fetching, so that a fragment
    // full of unreachable addresses cannot hold the program for hours.
    static constexpr int DefaultMaxImageFetches = 100;

    // The open newsletter; without one every pasted image and background image is dropped.
    ndb::CNdbNewsletter* newsletter{nullptr};
    // Held while an image is added to the layout, never while it is fetched: the local server's
    // threads read the layout under the document's read lock. May be empty.
    std::function<std::unique_lock<std::shared_mutex>()> lockDocument;
    // Counts down with every load or download; at 0 images are dropped as if unreachable.
    int imageFetchesLeft{DefaultMaxImageFetches};
    // Loads an image reference against the base address; empty means ndb::FetchImageResource.
    // The fuzz target puts one here that touches neither the disk nor the network.
    std::function<std::unique_ptr<ndb::CNdbResource>(const QString& reference, const QString& baseAddress)>
        fetchImage;
};

// Reduces a pasted fragment, in place, to the elements and attributes the editor and the page
// generator understand. Scripts, forms, embedded objects, styles and comments go with their
// content; other unknown elements give way to their content; images and background images are
// taken into the newsletter's layout as embedded files (relative addresses resolved against the
// base address, the folder of the page the HTML was copied from) and referenced through the
// editor metadata in the name attribute; image attributes, headings, tables and boxes take the
// editor's form. Always true.
bool CleanPastedHtml(const QString& baseAddress, CX2Validator& document, PasteContext& context);

// True for every node that is not an element, and for the elements a pasted fragment may keep.
bool IsAllowedPasteElement(const CX2Element* node);
// True for an attribute a pasted element may keep (names compared without regard to case).
bool IsAllowedPasteAttribute(const CX2Attribute* attribute, const CX2Element* element);
