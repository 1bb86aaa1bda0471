#pragma once

#include "ndb/NdbSender.h"

#include <QString>

#include <memory>

class CWnd;

// The user's web-site accounts, each an archived sender record in the user setting
// "SiteAccount_<slot>", slots 0 to 99.
namespace SiteAccounts
{
constexpr int MaxAccounts = 100;

// "SiteAccount_<slot>".
QString SettingName(int slot);
// The account of the slot; null when the slot is empty or does not read as a record.
std::unique_ptr<ndb::CNdbSender> Read(int slot);
std::unique_ptr<ndb::CNdbSender> Read(const QString& settingName);
// Serialising writes through the record's own archive operation, which is not const.
bool Write(int slot, ndb::CNdbSender& account);
bool Write(const QString& settingName, ndb::CNdbSender& account);
// The first empty slot; -1 when all are taken.
int FindFreeSlot();
// Runs the site wizard over the account: true when it ended with Finish or OK.
bool RunWizard(CWnd* parent, const QString& caption, ndb::CNdbSender& account);
// Runs the site wizard over a new account and stores it in the first empty slot when the wizard
// ends with Finish or OK. Returns the new account's id; empty when nothing was stored.
QString CreateWithWizard(CWnd* parent, const QString& caption);
} // namespace SiteAccounts
