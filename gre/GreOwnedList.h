#pragma once

#include <memory>
#include <vector>

namespace gre
{
// The effects of a layer, the children of a group: owned objects whose copy is a list of
// clones in the same order, so the classes holding them copy deeply with their defaults.
template <class T> class CGreOwnedList : public std::vector<std::unique_ptr<T>>
{
public:
    CGreOwnedList() = default;
    CGreOwnedList(CGreOwnedList&&) noexcept = default;
    CGreOwnedList& operator=(CGreOwnedList&&) noexcept = default;
    CGreOwnedList(const CGreOwnedList& other) : std::vector<std::unique_ptr<T>>()
    {
        this->reserve(other.size());
        for (const auto& entry : other)
            this->push_back(entry->Clone());
    }
    CGreOwnedList& operator=(const CGreOwnedList& other)
    {
        if (this != &other)
        {
            CGreOwnedList copy(other);
            this->swap(copy);
        }
        return *this;
    }
};
} // namespace gre
