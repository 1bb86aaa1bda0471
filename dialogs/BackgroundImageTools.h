#pragma once

#include <QString>

#include <functional>
#include <memory>

class CWnd;
class IDialogContext;
namespace ndb
{
class CNdbResource;
}

// The image chooser and the effect editor of the background section. They belong to the effects
// library, which builds on this one: the program hands them over before an element dialog runs.
// Without them Browse and Image Effects stay disabled.
struct BackgroundImageTools
{
    // Lets the user choose one image file, starting in the folder: 0 with the record set when
    // done, another number when cancelled or failed.
    std::function<int(const QString& folder, std::unique_ptr<ndb::CNdbResource>& image, CWnd* parent)>
        chooseImage;
    // Edits the effect of the image; true on OK, with the key under which the project holds it.
    std::function<bool(IDialogContext* context, const QString& effect, const ndb::CNdbResource& image,
                       CWnd* parent, QString& key)>
        editEffect;
};

void SetBackgroundImageTools(BackgroundImageTools tools);
const BackgroundImageTools& GetBackgroundImageTools();
