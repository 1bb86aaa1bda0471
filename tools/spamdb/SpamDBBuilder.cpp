// kv_spamdb_builder HAM_FOLDER SPAM_FOLDER OUTPUT
//
// Counts the words of a ham and a spam corpus into the spam word database the program ships
// ("spamdb.dat"). Every *.txt file of a folder is one message, read as UTF-8. A word's count is
// the number of messages of its kind that contain it, so one message that repeats a word cannot
// make it telling on its own. The text is lower-cased and split by the classifier's own
// tokenizer, exactly as a page is before it is rated. The output depends only on the corpora.

#include "base/ArchiveValues.h"
#include "base/PSArchive.h"
#include "base/PSStreamFile.h"
#include "mail/ParserBayesian.h"
#include "mail/SpamDB.h"
#include "mail/SpamFilter.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <map>
#include <set>
#include <utility>

namespace
{

void Complain(const QString& text)
{
    std::fprintf(stderr, "kv_spamdb_builder: %s\n", qUtf8Printable(text));
}

// Messages of the folder, in name order; false when the folder has none or a file cannot be
// read.
bool ReadMessages(const QString& folder, QStringList& messages)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    if (names.isEmpty())
    {
        Complain(QStringLiteral("no *.txt messages in %1").arg(folder));
        return false;
    }
    for (const QString& name : names)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
        {
            Complain(QStringLiteral("cannot read %1").arg(file.fileName()));
            return false;
        }
        messages.append(QString::fromUtf8(file.readAll()));
    }
    return true;
}

// Word -> number of messages containing it.
std::map<QString, int> CountWords(const QStringList& messages)
{
    const SpamFilter::CParserBayesian parser;
    std::map<QString, int> counts;
    for (const QString& message : messages)
    {
        SpamFilter::TokenMap tokens;
        parser.Tokenize(message.toLower(), tokens);
        for (const auto& token : tokens)
            ++counts[token.first];
    }
    return counts;
}

bool WriteDatabase(SpamFilter::CSpamDB& database, const QString& path)
{
    int major = 0;
    int minor = 0;
    int third = 0;
    SpamFilter::CSpamFilter().GetSupportedVersion(major, minor, third);

    // Written beside the target and renamed over it, so a failed run leaves the old file.
    const QString temporary = path + QStringLiteral(".tmp");
    {
        CPSStreamFile file;
        if (!file.Open(temporary, false, false))
        {
            Complain(QStringLiteral("cannot create %1").arg(temporary));
            return false;
        }
        CPSArchive archive(file);
        archive.SetUtf8(true);
        ArchiveWriteInt(archive, major);
        ArchiveWriteInt(archive, minor);
        ArchiveWriteInt(archive, third);
        const bool written = ArchiveSerializeRoot(archive, database) && archive.Flush() && file.Flush();
        file.Close();
        if (!written)
        {
            QFile::remove(temporary);
            Complain(QStringLiteral("cannot write %1").arg(temporary));
            return false;
        }
    }
    QFile::remove(path);
    if (!QFile::rename(temporary, path))
    {
        Complain(QStringLiteral("cannot rename %1 to %2").arg(temporary, path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: kv_spamdb_builder HAM_FOLDER SPAM_FOLDER OUTPUT\n");
        return 2;
    }
    QStringList ham;
    QStringList spam;
    if (!ReadMessages(QString::fromLocal8Bit(argv[1]), ham) ||
        !ReadMessages(QString::fromLocal8Bit(argv[2]), spam))
        return 1;

    const std::map<QString, int> hamCounts = CountWords(ham);
    const std::map<QString, int> spamCounts = CountWords(spam);
    SpamFilter::CSpamDB database;
    database.SetTotals(static_cast<int>(ham.size()), static_cast<int>(spam.size()));
    for (const auto& [word, count] : hamCounts)
        database.SetWordCounts(word, count, 0);
    for (const auto& [word, count] : spamCounts)
        database.SetWordCounts(word, database.GetHamCount(word), count);

    const QString output = QString::fromLocal8Bit(argv[3]);
    if (!WriteDatabase(database, output))
        return 1;
    std::printf("%s: %d ham and %d spam messages, %d words\n", qUtf8Printable(output), database.GetHamTotal(),
                database.GetSpamTotal(), database.GetWordCount());
    return 0;
}
