// Every persistable class of this library registers here (see base/PSFactory.h for why in one file).

#include "base/PSFactory.h"
#include "services/FileSync.h"

KV_REGISTER_PERSISTENT_CLASS(CFileSync, 1, "CFileSync")
