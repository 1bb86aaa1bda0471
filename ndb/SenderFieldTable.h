#pragma once

#include "ndb/NdbFieldValue.h"

#include <span>

namespace ndb
{
// One field of the sender profile: the value tag its record accepts and what a missing field
// counts as, once for the e-mail settings pages and once for the send engine (they differ for
// the throttle, which the engine does not apply until the settings were confirmed once).
struct SenderFieldInfo
{
    int id = 0;
    NdbValueType tag = NdbValueText;
    int pageDefault = 0;
    int engineDefault = 0;
};

std::span<const SenderFieldInfo> SenderFields();
// Null for an id the profile does not use; such a field is text.
const SenderFieldInfo* FindSenderField(int id);
NdbValueType SenderFieldTag(int id);
int SenderPageDefault(int id);
} // namespace ndb
