#pragma once

// Registers the resources compiled into the program. A static library's resources are not
// registered on their own; every reader of ":/" paths calls this first (cheap after the first call).
void InitKelvoraResources();
