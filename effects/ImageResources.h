#pragma once

#include "gre/GreLayerImage.h"
#include "gre/GrePipeline.h"
#include "ndb/NdbResource.h"

#include <QString>

#include <memory>
#include <vector>

class CWnd;

namespace ndb
{
class CNdbNewsletter;
}

// How choosing and importing image files ended.
enum ImageResourceResult
{
    ImageResourceDone = 0,
    ImageResourceCancelled = 1,
    ImageResourceFailed = 2,
};

// Flags of ChooseImageFiles.
constexpr int ChooseImagesOnly = 1; // offer GIF, JPEG and PNG files instead of all files
constexpr int ChooseOneFile = 2;

using ResourceList = std::vector<std::unique_ptr<ndb::CNdbResource>>;
using PipelineList = std::vector<std::unique_ptr<gre::CGrePipeline>>;

// The file-dialog filter of GIF, JPEG and PNG files under the description with that string id.
QString ImageFileFilter(quint32 descriptionId);

// Lets the user choose files, starting in the folder (else where the last choice of images was
// made), and loads each, in the order chosen, into a record appended to the list. All or
// nothing: when one file cannot be loaded, nothing is appended and the result is failed. Done
// remembers where the choice was made.
int ChooseImageFiles(const QString& folder, ResourceList& resources, int flags, CWnd* parent = nullptr);
// One image file: ChooseImageFiles with both flags; the record is set only when done.
int ChooseImageFile(const QString& folder, std::unique_ptr<ndb::CNdbResource>& resource,
                    CWnd* parent = nullptr);

// Asks how the images are to be sized, then appends for each record, in order, either a new
// pipeline that fits its image to the chosen size over the newsletter's page colour, or null
// when the image is used as it is (also for a null record and for one without a known size).
// An empty list is done without asking; no newsletter fails; the user's cancel is cancelled.
int ImportImageWithOptions(const ndb::CNdbNewsletter* newsletter, const ResourceList& resources,
                           PipelineList& pipelines, CWnd* parent = nullptr);

// The pipeline that fits an image of the size into the limits of the import options (modes and
// sizes as CDlgImageImportOptions leaves them); null when the image fits as it is or its size is
// unknown.
struct ImageImportOptions
{
    int widthSetting = 0;
    int heightSetting = 0;
    int constrainWidth = 400;
    int constrainHeight = 300;
    int fixedWidth = 400;
    int fixedHeight = 300;
};
// The layer that draws the picture itself, resized and cropped to the effect's size, which it sets.
std::unique_ptr<gre::CGreLayerImage> MakeSourceLayer(quint32 nameId);
std::unique_ptr<gre::CGrePipeline> MakeImportPipeline(const ImageImportOptions& options, QSize imageSize,
                                                      const gre::CGreColor& background);
