#include "services/ConceptTemplateFolder.h"

CConceptTemplateBase* CConceptTemplateFolder::AppendChild(std::unique_ptr<CConceptTemplateBase> entry)
{
    m_children.push_back(std::move(entry));
    return m_children.back().get();
}

CConceptTemplateBase* CConceptTemplateFolder::InsertChild(std::unique_ptr<CConceptTemplateBase> entry,
                                                          int index)
{
    if (index < 0 || index >= GetChildCount())
        return AppendChild(std::move(entry));
    return m_children.insert(m_children.begin() + index, std::move(entry))->get();
}

CConceptTemplateBase* CConceptTemplateFolder::FindById(const QString& id) const
{
    for (const auto& child : m_children)
    {
        if (child->GetId() == id)
            return child.get();
        if (child->IsFolder())
        {
            if (CConceptTemplateBase* found = static_cast<const CConceptTemplateFolder&>(*child).FindById(id))
                return found;
        }
    }
    return nullptr;
}
