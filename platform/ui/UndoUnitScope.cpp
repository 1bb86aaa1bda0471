#include "platform/ui/UndoUnitScope.h"

CUndoUnitScope::CUndoUnitScope(const CHtmlDocument& document, const QString& title, bool begin)
    : m_document(document), m_begun(begin && document.BeginUndoUnit(title))
{
}

CUndoUnitScope::~CUndoUnitScope()
{
    if (m_begun)
        m_document.EndUndoUnit();
}
