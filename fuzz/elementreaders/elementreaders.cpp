// Reads arbitrary texts as what a horizontal rule or an image of the page carries: lines of the
// input are its inline style values, attributes and name.
#include "editor/ElementReaders.h"
#include "ndb/NdbStyle.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    const auto line = [&lines](int i) { return lines.value(i); };

    ndb::CNdbStyle rule;
    ReadRuleStyle({line(0), line(1), line(2), line(3), line(4)}, rule);
    // The height and the border are always there, every length has a unit and a sane number.
    ndb::CNdbFieldValue value;
    for (const int id : {ndb::StyleHeight, ndb::StyleBorderTopWidth})
    {
        if (!rule.GetField(id, value) || value.GetUnit() == ndb::NdbUnitNone)
            std::abort();
    }
    if (rule.GetField(ndb::StyleWidth, value) &&
        (value.GetUnit() == ndb::NdbUnitNone || !(value.GetFloat() <= 1e6f)))
        std::abort();

    ndb::CNdbStyle image;
    ImageAttributes attributes;
    attributes.name = line(0);
    attributes.inlineFloat = line(1);
    attributes.inlineVerticalAlign = line(2);
    attributes.inlineDisplay = line(3);
    for (int side = 0; side < 4; ++side)
        attributes.margins[side] = line(4 + side);
    ReadImageStyle(attributes, image);
    image.GetFloatText();
    image.GetBorderTopStyleText();
    PipelineIdOf(line(0));
    UnescapeToolTip(line(1));
    return 0;
}
