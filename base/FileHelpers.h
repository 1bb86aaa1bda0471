#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// Who may read a file that a save writes.
enum class FileReaders
{
    Usual,     // as the user's file creation mask says, or as the replaced file was
    OwnerOnly, // the file holds a password: its owner alone
};

// Writes the bytes to a temporary file beside the path and renames it over the old file, so a
// save that fails at any point leaves the previous file as it was. The new file has the old
// file's mode, narrowed to the owner for OwnerOnly, never wider. A path that names a symbolic
// link, something other than a regular file or another account's file is refused (false, errno
// EPERM): whoever can write a shared folder cannot steer a save onto a file of theirs or ours.
bool WriteFileReplacing(const QString& path, const QByteArray& bytes,
                        FileReaders readers = FileReaders::Usual);

// Opens, creating it when absent, a file that the program writes beside a document or in a shared
// folder: never through a symbolic link, and only a regular file of this account. A refused file
// gives -1 with errno EPERM (another account's file or not a regular file) or ELOOP (a link).
// The flags say the access (O_RDWR, O_WRONLY, O_APPEND); truncating is the caller's, after this.
int OpenOwnFile(const QString& path, int flags, mode_t mode);

// Writes all the bytes to the descriptor, going on after interruptions.
bool WriteAll(int fd, const QByteArray& bytes);

// Whether the path names a symbolic link, something other than a regular file, or a file of
// another account: a file the program does not write over. False when nothing is there.
bool IsForeignFile(const QString& path);
