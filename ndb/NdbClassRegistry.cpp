// Every persistable class of the record model is registered here, in one file, so that linking
// any record class brings the whole registry along (see base/PSFactory.h).
#include "base/PSFactory.h"
#include "ndb/NdbBase.h"
#include "ndb/NdbColor.h"
#include "ndb/NdbFolder.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbLog.h"
#include "ndb/NdbLogEntry.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbPaletteColor.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbSender.h"
#include "ndb/NdbShortcutLink.h"
#include "ndb/NdbShortcuts.h"
#include "ndb/NdbStyle.h"
#include "ndb/NdbUser.h"
#include "ndb/NdbUserList.h"

KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbColor, 1, "CNdbColor")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbBase, 1, "CNdbBase")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbPaletteColor, 1, "CNdbPaletteColor")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbPalette, 1, "CNdbPalette")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbStyle, 1, "CNdbStyle")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbNewsletter, 1, "CNdbNewsletter")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbLayout, 1, "CNdbLayout")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbResource, 1, "CNdbResource")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbUserList, 1, "CNdbUserList")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbUser, 1, "CNdbUser")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbMailGroup, 1, "CNdbMailGroup")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbSender, 1, "CNdbSender")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbLog, 1, "CNdbLog")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbLogEntry, 1, "CNdbLogEntry")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbFolder, 1, "CNdbFolder")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbShortcuts, 1, "CNdbShortcuts")
KV_REGISTER_PERSISTENT_CLASS(ndb::CNdbShortcutLink, 1, "CNdbShortcutLink")
