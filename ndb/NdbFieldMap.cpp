#include "ndb/NdbFieldMap.h"

#include <algorithm>
#include <stdexcept>

namespace ndb
{
namespace
{
template <class Fields> auto LowerBound(Fields& fields, int id)
{
    return std::lower_bound(fields.begin(), fields.end(), id,
                            [](const auto& field, int wanted) { return field.first < wanted; });
}

template <class Fields> auto Find(Fields& fields, int id)
{
    const auto found = LowerBound(fields, id);
    return found != fields.end() && found->first == id ? found : fields.end();
}
} // namespace

CNdbFieldMap::iterator CNdbFieldMap::find(int id)
{
    return Find(m_fields, id);
}

CNdbFieldMap::const_iterator CNdbFieldMap::find(int id) const
{
    return Find(m_fields, id);
}

const CNdbFieldValue& CNdbFieldMap::at(int id) const
{
    const auto found = find(id);
    if (found == end())
        throw std::out_of_range("no field with this id");
    return found->second;
}

CNdbFieldValue& CNdbFieldMap::FindOrInsert(int id)
{
    const auto found = LowerBound(m_fields, id);
    if (found->first == id)
        return found->second;
    return m_fields.emplace(found, std::piecewise_construct, std::forward_as_tuple(id), std::tuple<>())
        ->second;
}

size_t CNdbFieldMap::erase(int id)
{
    const auto found = find(id);
    if (found == end())
        return 0;
    m_fields.erase(found);
    return 1;
}
} // namespace ndb
