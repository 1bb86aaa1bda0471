#pragma once

#include "services/ConceptTemplateBase.h"

#include <memory>
#include <vector>

// A folder of the catalogue; the whole catalogue is one root folder whose children are the
// gallery's tabs. Children keep the catalogue's order.
class CConceptTemplateFolder : public CConceptTemplateBase
{
public:
    CConceptTemplateFolder() : CConceptTemplateBase(FolderKind) {}

    bool IsInitialFolder() const { return m_initialFolder; }
    void SetInitialFolder(bool initial) { m_initialFolder = initial; }

    int GetChildCount() const { return int(m_children.size()); }
    CConceptTemplateBase* GetChild(int index) const { return m_children[size_t(index)].get(); }
    CConceptTemplateBase* AppendChild(std::unique_ptr<CConceptTemplateBase> entry);
    // Before the child at the index when there is one, else at the end.
    CConceptTemplateBase* InsertChild(std::unique_ptr<CConceptTemplateBase> entry, int index);
    // Depth-first: each child's own id is tested before its children's.
    CConceptTemplateBase* FindById(const QString& id) const;

private:
    bool m_initialFolder{false};
    std::vector<std::unique_ptr<CConceptTemplateBase>> m_children;
};
