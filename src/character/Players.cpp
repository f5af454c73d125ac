#include "character/Players.h"

#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <algorithm>
#include <limits>

namespace ModGeneral {

Personnage &PlayerTable::operator()(int n)
{
    if (n < 0)
        n = 0;
    if (n > size())
        vb::Raise(vb::ErrSubscript);
    auto &slot = m_slots[n];
    if (!slot)
        slot = std::make_unique<Personnage>();
    return *slot;
}

void PlayerTable::resize(int count)
{
    count = std::max(count, 0);
    // No character is ever numbered past what PlayerCount can count.
    if (count > std::numeric_limits<qint16>::max())
        vb::Raise(vb::ErrSubscript);
    for (int n = count + 1; n <= size(); ++n)
        if (m_slots[n])
            vb::Raise(vb::ErrSubscript);
    m_slots.resize(count + 1);
    m_free.erase(m_free.upper_bound(count), m_free.end());
}

void PlayerTable::dropNewest(int n)
{
    if (n < 1 || n != size())
        vb::Raise(vb::ErrSubscript);
    m_slots.pop_back();
}

void PlayerTable::release(int n)
{
    if (n < 1 || n > size())
        vb::Raise(vb::ErrSubscript);
    m_slots[n].reset();
    m_free.insert(n);
    while (size() >= 1 && m_free.count(size()) > 0) {
        m_free.erase(size());
        m_slots.pop_back();
    }
}

void PlayerTable::claim(int n)
{
    if (m_free.erase(n) == 0)
        vb::Raise(vb::ErrSubscript);
    m_slots[n] = std::make_unique<Personnage>();
}

void PlayerTable::clear()
{
    m_slots.clear();
    m_slots.resize(1);
    m_free.clear();
}

void RedimPlayer()
{
    try {
        const qint16 count = vb::Add16(PlayerCount, 1);
        PlayerCount = count;
        if (PlayerCount > CompressionWarningCount)
            ports::ui().MsgBox(QStringLiteral("Compression des personnage"), ports::OkOnly, ProgramTitle());
        Players.resize(PlayerCount);
    } catch (...) {
        ReportCurrentException(QStringLiteral("RedimPlayer"));
    }
}

void GiveBackPlayer(int n)
{
    if (n < 1 || n != PlayerCount || n != Players.size())
        return;
    Players.dropNewest(n);
    PlayerCount = qint16(n - 1);
}

void ReleasePlayer(int n)
{
    if (n < 1 || n > Players.size())
        return;
    const int before = Players.size();
    Players.release(n);
    // The numbers past the last character still held are given again in turn.
    PlayerCount = qint16(std::max(0, PlayerCount - (before - Players.size())));
}

int TakeReleasedPlayer(int limit)
{
    const int n = Players.firstFree();
    if (n < 1 || n > limit)
        return 0;
    Players.claim(n);
    return n;
}

void ResetSharedState()
{
    WsMaster = {};
    WsPlayer = {};
    DbMaster = {};
    DbPlayer = {};
    MasterPath.clear();
    PlayerPath.clear();
    Sql.clear();
    Criteria.clear();
    RsShared = {};
    DataLanguage = 0;
    PlayerCount = 0;
    SkillDevMode.clear();
    WeaponChoiceArgs = {};
    WeaponAdolescenceShown = false;
    MsgText = QVariant();
    MsgTitle.clear();
    RulesUnavailable.clear();
    SoundTemplate.reset();
    Players.clear();
}

} // namespace ModGeneral
