#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

// Who may read a file that a save writes.
enum class FileReaders
{
    Usual,     // as the user's file creation mask says, or as the replaced file was
    OwnerOnly, // the file holds a password: its owner alone
};

// Writes the bytes to a temporary file beside the path and renames it over the old file, with
// the modes and refusals of CReplacingFile (base/ReplacingFile.h).
bool WriteFileReplacing(const QString& path, const QByteArray& bytes,
                        FileReaders readers = FileReaders::Usual);

// Opens, creating it when absent, a file that the program writes beside a document or in a shared
// folder: never through a symbolic link, and only a regular file of this account. A refused file
// gives -1 with errno EPERM (another account's file or not a regular file) or ELOOP (a link).
// The flags say the access (O_RDWR, O_WRONLY, O_APPEND); truncating is the caller's, after this.
int OpenOwnFile(const QString& path, int flags, mode_t mode);

// Writes all the bytes to the descriptor, going on after interruptions.
bool WriteAll(int fd, const char* bytes, qint64 count);
inline bool WriteAll(int fd, const QByteArray& bytes)
{
    return WriteAll(fd, bytes.constData(), bytes.size());
}

// Whether the file is a regular file of this account.
bool IsOwnRegularFile(const struct stat& info);

// Whether the path names a symbolic link, something other than a regular file, or a file of
// another account: a file the program does not write over. False when nothing is there.
bool IsForeignFile(const QString& path);
