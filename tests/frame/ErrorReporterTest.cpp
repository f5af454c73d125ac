#include "frame/ErrorReporter.h"
#include "platform/Strings.h"
#include "platform/dao.h"
#include "platform/vb.h"
#include "support/ScriptedPorts.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class LanguageScope {
public:
    explicit LanguageScope(Strings::Language lang) : m_saved(Strings::current()) { Strings::setLanguage(lang); }
    ~LanguageScope() { Strings::setLanguage(m_saved); }

private:
    Strings::Language m_saved;
};

QString tableText(int id)
{
    QString s;
    return Strings::TryLoad(id, &s) ? s : QString();
}

} // namespace

TEST(ErrorReporter, BoxLayout)
{
    for (auto lang : {Strings::Language::French, Strings::Language::English}) {
        LanguageScope language(lang);
        ScriptedPortsScope ui;
        ui->expectError("OpenDB", 13);
        ShowErrorMessage(13, vb::ErrorText(13), "OpenDB");
        ASSERT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 1);
        const auto call = ui->callsOf(ScriptedPorts::Kind::ErrorBox).front();
        const QStringList lines = call.text.split("\r\n");
        ASSERT_EQ(lines.size(), 4);
        EXPECT_EQ(lines[0], Strings::Load(3533) + "13");
        EXPECT_EQ(lines[1], vb::ErrorText(13));
        EXPECT_EQ(lines[2], Strings::Load(3534) + "OpenDB");
        EXPECT_TRUE(lines[3].endsWith(" " + Strings::Load(1102) + ".")) << lines[3].toStdString();
        EXPECT_EQ(call.title, Strings::Load(1037));
        EXPECT_FALSE(call.text.contains('\n' + QString('\n')));
        const QString request = tableText(5001);
        if (!request.isEmpty())
            EXPECT_EQ(lines[3], request + " " + Strings::Load(1102) + ".");
    }
}

TEST(ErrorReporter, FrenchBoxReadsAsTheUserSeesIt)
{
    LanguageScope language(Strings::Language::French);
    if (tableText(3533) != QStringLiteral("Numéro d'erreur :"))
        GTEST_SKIP() << "string tables not in this build";
    ScriptedPortsScope ui;
    ui->expectError("OpenDB", 13);
    ShowErrorMessage(13, vb::ErrorText(13), "OpenDB");
    const QStringList lines = ui->calls().front().text.split("\r\n");
    EXPECT_EQ(lines[0], QStringLiteral("Numéro d'erreur :13"));
    EXPECT_EQ(lines[1], QStringLiteral("Type incompatible"));
    EXPECT_EQ(lines[2], QStringLiteral("Localisation :OpenDB"));
    EXPECT_TRUE(lines[3].startsWith(
        QStringLiteral("Si vous ne parvenez pas à résoudre l'erreur, fait parvenir la description à ")));
    EXPECT_TRUE(lines[3].endsWith('.'));
    EXPECT_EQ(ui->calls().front().title, QStringLiteral("Attention"));
}

TEST(ErrorReporter, EnglishBoxHasARequestSentenceOfItsOwn)
{
    LanguageScope language(Strings::Language::English);
    ScriptedPortsScope ui;
    ui->expectError("frmMain.load", 6);
    ShowErrorMessage(6, vb::ErrorText(6), "frmMain.load");
    const QStringList lines = ui->calls().front().text.split("\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], "Overflow");
    // Whatever the tables hold, the English box never shows the French request.
    EXPECT_FALSE(lines[3].startsWith(QStringLiteral("Si vous")));
}

TEST(ErrorReporter, ExceptionsBecomeReportsWithTheirNumbers)
{
    LanguageScope language(Strings::Language::English);
    ScriptedPortsScope ui;
    ui->expectError("A", 3021).expectError("B", 7).expectError("C", 9).expectError("D", 6)
        .expectError("E", 51).expectError("F", 51).expectError("G", 5).expectError("H", 51);
    try { throw vb::Error(vb::ErrNoCurrentRecord); } catch (...) { ReportCurrentException("A"); }
    try { throw std::bad_alloc(); } catch (...) { ReportCurrentException("B"); }
    try { throw std::out_of_range("x"); } catch (...) { ReportCurrentException("C"); }
    try { throw std::overflow_error("x"); } catch (...) { ReportCurrentException("D"); }
    try { throw std::runtime_error("x"); } catch (...) { ReportCurrentException("E"); }
    try { throw 42; } catch (...) { ReportCurrentException("F"); }
    ReportError(vb::Error(5, "a component's own description"), "G");
    ReportCurrentException("H");   // misuse outside a catch block must not end the program
    const auto errors = ui->errors();
    ASSERT_EQ(errors.size(), 8u);
    EXPECT_EQ(errors[0].text, vb::ErrorText(3021));
    // The box shows the standard text of the number, not a component's description.
    EXPECT_EQ(errors[6].text, vb::ErrorText(5));
    EXPECT_EQ(errors[6].location, "G");
}

TEST(ErrorReporter, EveryNumberTheProgramRaisesShowsItsStandardText)
{
    // The engine's own numbers, the printer's and the runtime's, as the user
    // reads them: never the general text that stands for an unknown number.
    const struct {
        int number;
        const char *french;
        const char *english;
    } expected[] = {
        {91, "Variable objet ou variable de bloc With non définie", "Object variable or With block variable not set"},
        {482, "Erreur d'imprimante", "Printer error"},
        {3022,
         "Les modifications n'ont pas été effectuées car elles créeraient des doublons dans l'index ou la clé "
         "primaire.",
         "The changes were not made because they would create duplicate values in the index or primary key."},
        {3420, "Objet incorrect ou plus défini.", "Object invalid or no longer set."},
        {35602, "La clé n'est pas unique dans la collection", "Key is not unique in collection"},
    };
    for (auto lang : {Strings::Language::French, Strings::Language::English}) {
        LanguageScope language(lang);
        ScriptedPortsScope ui;
        // A rules query before the rules database is open, as File > New
        // without its data files meets it.
        ui->expectError("frmInitChoise.load", 91);
        try {
            dao::Database closed;
            closed.OpenRecordset(QStringLiteral("Culture"), 2);
        } catch (...) {
            ReportCurrentException("frmInitChoise.load");
        }
        for (const auto &e : expected) {
            ui->expectError("here", e.number);
            try {
                vb::Raise(e.number);
            } catch (...) {
                ReportCurrentException("here");
            }
        }
        const auto errors = ui->errors();
        ASSERT_EQ(errors.size(), std::size(expected) + 1);
        const bool fr = lang == Strings::Language::French;
        EXPECT_EQ(errors[0].text, QString::fromUtf8(fr ? expected[0].french : expected[0].english));
        for (size_t i = 0; i < std::size(expected); ++i)
            EXPECT_EQ(errors[i + 1].text, QString::fromUtf8(fr ? expected[i].french : expected[i].english))
                << expected[i].number;
    }
}

// A port that fails on use: the reporter must still return to its caller.
class ThrowingPorts : public ScriptedPorts {
public:
    void ErrorBox(const QString &, const QString &) override { throw std::runtime_error("no screen"); }
};

TEST(ErrorReporter, AFailingBoxDoesNotEscape)
{
    ThrowingPorts broken;
    ports::UserPorts *previous = &ports::ui();
    ports::install(&broken);
    EXPECT_NO_THROW(ShowErrorMessage(6, vb::ErrorText(6), "X"));
    ports::install(previous);
}

TEST(ScriptedPorts, UnscriptedCallsFailTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPortsScope ui;
            EXPECT_EQ(ports::ui().MsgBox("Sauvegarder ?", ports::YesNo, "t"), ports::No);
        },
        "unexpected message box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPortsScope ui;
            ShowErrorMessage(13, "x", "OpenDB");
        },
        "unexpected error box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPortsScope ui;
            ui->expectError("OpenDB");
            ShowErrorMessage(13, "x", "LoadP");
        },
        "expected an error box from \"OpenDB\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPortsScope ui;
            ui->expectError("OpenDB", 3024);
        },
        "none was shown");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPortsScope ui;
            ui->answerMsgBox(ports::Ok, "fichier");
            ports::ui().MsgBox("autre chose", ports::OkOnly, "t");
        },
        "does not contain");
}

TEST(ScriptedPorts, AnswersInOrderPerKindAndRecordsEverything)
{
    ports::UserPorts *before = &ports::ui();
    {
        ScriptedPortsScope ui;
        EXPECT_EQ(&ports::ui(), &*ui);
        ui->answerMsgBox(ports::Yes).answerMsgBox(ports::Cancel).answerInput("Aldric")
            .answerOpenFile("/tmp/a.pja").answerSaveFile("/tmp/b.pja").answerPrint(true)
            .answerChooseOne([](const std::vector<ports::ChooserItem> &items) { return items.back().id; })
            .answerChooseOne(3).answerStatGains({1, 4});
        auto &p = ports::ui();
        EXPECT_EQ(p.InputBox("Nom ?", "t", "x"), "Aldric");
        EXPECT_EQ(p.MsgBox("a", ports::YesNo, "t"), ports::Yes);
        p.ProgressShow("Chargement", "patience", 100);
        p.ProgressValue(50);
        p.ProgressClose();
        EXPECT_EQ(p.MsgBox("b", ports::OkCancel, "t"), ports::Cancel);
        EXPECT_EQ(p.OpenFileName("All Files (*.pja)|*.pja", "/tmp", "t"), "/tmp/a.pja");
        EXPECT_EQ(p.SaveFileName("All Files (*.pja)|*.pja", "/tmp", "Nom", "t"), "/tmp/b.pja");
        EXPECT_TRUE(p.PrintDialog());
        EXPECT_EQ(p.ChooseOne(1, 49, {{"Épée", 226}, {"Hache", 227}}), 227);
        EXPECT_EQ(p.ChooseOne(1, 49, {}), 3);
        EXPECT_EQ(p.ChooseStatGains(1, {1}, 1), (std::vector<int>{1, 4}));
        EXPECT_EQ(ui->pending(), 0);
        EXPECT_EQ(ui->calls().size(), 12u);
        EXPECT_EQ(ui->calls()[0].kind, ScriptedPorts::Kind::InputBox);
        EXPECT_EQ(ui->calls()[0].extra, "x");
        EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::ProgressValue).front().style, 50);
        EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::SaveFile).front().preset, "Nom");
        EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::ChooseOne).front().mode, 49);
    }
    EXPECT_EQ(&ports::ui(), before);
    {
        ScriptedPortsScope ui;
        ui->answerMsgBox(ports::Ok).allowUnused();
    }
}

TEST(ErrorReporter, OneActionShowsOnlyItsFirstBoxAndTheNextActionShowsItsOwn)
{
    ScriptedPortsScope ui;
    ui->expectError("Premier", 6);
    {
        const OneErrorBox action;
        ShowErrorMessage(6, vb::ErrorText(6), "Premier");
        {
            const OneErrorBox inner;   // a nested scope does not start afresh
            ShowErrorMessage(6, vb::ErrorText(6), "Second");
        }
        ShowErrorMessage(13, vb::ErrorText(13), "Troisième");
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 1);
    // Outside any action every error is shown, and a new action shows its first.
    ui->expectError("Libre", 5);
    ShowErrorMessage(5, vb::ErrorText(5), "Libre");
    ui->expectError("Suivante", 9);
    {
        const OneErrorBox next;
        ShowErrorMessage(9, vb::ErrorText(9), "Suivante");
        ShowErrorMessage(9, vb::ErrorText(9), "Suivante");
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 3);
}
