#pragma once

#include <QString>

#include <map>
#include <set>

// Texts of a template written as "_(" key ")_" tokens, filled from localisation data: XML with a
// "zqlocalizationdata" element and "replace" elements giving each key its text.

// Key (lower case) to its text.
using LocalisationMap = std::map<QString, QString>;

// Keys that an expansion met without a text, lower case; emptied and read by newsletter
// creation on the UI thread only.
std::set<QString>& UnknownLocalisationKeys();

// Adds every key of the text to the map; false without a "zqlocalizationdata" element.
bool ParseLocalisationXml(LocalisationMap& map, const QString& xml);
// From a "file:///" address or a web address answering status 200.
bool LoadLocalisationData(const QString& address, LocalisationMap& map);
// With escape set, replacements are escaped for HTML text and attributes.
QString ExpandLocalisationTokens(const QString& text, const LocalisationMap& map, bool escape);
