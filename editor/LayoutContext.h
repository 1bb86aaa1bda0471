#pragma once

#include "dialogs/DialogContext.h"
#include "effects/EffectLibraryContext.h"
#include "mail/SpamRater.h"

#include <QString>

#include <memory>

namespace ndb
{
class CNdbBase;
class CNdbResource;
} // namespace ndb
namespace SpamFilter
{
class CSpamFilter;
} // namespace SpamFilter

// What the layout editor and its toolbar need of the program: the open document and its lock,
// the local server's addresses and rendered images, and the spam filter. The program's context
// implements it, so the editor does not build on the application.
class ILayoutContext : public IDialogContext, public IEffectLibraryContext, public ISpamRater
{
public:
    virtual ndb::CNdbBase* GetCurrentDocument() const = 0;
    virtual const QString& GetUnsubscribeText() const = 0;
    virtual std::shared_ptr<const ndb::CNdbResource> GetRenderedImage(const QString& resourcePath,
                                                                      const QString& pipelineId) = 0;
    virtual SpamFilter::CSpamFilter& GetSpamFilter() = 0;
};
