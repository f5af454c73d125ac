#include "sheet/frmGeneral.h"

#include "character/Personnage.h"
#include "character/Players.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/Units.h"
#include "frame/ui/MainFrame.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"
#include "sheet/SheetNumbers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextDocument>

using namespace ModGeneral;

namespace {

// Runs an edit handler; whatever it raises is reported where it happened and
// goes no further than the control that fired it.
template <typename F>
void Handle(const QString &location, F &&body)
{
    const OneErrorBox once(OneErrorBox::SinceBoxEntered);
    try {
        body();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmGeneral.") + location);
    }
}

// The player entering another box starts a new entry for the edit handlers'
// boxes; the focus coming back to the same box from a message or another
// window does not.
void TrackEntries()
{
    static bool tracking = false;
    if (tracking || !qApp)
        return;
    tracking = true;
    static QPointer<QWidget> entered;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget *, QWidget *now) {
        if (!now || now == entered || now->window()->isModal())
            return;
        entered = now;
        OneErrorBox::EnteredAnotherBox();
    });
}

bool FindId(dao::Recordset &rs, const char *column, qint64 id)
{
    const QString criterion = QStringLiteral("%1 LIKE('%2')").arg(QLatin1String(column)).arg(id);
    rs.FindFirst(criterion);
    return !rs.NoMatch();
}

void CloseQuietly(dao::Recordset &rs)
{
    try {
        if (rs.isOpen())
            rs.Close();
    } catch (const vb::Error &) {
        // A read-only recordset loses nothing when its close fails.
    }
    rs = dao::Recordset();
}

} // namespace

frmGeneral::frmGeneral(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmGeneral"), parent)
{
    BuildLayout();
    ConnectHandlers();
    TrackEntries();
    RegisterFigures();
    txtNom->installEventFilter(this);
    try {
        FinishLoad();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmGeneral.Load"));
    }
    // Heights and weights are in the units of the rules data, whatever the
    // layout's unit strings say in the interface language.
    labPieds->setText(units::HeightWord());
    labLivres->setText(units::WeightWord());
}

frmGeneral::~frmGeneral()
{
    // Boxes losing their focus as the window goes are no player leaving them.
    m_figures.clear();
}

Personnage &frmGeneral::Record() const
{
    return Players(Number());
}

void frmGeneral::ConnectHandlers()
{
    const auto onText = [this](QLineEdit *e, const char *where, void (frmGeneral::*handler)()) {
        connect(e, &QLineEdit::textChanged, this,
                [this, where, handler] { Handle(QLatin1String(where), [&] { (this->*handler)(); }); });
    };
    onText(txtNom, "txtNom.Change", &frmGeneral::txtNom_Change);
    onText(txtExperience, "txtExperience.Change", &frmGeneral::txtExperience_Change);
    onText(txtAge, "txtAge.Change", &frmGeneral::txtAge_Change);
    onText(txtApparence, "txtApparence.Change", &frmGeneral::txtApparence_Change);
    onText(txtCheveux, "txtCheveux.Change", &frmGeneral::txtCheveux_Change);
    onText(txtYeux, "txtYeux.Change", &frmGeneral::txtYeux_Change);
    onText(txtGrandeur, "txtGrandeur.Change", &frmGeneral::txtGrandeur_Change);
    onText(txtPoids, "txtPoids.Change", &frmGeneral::txtPoids_Change);
    connect(txtHistorique, &QPlainTextEdit::textChanged, this,
            [this] { Handle(QStringLiteral("txtHistorique.Change"), [this] { txtHistorique_Change(); }); });

    for (int k = 0; k < 5; ++k)
        connect(txtMoney[k], &QLineEdit::textChanged, this,
                [this, k] { Handle(QStringLiteral("txtMoney.Change"), [&] { txtMoney_Change(k); }); });
    for (int s = 0; s < 10; ++s)
        for (int c = 0; c < 6; ++c)
            connect(Stat_ID[s][c], &QLineEdit::textChanged, this, [this, s, c] {
                Handle(QStringLiteral("Stat_ID%1.Change").arg(s + 1), [&] { Stat_Change(s, c); });
            });
    for (int kind = 1; kind <= 9; ++kind)
        for (int e = 0; e < 4; ++e)
            connect(Resistance[kind][e], &QLineEdit::textChanged, this, [this, kind, e] {
                Handle(QStringLiteral("Resistance.Change"), [&] { Resistance_Change(kind, e); });
            });
    connect(lstArmor, &QComboBox::currentIndexChanged, this, [this] { lstArmor_Click(); });
    connect(lstShield, &QComboBox::currentIndexChanged, this, [this] { lstShield_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(chkCasque[i], &QCheckBox::toggled, this,
                [this, i] { Handle(QStringLiteral("chkCasque.Click"), [&] { chkCasque_Click(i); }); });
}

// ------------------------------------------------------------------ load

void frmGeneral::LoadData()
{
    const OneErrorBox once;   // one action, one box
    bool progressShown = false;
    const auto progress = [](int value) { ports::ui().ProgressValue(value); };
    try {
        Personnage &p = Record();
        setWindowTitle(p.Nom + QStringLiteral(" (") + Strings::Load(3514) + QLatin1Char(')'));

        ports::ui().ProgressShow(Strings::Load(3502), Strings::Load(4001), 100);
        progressShown = true;
        progress(0);

        txtNom->setText(p.Nom);
        FillIdentityNames(p);   // race 10, profession 30, realm and the rest 40

        FillStatLabels();
        FillPhysique(p);
        FillMoney();
        progress(50);

        FillStatistics();       // 60 to 90 on the way
        FillResistances();
        FillArmour();
        FillShield();
        FillHelmet();

        ShowTextBeginnings();
        progress(100);
        ports::ui().ProgressClose();
        progressShown = false;
    } catch (...) {
        // The progress window must not outlive the load that showed it.
        if (progressShown)
            ports::ui().ProgressClose();
        CloseRecordsets();
        ReportCurrentException(QStringLiteral("frmGeneral.LoadData"));
        return;
    }
    CloseRecordsets();
}

void frmGeneral::CloseRecordsets()
{
    CloseQuietly(RsArmor);
    CloseQuietly(RsShield);
    CloseQuietly(RsProfession);
    CloseQuietly(RsRealm);
    CloseQuietly(RsRace);
    CloseQuietly(RsStat);
}

void frmGeneral::FillIdentityNames(Personnage &p)
{
    RsRace = rules::Open(QStringLiteral("Race Abilities"));
    m_raceFound = FindId(RsRace, "Race_ID", p.Race_ID);
    if (m_raceFound)
        txtRace->setText(sheet::RulesName(RsRace, "Race"));
    ports::ui().ProgressValue(10);

    RsProfession = rules::Open(QStringLiteral("Profession"));
    if (FindId(RsProfession, "Profession_ID", p.Profession_ID))
        txtProfession->setText(sheet::RulesName(RsProfession, "Profession"));
    ports::ui().ProgressValue(30);

    RsRealm = rules::Open(QStringLiteral("Realms of Power"));
    if (FindId(RsRealm, "Realm_ID", p.Royaume_ID))
        txtRoyaume->setText(sheet::RulesName(RsRealm, "Realm"));
    txtPdeC->setText(QString::number(Record().TotalSkillBonus(23, 0, RankKind::Skill)));
    txtPdeP->setText(QString::number(Record().TotalSkillBonus(270, 0, RankKind::Skill)));
    // The experience box's own handler writes the value back and shows the level.
    txtExperience->setText(QString::number(Record().Experience));
    RsStat = rules::Open(QStringLiteral("Stat"));
    ports::ui().ProgressValue(40);
}

void frmGeneral::FillStatLabels()
{
    // Each name goes to the row of its own statistic, whatever order the
    // table keeps its rows in; a statistic the table lacks keeps its label.
    for (; !RsStat.Eof(); RsStat.MoveNext()) {
        const QVariant id = RsStat.Value(QStringLiteral("Stat_ID"));
        if (!id.isValid() || id.isNull())
            continue;
        const qint64 n = id.toLongLong();
        if (n < 1 || n > 10)
            continue;
        const QString name = sheet::RulesName(RsStat, "Stat");
        labCar[n - 1]->setText(name);
        labCar[n - 1]->setToolTip(name);
    }
    CloseQuietly(RsStat);
}

void frmGeneral::ShowTextBeginnings()
{
    // A text set into a box leaves it scrolled to its end; a long name reads
    // from its beginning.
    for (QLineEdit *e : {txtNom, txtCheveux, txtYeux})
        e->setCursorPosition(0);
}

void frmGeneral::FillPhysique(Personnage &p)
{
    txtAge->setText(sheet::RegionalText(p.Age));
    txtApparence->setText(QString::number(Record().Apparence));
    txtCheveux->setText(Record().Cheveux);
    txtYeux->setText(Record().Yeux);
    txtGrandeur->setText(sheet::RegionalText(Record().Grandeur));
    txtPoids->setText(sheet::RegionalText(Record().Poids));

    optSex[Record().Sexe ? 1 : 0]->setChecked(true);

    const QString text = Record().HistoryText();
    if (!text.isEmpty() && txtHistorique->toPlainText() != text) {
        // The box would hand back the same history with its line breaks made
        // plain; the record already holds it as stored, so leave it so.
        const QSignalBlocker quiet(txtHistorique);
        txtHistorique->setPlainText(text);
    }
}

// ------------------------------------------------------------------ identity edits

void frmGeneral::txtNom_Change()
{
    Record().Nom = txtNom->text();
}

void frmGeneral::txtExperience_Change()
{
    StoreTyped(txtExperience);
    txtNiveau->setText(QString::number(Record().CalNiveau()));
}

void frmGeneral::txtAge_Change()
{
    StoreTyped(txtAge);
}

void frmGeneral::txtApparence_Change()
{
    StoreTyped(txtApparence);
}

void frmGeneral::txtCheveux_Change()
{
    Record().Cheveux = txtCheveux->text();
}

void frmGeneral::txtYeux_Change()
{
    Record().Yeux = txtYeux->text();
}

void frmGeneral::txtGrandeur_Change()
{
    StoreTyped(txtGrandeur);
}

void frmGeneral::txtPoids_Change()
{
    StoreTyped(txtPoids);
}

void frmGeneral::txtHistorique_Change()
{
    // The box's plain text would turn no-break spaces into blanks, changing
    // what the player wrote; only its line breaks change, into the pair the
    // history keeps between its lines.
    QString text = txtHistorique->document()->toRawText();
    for (QChar &c : text) {
        switch (c.unicode()) {
        case 0xFDD0:   // frame marks of the box's document
        case 0xFDD1:
            c = QChar::ParagraphSeparator;
            break;
        default:
            break;
        }
    }
    Record().Historique = Personnage::HistoryLineBreaks(text);
}

// ------------------------------------------------------------------ window events

void frmGeneral::Tableau()
{
    if (MainFrame *main = MakeCurrent())
        main->SetButtons({3, 5, 8, 10}, {7});
}

void frmGeneral::Form_Activate()
{
    Tableau();
}

void frmGeneral::Form_Unload()
{
    SettleTypedFigure();
    LeaveCurrent();
}

void frmGeneral::SettleTypedFigure()
{
    // Leaving the box as the window goes would speak over whatever the main
    // window shows next: the figure is settled while the sheet is on screen.
    if (auto *box = qobject_cast<QLineEdit *>(focusWidget()); box && m_figures.contains(box))
        LeaveFigure(box);
}

bool frmGeneral::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtNom && event->type() == QEvent::FocusIn)
        MakeCurrent();
    if (auto *box = qobject_cast<QLineEdit *>(watched); box && m_figures.contains(box))
        FigureEvent(box, event);
    return CharacterWindow::eventFilter(watched, event);
}
