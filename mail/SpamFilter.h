#pragma once

#include "mail/FilterBayesian.h"
#include "mail/SpamDB.h"

#include <QString>

#include <memory>

class CPSStream;

namespace SpamFilter
{

// The spam filter of the application context: the word database, loaded once from
// "spamdb.dat", and the classifier that rates pages against it.
class CSpamFilter
{
public:
    CSpamFilter();
    CSpamFilter(const CSpamFilter&) = delete;
    CSpamFilter& operator=(const CSpamFilter&) = delete;
    virtual ~CSpamFilter();

    // "spamdb.dat": three int32 version numbers, then the database in its archived form (UTF-8
    // words). False when the file cannot be opened or is newer than this program reads (the
    // database is then unchanged), and when it is damaged (the database is then empty).
    bool LoadDatabase(const QString& path);
    // The same from a stream opened for reading.
    bool LoadDatabase(CPSStream& stream);

    CSpamDB& GetDatabase() { return m_database; }
    const CSpamDB& GetDatabase() const { return m_database; }

    // Databases up to major.minor are read; the third number is not compared. A new database
    // is written with this version.
    void GetSupportedVersion(int& major, int& minor, int& third) const;

    // Created on first use; one classifier serves every rating.
    CFilterBayesian& GetClassifier();
    bool HasClassifier() const { return m_classifier != nullptr; }

private:
    CSpamDB m_database;
    std::unique_ptr<CFilterBayesian> m_classifier;
    int m_supportedMajor{1};
    int m_supportedMinor{2};
    int m_supportedThird{3};
};

} // namespace SpamFilter
