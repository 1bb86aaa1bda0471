#pragma once

#include <QtGlobal>

#include <functional>

class CWnd;

namespace ndb
{
class CNdbSender;
}

// The strings of one page's "Copy settings from..." button.
struct SenderImportTexts
{
    quint32 fileKind = 0;   // the filter's description
    quint32 openFailed = 0; // the file could not be read
    quint32 confirm = 0;    // "%s": the subject of the chosen newsletter
    quint32 done = 0;
};

// Lets the user choose a newsletter file and, once confirmed, hands its sender record to copy;
// the folder of the file is remembered for the next choice. False when nothing was copied.
bool ImportSenderSettings(CWnd* parent, const SenderImportTexts& texts,
                          const std::function<void(const ndb::CNdbSender&)>& copy);
