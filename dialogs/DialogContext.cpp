#include "dialogs/DialogContext.h"

#include "ndb/NdbNewsletter.h"

ndb::CNdbPalette* CurrentPalette(IDialogContext* context)
{
    ndb::CNdbNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    return newsletter ? &newsletter->Palette() : nullptr;
}
