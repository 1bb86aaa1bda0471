// The element readers of the layout editor on arbitrary texts: the lines of the input are the
// inline style declarations and then the metadata pairs of a box, in the order the reader asks
// for them. A box read and written back must read and write the same again: nothing a second
// edit of an untouched box would change or lose.
#include "editor/BoxStyle.h"
#include "ndb/NdbLayout.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"

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
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
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
    return 0;
}
