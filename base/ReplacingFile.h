#pragma once

#include "base/FileHelpers.h"

#include <QByteArray>
#include <QString>

// A new file written beside a path and renamed over it by Commit, so a save that fails at any
// point, or is given up, leaves the previous file as it was. The new file has the old file's
// mode, narrowed to the owner for OwnerOnly, never wider; the mode is set before any byte is in.
// A path that names a symbolic link, something other than a regular file or another account's
// file is refused (errno EPERM): whoever can write a shared folder cannot steer a save onto a
// file of theirs or ours. A file that is not committed is removed with this object.
class CReplacingFile
{
public:
    explicit CReplacingFile(const QString& path, FileReaders readers = FileReaders::Usual);
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;
    ~CReplacingFile();

    // The new file, open for writing; -1 when it could not be made, with errno saying why.
    int Descriptor() const { return m_fd; }

    // Hands the written bytes to the disk and renames the new file over the path. False, with
    // errno saying why and the new file removed, when any step fails.
    bool Commit();

private:
    bool Prepare(FileReaders readers);
    void Discard();

    QByteArray m_target;
    QByteArray m_temporary;
    int m_fd{-1};
};
