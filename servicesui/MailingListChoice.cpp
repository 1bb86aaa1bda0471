#include "servicesui/MailingListChoice.h"

#include "services/QorxInstaller.h"

bool FillMailingListChoice(CComboBox& combo, QStringList& ids, const QString& address, const QString& user,
                           const QString& password, const QString& chosenId)
{
    ids.clear();
    combo.ResetContent();
    CQorxInstaller::IdNameMap lists;
    if (CQorxInstaller().GetAllMailingLists(address, user, password, lists) != QorxResult::Success)
        return false;
    int chosen = -1;
    for (const auto& [id, name] : lists)
    {
        combo.SetItemData(combo.AddString(name), UINT_PTR(ids.size()));
        ids.append(id);
        if (id == chosenId || chosen < 0)
            chosen = int(ids.size()) - 1;
    }
    for (int item = 0; item < combo.GetCount(); ++item)
    {
        if (int(combo.GetItemData(item)) == chosen)
            combo.SetCurSel(item);
    }
    return true;
}
