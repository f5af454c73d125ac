#pragma once
// Stand-ins for the windows the skill development stages open, for tests that
// drive the stages without them: the weapon categories keep their own order,
// the background options are given up for the hobby ranks, and the statistic
// gain rolls and the training packages open nothing.
#include "character/Personnage.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "platform/vb.h"
#include "skilldev/frmSkillDev.h"

namespace stagestandins {

inline void Install()
{
    skilldev::StageHooks &h = skilldev::Hooks();
    h.WeaponCategoryOrder = [](int n) {
        Personnage &p = ModGeneral::Players(n);
        bool empty = true;
        for (qint16 k = 0; k <= 6; ++k)
            empty = empty && p.DirCategorieWeapon(k) == 0;
        if (empty)
            for (qint16 k = 0; k <= 6; ++k)
                p.AddCategorieWeapon(k, static_cast<qint16>(49 + k));
    };
    h.BackgroundOptions = [](int n, bool) {
        Personnage &p = ModGeneral::Players(n);
        p.PointsBO = 0;
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT * FROM [Race Abilities] WHERE Race_ID= ")
                                        + QString::number(p.Race_ID));
        skilldev::OpenStage(n, skilldev::Stage::HobbyRanks,
                            rs.Eof() ? 0 : vb::CInt(rs.Value(QStringLiteral("Hobby_Ranks"))));
    };
    h.StatGainRolls = [](int) {};
    h.TrainingPackages = [](int) {};
}

} // namespace stagestandins
