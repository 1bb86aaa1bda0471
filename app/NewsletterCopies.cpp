#include "app/NewsletterCopies.h"

#include "base/ArchiveFile.h"
#include "base/PSStreamMemory.h"
#include "ndb/NdbNewsletter.h"

#include <vector>

namespace NewsletterCopies
{
std::unique_ptr<ndb::CNdbNewsletter> MakeCopy(ndb::CNdbNewsletter& newsletter)
{
    using ndb::CNdbNewsletter;
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    const ArchiveFileHeader header{CNdbNewsletter::FileTypeTag,
                                   CNdbNewsletter::FileMajorVersion,
                                   CNdbNewsletter::FileMinorVersion,
                                   QString(),
                                   0,
                                   0};
    if (!WriteArchiveStream(stream, header, [&](CPSArchive& archive) { newsletter.Serialize(archive); }))
        return nullptr;
    stream.Open(CPSStreamMemory::ModeRead);
    auto copy = std::make_unique<CNdbNewsletter>();
    if (!copy->LoadFromStream(stream))
        return nullptr;
    copy->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    copy->Log().DeleteAllEntries();
    copy->HandledBounces().clear();
    return copy;
}

std::unique_ptr<ndb::CNdbNewsletter> MakeTemplate(ndb::CNdbNewsletter& newsletter)
{
    auto copy = MakeCopy(newsletter);
    if (!copy)
        return nullptr;
    copy->SetField(ndb::NewsletterTemplateFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    for (const int id :
         {ndb::NewsletterPath, ndb::NewsletterImportance, ndb::NewsletterCreated, ndb::NewsletterTime200})
        copy->RemoveField(id);
    copy->Users().DeleteAll();
    std::vector<int> senderFields;
    for (const auto& [id, value] : copy->Sender().GetFields())
        senderFields.push_back(id);
    for (const int id : senderFields)
        copy->Sender().RemoveField(id);
    return copy;
}
} // namespace NewsletterCopies
