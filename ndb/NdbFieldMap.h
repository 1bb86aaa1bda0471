#pragma once

#include "ndb/NdbFieldValue.h"

#include <tuple>
#include <utility>
#include <vector>

namespace ndb
{
// The fields of a record: values by id in ascending id order, kept in one sorted array. Records
// hold a handful of fields each, and a large recipient list millions of them, so a node per
// field (as in std::map) would cost more than the values themselves. The interface is the part
// of std::map that the records and their readers use; a reference into the map stays valid only
// until a field is added or removed.
class CNdbFieldMap
{
public:
    using value_type = std::pair<int, CNdbFieldValue>;
    using iterator = std::vector<value_type>::iterator;
    using const_iterator = std::vector<value_type>::const_iterator;

    iterator begin() { return m_fields.begin(); }
    iterator end() { return m_fields.end(); }
    const_iterator begin() const { return m_fields.begin(); }
    const_iterator end() const { return m_fields.end(); }
    size_t size() const { return m_fields.size(); }
    bool empty() const { return m_fields.empty(); }

    iterator find(int id);
    const_iterator find(int id) const;
    // Throws std::out_of_range for an absent id.
    const CNdbFieldValue& at(int id) const;
    // Inserts the default value (int 0) for an absent id. Ids that arrive in ascending order, as
    // a file lists them, are appended without a search.
    CNdbFieldValue& operator[](int id)
    {
        if (m_fields.empty() || m_fields.back().first < id)
            return m_fields.emplace_back(std::piecewise_construct, std::forward_as_tuple(id), std::tuple<>())
                .second;
        return FindOrInsert(id);
    }
    void insert_or_assign(int id, const CNdbFieldValue& value) { (*this)[id] = value; }
    size_t erase(int id);
    iterator erase(const_iterator position) { return m_fields.erase(position); }
    void clear() { m_fields.clear(); }
    void reserve(size_t count) { m_fields.reserve(count); }

private:
    CNdbFieldValue& FindOrInsert(int id);

    std::vector<value_type> m_fields;
};
} // namespace ndb
