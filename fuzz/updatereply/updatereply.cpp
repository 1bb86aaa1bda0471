// Reads arbitrary bytes as the store's update reply. Every package read keeps the rules of a
// package, and nothing is read past the first patch.
#include "services/UpdateReply.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator reply;
    if (!reply.Parse(text, CX2TransformXmlFennick()))
        return 0;
    std::vector<UpdatePackage> packages;
    const UpdateReply::Result result = UpdateReply::Read(reply, packages);
    if ((result == UpdateReply::NoPackages) != packages.empty() && result != UpdateReply::Invalid)
        std::abort();
    for (size_t i = 0; i < packages.size(); ++i)
    {
        const UpdatePackage& package = packages[i];
        if (package.id <= 0 || package.size <= 0 || package.name.isEmpty() || package.fileUrl.isEmpty() ||
            (!package.files && i + 1 != packages.size()))
            std::abort();
    }
    return 0;
}
