#include "dialogs/FieldGroups.h"

void CFieldGroups::Add(std::function<QString()> state, std::function<void()> store)
{
    m_groups.push_back({std::move(state), std::move(store), QString()});
}

void CFieldGroups::Mark()
{
    for (Group& group : m_groups)
        group.written = group.state();
}

void CFieldGroups::Store()
{
    for (Group& group : m_groups)
    {
        const QString state = group.state();
        if (state == group.written)
            continue;
        group.store();
        group.written = state;
    }
}

QString CFieldGroups::State() const
{
    QString state;
    for (const Group& group : m_groups)
        state += group.state() + QLatin1Char(';');
    return state;
}
