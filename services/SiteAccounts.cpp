#include "services/SiteAccounts.h"

#include "base/AppSettings.h"
#include "base/PSArchive.h"
#include "base/PSStreamMemory.h"
#include "controls/KVPropertySheet.h"
#include "ndb/NdbBase.h"
#include "platform/ui/PropertySheet.h"
#include "services/PageSiteAccountProperties1.h"
#include "services/PageSiteAccountProperties2.h"

namespace
{
constexpr int AccountId = 1;

QString SettingName(int slot)
{
    return QStringLiteral("SiteAccount_%1").arg(slot);
}
} // namespace

namespace SiteAccounts
{
std::unique_ptr<ndb::CNdbSender> Read(int slot)
{
    QByteArray bytes;
    if (!ReadAppSettingBinary(HKEY_CURRENT_USER, SettingName(slot), bytes))
        return nullptr;
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    auto account = std::make_unique<ndb::CNdbSender>();
    try
    {
        CPSArchive archive(stream);
        account->Serialize(archive);
    }
    catch (const std::exception&)
    {
        return nullptr;
    }
    return account;
}

bool Write(int slot, ndb::CNdbSender& account)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    try
    {
        CPSArchive archive(stream);
        account.Serialize(archive);
    }
    catch (const std::exception&)
    {
        return false;
    }
    return WriteAppSettingBinary(HKEY_CURRENT_USER, SettingName(slot), stream.GetBuffer());
}

int FindFreeSlot()
{
    for (int slot = 0; slot < MaxAccounts; ++slot)
    {
        QByteArray bytes;
        if (!ReadAppSettingBinary(HKEY_CURRENT_USER, SettingName(slot), bytes))
            return slot;
    }
    return -1;
}

QString CreateWithWizard(CWnd* parent, const QString& caption)
{
    const int slot = FindFreeSlot();
    if (slot < 0)
        return {};
    ndb::CNdbSender account;
    account.SetField(AccountId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    CPageSiteAccountProperties1 step1(&account);
    CPageSiteAccountProperties2 step2(&account);
    CKVPropertySheet sheet(caption, parent);
    sheet.UseProgramButtonCaptions();
    sheet.AddPage(&step1);
    sheet.AddPage(&step2);
    sheet.m_psh.dwFlags |= PSH_WIZARD;
    const INT_PTR result = sheet.DoModal();
    if ((result != ID_WIZFINISH && result != IDOK) || !Write(slot, account))
        return {};
    return account.GetString(AccountId);
}
} // namespace SiteAccounts
