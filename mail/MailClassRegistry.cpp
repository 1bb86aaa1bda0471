// Every persistable class of kv_mail is registered here, in one file (see base/PSFactory.h).
#include "mail/SpamDB.h"

KV_REGISTER_PERSISTENT_CLASS(SpamFilter::CSpamDB, 1, "CSpamDB")
