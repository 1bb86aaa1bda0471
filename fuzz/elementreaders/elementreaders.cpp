// The element readers of the layout editor on arbitrary texts. The lines of the input are, for
// a box, its inline style declarations and then its metadata pairs, in the order the reader asks
// for them: a box read and written back must read and write the same again, nothing a second
// edit of an untouched box would change or lose. The same lines are the inline style values,
// attributes and name of a horizontal rule and of an image.
#include "editor/ElementReaders.h"
#include "editor/BoxStyle.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
void Apply(const ElementChanges& changes, ElementValues& style, ElementValues& pairs)
{
    for (const ElementChange& change : changes)
    {
        ElementValues& values = change.kind == ElementChange::Style ? style : pairs;
        if (change.value.isEmpty())
            values.erase(change.name);
        else
            values[change.name] = change.value;
    }
}

void CheckBox(const QStringList& lines)
{
    ElementValues style;
    ElementValues pairs;
    qsizetype line = 0;
    for (const QString& name : BoxStyleNames())
        style[name] = lines.value(line++);
    for (const QString& name : BoxPairNames())
        pairs[name] = lines.value(line++);

    ndb::CNdbPalette palette;
    ndb::CNdbLayout layout;
    ndb::CNdbStyle first;
    ReadBoxStyle(style, pairs, first);
    const ElementChanges written = BoxStyleChanges(first, &palette, &layout);
    Apply(written, style, pairs);
    ndb::CNdbStyle second;
    ReadBoxStyle(style, pairs, second);
    if (!(BoxStyleChanges(second, &palette, &layout) == written))
        std::abort();
}

// The height and the border are always there, every length has a unit and a sane number.
void CheckRule(const QStringList& lines)
{
    const auto line = [&lines](int i) { return lines.value(i); };
    ndb::CNdbStyle rule;
    ReadRuleStyle({line(0), line(1), line(2), line(3), line(4)}, rule);
    ndb::CNdbFieldValue value;
    for (const int id : {ndb::StyleHeight, ndb::StyleBorderTopWidth})
    {
        if (!rule.GetField(id, value) || value.GetUnit() == ndb::NdbUnitNone)
            std::abort();
    }
    if (rule.GetField(ndb::StyleWidth, value) &&
        (value.GetUnit() == ndb::NdbUnitNone || !(value.GetFloat() <= 1e6f)))
        std::abort();
}

void ReadImage(const QStringList& lines)
{
    ndb::CNdbStyle image;
    ImageAttributes attributes;
    attributes.name = lines.value(0);
    attributes.inlineFloat = lines.value(1);
    attributes.inlineVerticalAlign = lines.value(2);
    attributes.inlineDisplay = lines.value(3);
    for (int side = 0; side < 4; ++side)
        attributes.margins[side] = lines.value(4 + side);
    ReadImageStyle(attributes, image);
    image.GetFloatText();
    image.GetBorderTopStyleText();
    PipelineIdOf(lines.value(0));
    UnescapeToolTip(lines.value(1));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    CheckBox(lines);
    CheckRule(lines);
    ReadImage(lines);
    return 0;
}
