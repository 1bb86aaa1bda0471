// Every persistable class of the recipients library is registered here, in one file (see
// base/PSFactory.h).
#include "base/PSFactory.h"
#include "recipients/UserImportProfile.h"

KV_REGISTER_PERSISTENT_CLASS(CUserImportProfile, 1, "CUserImportProfile")
