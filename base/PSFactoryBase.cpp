#include "base/PSFactoryBase.h"

namespace
{
// Constant-initialised, so it is empty before any factory's dynamic initialisation runs,
// whatever order the linker gives the translation units.
constinit const CPSFactoryBase* g_firstFactory = nullptr;
} // namespace

CPSFactoryBase::CPSFactoryBase(int key, std::string name)
    : m_key(key), m_name(std::move(name)), m_next(g_firstFactory)
{
    g_firstFactory = this;
}

const CPSFactoryBase* CPSFactoryBase::GetFirst()
{
    return g_firstFactory;
}

const CPSFactoryBase* FindPersistentFactory(int key, const std::string& name)
{
    for (const CPSFactoryBase* factory = g_firstFactory; factory; factory = factory->GetNext())
    {
        if (factory->GetClassKey() == key && factory->GetClassName() == name)
            return factory;
    }
    return nullptr;
}

CPSBase* CreatePersistentObject(int key, const std::string& name)
{
    const CPSFactoryBase* factory = FindPersistentFactory(key, name);
    return factory ? factory->Create() : nullptr;
}
