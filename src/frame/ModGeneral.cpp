#include "frame/ModGeneral.h"

#include <QCoreApplication>

namespace ModGeneral {

Personnage &PlayerTable::operator()(int n)
{
    if (n < 0)
        n = 0;
    if (n >= static_cast<int>(m_slots.size()))
        m_slots.resize(n + 1);
    auto &slot = m_slots[n];
    if (!slot)
        slot = std::make_unique<Personnage>();
    return *slot;
}

void PlayerTable::resize(int count)
{
    m_slots.resize(std::max(count, 0) + 1);
}

void PlayerTable::clear()
{
    m_slots.clear();
    m_slots.resize(1);
}

QString AppFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace ModGeneral
