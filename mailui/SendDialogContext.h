#pragma once

#include "mailui/SendContext.h"

#include <QString>

// What the Send dialog reads of the application besides what a send needs: the spam rating of
// the page, and the local web server that shows its summary.
class ISendDialogContext : public ISendContext
{
public:
    // 0 low, 1 medium, 2 high risk; false when no rating could be made.
    virtual bool RateSpam(const QString& page, int& rating) = 0;
    // Keeps the page as UTF-8 HTML under "webstore/" + name, replacing an earlier one.
    virtual void PutPageInWebStore(const QString& name, const QString& page) = 0;
    // The local server's absolute address of a path.
    virtual QString MakeServerUrl(const QString& path) const = 0;
};
