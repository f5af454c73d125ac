// Filling the background windows on the sample rules database: every one of
// them is filled while the player waits for it to appear.
#include "BenchRules.h"
#include "background/frmArmeAdolescence.h"
#include "background/frmBackground.h"
#include "background/frmSpecialItem.h"
#include "background/frmSpecialItemChoose.h"
#include "background/frmTalents.h"
#include "background/frmTalentsCost.h"
#include "background/frmTraining.h"
#include "background/frmWeaponChoises.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"
#include "platform/dao.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {

void Setup()
{
    bench::OpenSampleRules();
    ModGeneral::Players.clear();
    ModGeneral::Players.resize(1);
    Personnage &p = ModGeneral::Players(1);
    p.Nom = QStringLiteral("Ayla");
    p.Race_ID = 1;
    p.Profession_ID = 10;
    p.Royaume_ID = 9;
    p.PointsBO = 4;
}

void BM_BackgroundOptions(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmBackground dlg;
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
        benchmark::DoNotOptimize(dlg.lstSkill->count());
    }
}
BENCHMARK(BM_BackgroundOptions)->Unit(benchmark::kMillisecond);

void BM_TalentCostTable(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmTalentsCost dlg;
        benchmark::DoNotOptimize(dlg.grdTalentsCost->rowCount());
    }
}
BENCHMARK(BM_TalentCostTable)->Unit(benchmark::kMillisecond);

void BM_TalentChooser(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmTalents dlg;
        setTag(dlg.grdTalent, QStringLiteral("2"));
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
        benchmark::DoNotOptimize(dlg.grdTalent->rowCount());
    }
}
BENCHMARK(BM_TalentChooser)->Unit(benchmark::kMillisecond);

void BM_SpecialItemRoll(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmSpecialItem dlg;
        benchmark::DoNotOptimize(dlg.RolledItems.size());
    }
}
BENCHMARK(BM_SpecialItemRoll)->Unit(benchmark::kMillisecond);

void BM_SpecialItemChooser(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmSpecialItemChoose dlg;
        benchmark::DoNotOptimize(dlg.grdSpecialItemChoose->rowCount());
    }
}
BENCHMARK(BM_SpecialItemChooser)->Unit(benchmark::kMillisecond);

void BM_OneListChooserSpellLists(benchmark::State &state)
{
    Setup();
    ModGeneral::Players(1).PointsBO = 166;
    for (auto _ : state) {
        frmArmeAdolescence dlg;
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
        benchmark::DoNotOptimize(dlg.ItemNumber.size());
    }
}
BENCHMARK(BM_OneListChooserSpellLists)->Unit(benchmark::kMillisecond);

void BM_WeaponCategoryOrder(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmWeaponChoises dlg;
        setTag(&dlg, QStringLiteral("1"));
        dlg.SkillCost();
    }
}
BENCHMARK(BM_WeaponCategoryOrder)->Unit(benchmark::kMillisecond);

void BM_TrainingPackages(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmTraining dlg;
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
        benchmark::DoNotOptimize(dlg.PackageTable[0].size());
    }
}
BENCHMARK(BM_TrainingPackages)->Unit(benchmark::kMillisecond);

// Showing one package after another, as the player runs down the list.
void BM_TrainingPackageShown(benchmark::State &state)
{
    Setup();
    frmTraining dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    int i = 0;
    for (auto _ : state) {
        dlg.cbbTrainingPackage->setCurrentIndex(i++ % dlg.cbbTrainingPackage->count());
    }
}
BENCHMARK(BM_TrainingPackageShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    Strings::setLanguage(Strings::Language::French);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
