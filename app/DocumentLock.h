#pragma once

#include <QString>

// The mark that a document is open in a program. The file "<document>~" holds three strings
// (the magic "KVLOCK", the owner's name and the computer's name), and for as long as the
// document is open the program holds an exclusive lock on its open file description. Nothing
// else can take that lock, and the system drops it with the program, even a killed one: a "~"
// file that nobody holds locked is left over and marks nothing.
class CDocumentLock
{
public:
    static inline const QString Magic = QStringLiteral("KVLOCK");

    CDocumentLock() = default;
    ~CDocumentLock();
    CDocumentLock(const CDocumentLock&) = delete;
    CDocumentLock& operator=(const CDocumentLock&) = delete;

    // Replaces the lock this object holds by one for the document; false, without a lock, when
    // the "~" file cannot be made, is locked by someone else, or is a link or another account's
    // file (left as it is). The texts are written as well as possible.
    bool Create(const QString& documentPath);
    // Deletes the "~" file and drops the lock.
    void Delete();
    bool IsHeld() const { return m_fd >= 0; }
    const QString& GetLockPath() const { return m_lockPath; }

    // Whether a program holds the document's lock, this one included, with the owner and computer
    // names from its "~" file (empty when the file is foreign or cannot be read).
    static bool IsInUse(const QString& documentPath, QString& owner, QString& computer);
    static QString LockPathOf(const QString& documentPath) { return documentPath + u'~'; }
    // The user's full name, else the login name; the host's name.
    static QString OwnerName();
    static QString ComputerName();

private:
    int m_fd = -1;
    QString m_lockPath;
};
