#pragma once

#include <string>

class CPSBase;

// One entry of the process-wide class registry: a singly linked list, filled by static
// factory objects before main runs and only read afterwards.
class CPSFactoryBase
{
public:
    CPSFactoryBase(int key, std::string name);
    CPSFactoryBase(const CPSFactoryBase&) = delete;
    CPSFactoryBase& operator=(const CPSFactoryBase&) = delete;
    virtual ~CPSFactoryBase() = default;

    // A new object of the class for an archive to read into, owned by the caller.
    virtual CPSBase* Create() const = 0;

    int GetClassKey() const { return m_key; }
    const std::string& GetClassName() const { return m_name; }
    const CPSFactoryBase* GetNext() const { return m_next; }

    static const CPSFactoryBase* GetFirst();

private:
    int m_key;
    std::string m_name;
    const CPSFactoryBase* m_next;
};

// The first registered class whose key and name (byte for byte) match; null when none does.
const CPSFactoryBase* FindPersistentFactory(int key, const std::string& name);
// A new object of that class; null when there is none.
CPSBase* CreatePersistentObject(int key, const std::string& name);
