#pragma once

#include "ndb/NdbResource.h"

#include <memory>
#include <vector>

class CWnd;

enum class AttachmentChoice
{
    Added,
    Cancelled,
    Failed, // a chosen file could not be read: nothing of the choice is kept
};

// Lets the user choose files of any kind, starting in the folder, and reads each into a new
// record with its name, size, type and source path, in the order chosen.
AttachmentChoice ChooseAttachmentFiles(CWnd* parent, const QString& folder,
                                       std::vector<std::unique_ptr<ndb::CNdbResource>>& added);
// Reads one file into a new record; null when it cannot be read.
std::unique_ptr<ndb::CNdbResource> LoadAttachmentFile(const QString& path);
