#pragma once

#include "base/PSBase.h"
#include "base/PSFactoryBase.h"

#include <string>
#include <type_traits>

// The registry entry of one persistable class T: creates a T to be read. A class whose default
// constructor does work that reading replaces anyway (a new identifier) offers a constructor
// taking CPSReading, and the factory uses that one.
template <class T> class CPSFactory final : public CPSFactoryBase
{
public:
    CPSFactory(int key, std::string name) : CPSFactoryBase(key, std::move(name)) {}

    CPSBase* Create() const override
    {
        if constexpr (std::is_constructible_v<T, CPSReading>)
            return new T(CPSReading{});
        else
            return new T;
    }
};

// Making a class persistable takes one line in the class and one registration line:
//
//     class CNdbUser : public CNdbBase            // ndb/NdbUser.h
//     {
//         KV_PERSISTENT_CLASS()                   // declares both, leaves the access public
//         void Serialize(CPSArchive& archive) override;
//         ...
//     };
//
//     KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbUser, 1, "CNdbUser")   // ndb/NdbClassRegistry.cpp
//
// The registration defines the static factory object and the class's GetClassKey and
// GetClassName, which answer with that entry, so a class is always written under the name it
// was registered with.
//
// Where the registrations go matters. Each library is a static archive, and the linker takes an
// object file from it only when something it already has refers to a symbol in that file. A
// factory object that sits alone beside a class the program never names (a layer kind created
// only when a file is read) would be dropped and the class could not be read back. So each
// library puts all its registrations into ONE source file. Every persistable class's vtable
// refers to its GetClassName, which that file defines, so as soon as the program links any class
// of the library, the registry file comes with it; its factories in turn refer to every class's
// constructor and so pull in the rest. The registry is then complete before main, with no
// registration call for anyone to forget and no whole-archive link flags.
#define KV_PERSISTENT_CLASS()                                                                                \
public:                                                                                                      \
    int GetClassKey() const override;                                                                        \
    const std::string& GetClassName() const override;

#define KV_PS_CONCAT_INNER(a, b) a##b
#define KV_PS_CONCAT(a, b) KV_PS_CONCAT_INNER(a, b)
#define KV_PS_FACTORY_NAME KV_PS_CONCAT(kvPersistentFactory, __LINE__)

#define KV_REGISTER_PERSISTENT_CLASS(QualifiedClass, key, name)                                              \
    namespace                                                                                                \
    {                                                                                                        \
    const CPSFactory<QualifiedClass> KV_PS_FACTORY_NAME(key, name);                                          \
    }                                                                                                        \
    int QualifiedClass::GetClassKey() const                                                                  \
    {                                                                                                        \
        return KV_PS_FACTORY_NAME.GetClassKey();                                                             \
    }                                                                                                        \
    const std::string& QualifiedClass::GetClassName() const                                                  \
    {                                                                                                        \
        return KV_PS_FACTORY_NAME.GetClassName();                                                            \
    }
