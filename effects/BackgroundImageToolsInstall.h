#pragma once

// Hands the image chooser and the effect editor to the background section of the element dialogs.
void InstallBackgroundImageTools();
