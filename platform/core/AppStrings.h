#pragma once

#include <QString>

// The text of a string resource, looked up in the current resource module first and then in
// the built-in English resources; empty when neither holds the id.
QString LoadAppString(quint32 id);

// The language code of the current resources ("en" for the built-in ones) and its folder name.
QString GetLanguageCode();
QString GetLanguageFolder();

// Makes a compiled resource file (a language module) the current resource module. False,
// with the current module unchanged, when the file cannot be registered or holds no string
// table.
bool LoadResourceModule(const QString& rccFile);
// Goes back to the resources built into the program.
void UseBuiltInResources();
// The resource path prefix of the current module (":/" for the built-in one), for readers of
// other resources than strings.
QString GetResourceRoot();
