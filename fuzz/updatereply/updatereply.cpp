// Reads arbitrary bytes as the store's update reply.
#include "services/UpdateReply.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator reply;
    if (!reply.Parse(text, CX2TransformXmlFennick()))
        return 0;
    std::vector<UpdatePackage> packages;
    UpdateReply::Read(reply, packages);
    return 0;
}
