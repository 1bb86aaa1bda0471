// Every persistable class of the record model is registered here, in one file, so that linking
// any record class brings the whole registry along (see base/PSFactory.h).
#include "base/PSFactory.h"
#include "ndb/NdbBase.h"
#include "ndb/NdbColor.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbPaletteColor.h"
#include "ndb/NdbStyle.h"

KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbColor, 1, "CNdbColor")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbBase, 1, "CNdbBase")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbPaletteColor, 1, "CNdbPaletteColor")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbPalette, 1, "CNdbPalette")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbStyle, 1, "CNdbStyle")
