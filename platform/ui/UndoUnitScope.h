#pragma once

#include "platform/ui/HtmlDocument.h"

#include <QString>

// A named undo unit of a browser control's live document: what changes while the scope lives is
// undone and redone as one step under the title. Scopes nest; an inner unit belongs to the
// outermost one, whose title the step carries.
class CUndoUnitScope
{
public:
    CUndoUnitScope(const CHtmlDocument& document, const QString& title, bool begin = true);
    ~CUndoUnitScope();
    CUndoUnitScope(const CUndoUnitScope&) = delete;
    CUndoUnitScope& operator=(const CUndoUnitScope&) = delete;

    bool IsBegun() const { return m_begun; }

private:
    CHtmlDocument m_document;
    bool m_begun{false};
};
