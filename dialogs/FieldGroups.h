#pragma once

#include <QString>

#include <functional>
#include <vector>

// Groups of controls of a dialog with the fields each writes. The state of a group as text tells
// whether the user changed it: Store writes only the groups changed since Mark or the last Store,
// so that merely opening a dialog and pressing OK leaves a record as it was.
class CFieldGroups
{
public:
    void Add(std::function<QString()> state, std::function<void()> store);
    // Takes what the controls show now as written.
    void Mark();
    void Store();
    QString State() const;

private:
    struct Group
    {
        std::function<QString()> state;
        std::function<void()> store;
        QString written;
    };

    std::vector<Group> m_groups;
};
