#pragma once

#include "ndb/NdbSender.h"
#include "platform/ui/ComboBox.h"

#include <QString>

#include <span>

// A drop-down of whole-number sender values: each entry shows its value's text and keeps the
// value, so the choice goes back into the sender's field as it was offered.
void FillValueCombo(CComboBox& combo, std::span<const int> values, QString (*text)(int), int selected);
// The chosen value into the field; nothing when no entry is chosen.
void StoreComboValue(const CComboBox& combo, ndb::CNdbSender& sender, int field);
