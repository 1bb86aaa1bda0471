#pragma once

#include "platform/ui/ComboBox.h"

#include <QString>
#include <QStringList>

// Fills the drop-down with the names of the site's mailing lists and ids with their ids; each
// entry keeps its position in ids, since the drop-down sorts its entries by name. The list of
// chosenId is chosen, else the first. False when the site gave no lists; both stay empty then.
bool FillMailingListChoice(CComboBox& combo, QStringList& ids, const QString& address, const QString& user,
                           const QString& password, const QString& chosenId);
