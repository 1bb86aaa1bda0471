#pragma once

#include "services/UpdatePackage.h"

#include <vector>

class CX2Validator;

// Reads the store's parsed update reply: the element "kvupdates" with status "ok" and its
// "package" elements in document order, up to and with the first patch.
namespace UpdateReply
{
enum Result : int
{
    Invalid = 1,
    NoPackages = 2,
    Packages = 3,
};

// Appends the packages; those before a package that breaks a rule stay appended.
Result Read(CX2Validator& reply, std::vector<UpdatePackage>& packages);
} // namespace UpdateReply
