// Drawing the character sheet of a developed character of the sample rules:
// every page (the main page and two skill pages) to the recorder, to the
// preview's picture at 100 %, and to a PDF through the printer path; then the
// skill pages of characters with thousands of sub-skills of one skill.
#include "BenchRules.h"
#include "character/CharacterSamples.h"
#include "print/PrintSamples.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"
#include "platform/ports.h"
#include "print/ModPrint.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchPorts.h"

#include <cstdio>

namespace {

bench::CountingPorts g_ports;

void Check(benchmark::State &state, int pages, int expected)
{
    state.counters["pages"] = pages;
    if (g_ports.errors)
        state.SkipWithError("error boxes were shown");
    else if (pages != expected)
        state.SkipWithError("wrong page count");
}

void BM_SheetToRecorder(benchmark::State &state)
{
    g_ports.errors = 0;
    int pages = 0, items = 0;
    for (auto _ : state) {
        print::RecordingTarget rec;
        ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1"), rec);
        pages = rec.Pages();
        items = rec.Items().size();
    }
    state.counters["items"] = items;
    Check(state, pages, 3);
}
BENCHMARK(BM_SheetToRecorder)->Unit(benchmark::kMillisecond);

void BM_SheetToPreviewPicture(benchmark::State &state)
{
    g_ports.errors = 0;
    int pages = 0;
    for (auto _ : state) {
        print::ImagePageTarget picture(QSize(818, 1058));
        ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1"), picture);
        pages = picture.Pages().size();
    }
    Check(state, pages, 3);
}
BENCHMARK(BM_SheetToPreviewPicture)->Unit(benchmark::kMillisecond);

void BM_MainPageToPreviewPicture(benchmark::State &state)
{
    g_ports.errors = 0;
    int pages = 0;
    for (auto _ : state) {
        print::ImagePageTarget picture(QSize(613, 793));
        ModPrint::Setup_Page(QStringLiteral("01"), QStringLiteral("1"), picture);
        pages = picture.Pages().size();
    }
    Check(state, pages, 1);
}
BENCHMARK(BM_MainPageToPreviewPicture)->Unit(benchmark::kMillisecond);

// Prints the pages of `mask` for character `player` to a PDF file, once per
// iteration; the pages of the last run.
int PrintToPdf(benchmark::State &state, const QString &mask, const QString &player)
{
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
        print::PrinterPageTarget target(printer, ModPrint::PrinterOffsetX, ModPrint::PrinterOffsetY);
        ModPrint::Setup_Page(mask, player, target);
        pages = target.PageCount();
    }
    return pages;
}

void BM_SheetToPdf(benchmark::State &state)
{
    g_ports.errors = 0;
    Check(state, PrintToPdf(state, QStringLiteral("11"), QStringLiteral("1")), 3);
}
BENCHMARK(BM_SheetToPdf)->Unit(benchmark::kMillisecond);

// A sub-skill named with as many characters as a name can hold: its row is cut
// to its column on the skill pages, which must not cost more than the page.
void BM_LongSubSkillNameToPdf(benchmark::State &state)
{
    g_ports.errors = 0;
    Personnage &p = ModGeneral::Players(2);
    p = Personnage();
    printsamples::Develop(p);
    const QString words = QStringLiteral("forge et fonte des lames ");
    QString name;
    while (name.size() < state.range(0))
        name += words;
    name.truncate(int(state.range(0)));
    p.AddSubSkills(48, name, 4);
    Check(state, PrintToPdf(state, QStringLiteral("10"), QStringLiteral("2")), 2);
}
BENCHMARK(BM_LongSubSkillNameToPdf)->Arg(20)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);

// The skill pages of character 3, who holds ranks in `count` sub-skills of
// the craft skill and nothing else: 48 rows a page. "page" is the time a page.
void BM_SubSkillPagesToPdf(benchmark::State &state)
{
    const int count = int(state.range(0));
    g_ports.errors = 0;
    Personnage &p = ModGeneral::Players(3);
    p = Personnage();
    samples::ofSampleRules(p, QStringLiteral("Aëlis Morvenne"), 1, 5);
    samples::subSkills(p, 48, count);
    const int pages = PrintToPdf(state, QStringLiteral("10"), QStringLiteral("3"));
    state.counters["page"] =
        benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    Check(state, pages, (count + 47) / 48);
}
BENCHMARK(BM_SubSkillPagesToPdf)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_ports.printAccepted = true;
    ports::install(&g_ports);
    Strings::setLanguage(Strings::Language::French);
    bench::OpenSampleRules();
    ModGeneral::Players.resize(3);
    printsamples::Develop(ModGeneral::Players(1));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ports::install(nullptr);
    return 0;
}
