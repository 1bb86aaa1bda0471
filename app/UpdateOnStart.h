#pragma once

// The setting "UpdateOnStart": whether the program looks for an update at every start. Read
// from the user's settings, else the installation's; absent counts as on.
namespace UpdateOnStart
{
bool IsOn();
// Writes the opposite for the installation (the user's value when the user has one).
void Toggle();
} // namespace UpdateOnStart
