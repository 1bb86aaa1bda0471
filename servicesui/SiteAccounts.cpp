#include "servicesui/SiteAccounts.h"

#include "base/AppSettings.h"
#include "base/PSArchive.h"
#include "base/PSStreamMemory.h"
#include "controls/KVPropertySheet.h"
#include "ndb/NdbBase.h"
#include "platform/ui/PropertySheet.h"
#include "servicesui/PageSiteAccountProperties1.h"
#include "servicesui/PageSiteAccountProperties2.h"

namespace
{
constexpr int AccountId = 1;
} // namespace

namespace SiteAccounts
{
QString SettingName(int slot)
{
    return QStringLiteral("SiteAccount_%1").arg(slot);
}

std::unique_ptr<ndb::CNdbSender> Read(int slot)
{
    return Read(SettingName(slot));
}

std::unique_ptr<ndb::CNdbSender> Read(const QString& settingName)
{
    QByteArray bytes;
    if (!ReadAppSettingBinary(HKEY_CURRENT_USER, settingName, bytes))
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
    return Write(SettingName(slot), account);
}

bool Write(const QString& settingName, ndb::CNdbSender& account)
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
    return WriteAppSettingBinary(HKEY_CURRENT_USER, settingName, stream.GetBuffer());
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
    if (!RunWizard(parent, caption, account) || !Write(slot, account))
        return {};
    return account.GetString(AccountId);
}

bool RunWizard(CWnd* parent, const QString& caption, ndb::CNdbSender& account)
{
    CPageSiteAccountProperties1 step1(&account);
    CPageSiteAccountProperties2 step2(&account);
    CKVPropertySheet sheet(caption, parent);
    sheet.UseProgramButtonCaptions();
    sheet.AddPage(&step1);
    sheet.AddPage(&step2);
    sheet.m_psh.dwFlags |= PSH_WIZARD;
    const INT_PTR result = sheet.DoModal();
    return result == ID_WIZFINISH || result == IDOK;
}
} // namespace SiteAccounts
