#include "background/frmTraining.h"

#include "character/BackgroundRules.h"
#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "frame/ui/Twips.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>


namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, const QString &stringTag, int x, int y, int w)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromUtf8(name));
    if (!stringTag.isEmpty())
        setTag(l, stringTag);
    l->setGeometry(TwipsRect(x, y, w, 285));
    return l;
}

QTableWidget *grid(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *g = new QTableWidget(parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setGeometry(TwipsRect(x, y, w, h));
    g->setColumnCount(2);
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setColumnWidth(0, TwipsToPixels(3530));
    g->setColumnWidth(1, TwipsToPixels(700));
    g->verticalHeader()->setDefaultSectionSize(TwipsToPixels(270));
    return g;
}

void setHeader(QTableWidget *g, int col, int stringNumber)
{
    auto *item = new QTableWidgetItem(Strings::Load(stringNumber));
    item->setData(kHeaderStringRole, QString::number(stringNumber));
    if (col == 1)
        item->setTextAlignment(Qt::AlignCenter);
    g->setHorizontalHeaderItem(col, item);
}

void appendRow(QTableWidget *g, const QString &a, const QString &b)
{
    const int r = g->rowCount();
    g->insertRow(r);
    g->setItem(r, 0, new QTableWidgetItem(a));
    auto *right = new QTableWidgetItem(b);
    right->setTextAlignment(Qt::AlignCenter);
    g->setItem(r, 1, right);
}

} // namespace

frmTraining::frmTraining(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTraining"));
    setModal(true);
    setFont(QFont(QStringLiteral("Arial")));
    setTag(this, QStringLiteral("3528"));
    setWindowTitle(QStringLiteral("Entraînement"));
    setFixedSize(TwipsSize(9480, 7440));

    labTraning = label(this, "labTraning", QStringLiteral("Entraînement"), QStringLiteral("3528"), 240, 180, 3000);
    auto *group = new QButtonGroup(this);
    const int optTags[2] = {3529, 3530};
    for (int i = 0; i < 2; ++i) {
        optTraning[i] = new QRadioButton(this);
        optTraning[i]->setObjectName(QStringLiteral("optTraning_%1").arg(i));
        setTag(optTraning[i], QString::number(optTags[i]));
        optTraning[i]->setGeometry(TwipsRect(240 + 2400 * i, 480, 2300, 300));
        group->addButton(optTraning[i], i);
        connect(optTraning[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optTraning_Click(i);
        });
    }
    cbbTrainingPackage = new QComboBox(this);
    cbbTrainingPackage->setObjectName(QStringLiteral("cbbTrainingPackage"));
    cbbTrainingPackage->setGeometry(TwipsRect(240, 840, 5400, 330));

    btnTrainingPack = new QPushButton(QStringLiteral("OK"), this);
    btnTrainingPack->setObjectName(QStringLiteral("btnTrainingPack"));
    setTag(btnTrainingPack, QStringLiteral("1045"));
    btnTrainingPack->setGeometry(TwipsRect(8040, 240, 1215, 375));
    btnTrainingPack->setDefault(true);
    btnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    setTag(btnAnnuler, QStringLiteral("1044"));
    btnAnnuler->setGeometry(TwipsRect(8040, 720, 1215, 375));

    labMoney = label(this, "labMoney", QStringLiteral("Argent"), QStringLiteral("3588"), 240, 1380, 1300);
    txtMoney = new QLineEdit(this);
    txtMoney->setObjectName(QStringLiteral("txtMoney"));
    txtMoney->setReadOnly(true);
    txtMoney->setGeometry(TwipsRect(1560, 1320, 2200, 330));
    labMonths = label(this, "labMonths", QStringLiteral("Mois"), QStringLiteral("3524"), 4080, 1380, 900);
    txtMonths = new QLineEdit(this);
    txtMonths->setObjectName(QStringLiteral("txtMonths"));
    txtMonths->setReadOnly(true);
    txtMonths->setAlignment(Qt::AlignRight);
    txtMonths->setGeometry(TwipsRect(5040, 1320, 600, 330));
    labDPCost = label(this, "labDPCost", QStringLiteral("Coûts"), QStringLiteral("3518"), 6000, 1380, 900);
    labTPCost = label(this, "labTPCost", QStringLiteral("0"), QString(), 6960, 1380, 900);
    QFont bold = labTPCost->font();
    bold.setBold(true);
    labTPCost->setFont(bold);

    labCaracteristique = label(this, "labCaratéristique", QStringLiteral("Développement"), QStringLiteral("3106"), 240,
                               1800, 1300);
    for (int i = 0; i < 2; ++i)
        labStat[i] = label(this, i == 0 ? "labStat_0" : "labStat_1", QString(), QString(), 1800 + 2400 * i, 1800, 2300);

    txtNote = new QPlainTextEdit(this);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setReadOnly(true);
    txtNote->setGeometry(TwipsRect(240, 2220, 9000, 780));

    grdSpecial = grid(this, "grdSpecial", 240, 3120, 4500, 4080);
    grdTraining = grid(this, "grdTraining", 4860, 3120, 4380, 4080);
    grdTraining->setColumnWidth(0, TwipsToPixels(3300));

    connect(cbbTrainingPackage, &QComboBox::currentIndexChanged, this, [this] { cbbTrainingPackage_Click(); });
    connect(btnTrainingPack, &QPushButton::clicked, this, &frmTraining::btnTrainingPack_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &frmTraining::btnAnnuler_Click);

    try {
        LoadFormStrings(this);
    } catch (...) {
    }
    {
        const QSignalBlocker block(optTraning[0]);
        optTraning[0]->setChecked(true);
    }
}

int frmTraining::kind() const
{
    return optTraning[0]->isChecked() ? 0 : 1;
}

void frmTraining::LoadData()
{
    try {
        m_stats = rules::Open(QStringLiteral("Stat"));
        Personnage &p = ModGeneral::Players(vb::CInt(tag(this)));
        const bool fr = ModGeneral::DataLanguage != 1000;
        const QString nameCol = rules::LangCol(QStringLiteral("Training"));
        m_packages = rules::Open(
            QStringLiteral("SELECT * FROM [Training Package] INNER JOIN [Training Package DP Cost] ON [Training "
                           "Package].Training_ID =  [Training Package DP Cost].Training_ID WHERE Profession_ID=")
            + QString::number(p.Profession_ID) + QStringLiteral(" ORDER BY ") + nameCol);
        PackageTable[0].clear();
        PackageTable[1].clear();
        const QString suffix = fr ? QStringLiteral(" (typique)") : QStringLiteral(" (typical)");
        for (; !m_packages.Eof(); m_packages.MoveNext()) {
            Package pk;
            pk.Name = rulesread::Text(m_packages, nameCol);
            if (rulesread::Flag(m_packages, QStringLiteral("Typical")))
                pk.Name += suffix;
            const QString vl = rulesread::Text(m_packages, QStringLiteral("Vocational/Lifestyle"));
            pk.Cost = vb::CInt(m_packages.Value(QStringLiteral("Cost")));
            pk.Months = vb::CInt(m_packages.Value(QStringLiteral("Months")));
            pk.Training_ID = vb::CInt(m_packages.Value(QStringLiteral("Training Package.Training_ID")));
            if (vl == QLatin1String("V"))
                PackageTable[0].push_back(pk);
            else if (vl == QLatin1String("L"))
                PackageTable[1].push_back(pk);
            dao::DBEngine::instance().Idle();
        }
        grdSpecial->setRowCount(0);
        grdTraining->setRowCount(0);
        setHeader(grdSpecial, 0, 3504);
        setHeader(grdSpecial, 1, 3592);
        setHeader(grdTraining, 0, 3510);
        setHeader(grdTraining, 1, 3080);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTraining.LoadData"));
    }
    ListeTraning(kind());
}

void frmTraining::optTraning_Click(int Index)
{
    ListeTraning(Index);
}

void frmTraining::ListeTraning(int k)
{
    {
        const QSignalBlocker block(cbbTrainingPackage);
        cbbTrainingPackage->clear();
        for (const Package &pk : PackageTable[static_cast<size_t>(k)])
            if (!pk.Name.isEmpty())
                cbbTrainingPackage->addItem(pk.Name);
        cbbTrainingPackage->setCurrentIndex(-1);
    }
    if (cbbTrainingPackage->count() > 0) {
        cbbTrainingPackage->setCurrentIndex(0);
    } else {
        // Nothing of this kind for the profession: an empty page that cannot be bought.
        txtMoney->clear();
        labStat[0]->clear();
        labStat[1]->clear();
        txtNote->clear();
        txtMonths->clear();
        labTPCost->setText(QStringLiteral("0"));
        grdSpecial->setRowCount(0);
        grdTraining->setRowCount(0);
        btnTrainingPack->setEnabled(false);
    }
}

const frmTraining::Package *frmTraining::Selected() const
{
    const auto &list = PackageTable[static_cast<size_t>(kind())];
    const int pos = cbbTrainingPackage->currentIndex();
    if (pos < 0 || pos >= static_cast<int>(list.size()))
        return nullptr;
    return &list[static_cast<size_t>(pos)];
}

void frmTraining::cbbTrainingPackage_Click()
{
    const Package *pk = Selected();
    btnTrainingPack->setEnabled(pk != nullptr);
    if (!pk)
        return;
    try {
        const bool fr = ModGeneral::DataLanguage != 1000;
        if (m_packages.isOpen() && rules::Find(m_packages, QStringLiteral("[Training Package].Training_ID"), pk->Training_ID)) {
            // What the end of the stage adds: one gold piece, and the dice when there are any.
            const QString money = rulesread::Text(m_packages, QStringLiteral("StartingMoney"));
            txtMoney->setText(money.isEmpty() ? Strings::Load(3589) : Strings::Load(3589) + QStringLiteral(" + ") + money);

            const QString statCol = rules::LangCol(QStringLiteral("Stat"));
            auto qualifies = [&](const QString &column) {
                const dao::Field f = m_packages.Fields(column);
                if (f.isNull() || f.toString().isEmpty())
                    return false;
                const double v = vb::Val(f.toString());
                return fr ? v > 0 : v != 0;
            };
            auto statName = [&](const QString &column, QLabel *target) {
                if (rules::Find(m_stats, QStringLiteral("Stat_ID"), m_packages.Value(column)))
                    target->setText(rulesread::Text(m_stats, statCol));
            };
            if (qualifies(QStringLiteral("Stat1"))) {
                statName(QStringLiteral("Stat1"), labStat[0]);
            } else {
                labStat[0]->setText(Strings::Load(3590));
                labStat[1]->clear();
            }
            if (qualifies(QStringLiteral("Stat2")))
                statName(QStringLiteral("Stat2"), labStat[1]);
            else
                labStat[1]->clear();
            const qint32 choice = rulesread::Id(m_packages, QStringLiteral("ChoiseStat"));
            if (choice == 1) {
                (labStat[0]->text().isEmpty() ? labStat[0] : labStat[1])->setText(Strings::Load(3591));
            } else if (choice == 2) {
                labStat[0]->setText(Strings::Load(3591));
                labStat[1]->setText(Strings::Load(3591));
            }
            txtNote->setPlainText(rulesread::Text(m_packages, rules::LangCol(QStringLiteral("Note"))));
        }
        labTPCost->setText(QString::number(pk->Cost));
        Personnage &p = ModGeneral::Players(vb::CInt(tag(this)));
        txtMonths->setText(QString::number(background::TrainingMonths(pk->Months, p.TotalStatBonus(4))));
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTraining.cbbTrainingPackage.Click"));
    }
    ListSkill(pk->Training_ID);
}

void frmTraining::ListSkill(qint16 trainingId)
{
    try {
        const QString id = QString::number(trainingId);
        grdSpecial->setRowCount(0);
        dao::Recordset special = rules::Open(QStringLiteral("SELECT Training_ID, ") + rules::LangCol(QStringLiteral("Special"))
                                             + QStringLiteral(" as Special, Chance From [Training special] WHERE (((Training_ID)=")
                                             + id + QStringLiteral("));"));
        for (; !special.Eof(); special.MoveNext())
            appendRow(grdSpecial, rulesread::Text(special, QStringLiteral("Special")),
                      rulesread::Text(special, QStringLiteral("Chance")));
        special.Close();

        const QString catCol = rules::LangCol(QStringLiteral("Skill_Category"));
        dao::Recordset cats = rules::Open(
            QStringLiteral("SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_Category_ID, [Training "
                           "Skill Ranks].Ranks, [Training Skill Ranks].Choise, [Skill Category].")
            + catCol
            + QStringLiteral(" as Skill_Category FROM [Skill Category] INNER JOIN [Training Skill Ranks] ON [Skill "
                             "Category].Skill_Category_ID = [Training Skill Ranks].Skill_Category_ID WHERE ((([Training "
                             "Skill Ranks].Training_ID)=")
            + id + QStringLiteral(") AND (([Training Skill Ranks].Skill_Category_ID)>0)) ORDER BY [Skill Category].") + catCol
            + QStringLiteral(";"));
        const QString skillCol = rules::LangCol(QStringLiteral("Skill"));
        dao::Recordset skills = rules::Open(
            QStringLiteral("SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_ID, [Training Skill "
                           "Ranks].Ranks, [Training Skill Ranks].Choise, Skills.")
            + skillCol
            + QStringLiteral(" as Skill, Skills.Skill_Category_ID FROM Skills INNER JOIN [Training Skill Ranks] ON "
                             "Skills.Skill_ID = [Training Skill Ranks].Skill_ID Where ((([Training Skill Ranks].Training_ID) =")
            + id + QStringLiteral(") And (([Training Skill Ranks].Skill_ID) > 0)) ORDER BY [Training Skill Ranks].Choise, Skills.")
            + skillCol + QStringLiteral(";"));
        grdTraining->setRowCount(0);
        const QString indent = QStringLiteral("     ");
        for (; !cats.Eof(); cats.MoveNext()) {
            const qint32 cat = rulesread::Id(cats, QStringLiteral("Skill_Category_ID"));
            const bool choice = rulesread::Flag(cats, QStringLiteral("Choise"));
            const QString name = (cat >= 49 && cat <= 55 && choice) ? Strings::Load(3593)
                                                                    : rulesread::Text(cats, QStringLiteral("Skill_Category"));
            appendRow(grdTraining, name, rulesread::Text(cats, QStringLiteral("Ranks")));
            if (skills.Eof() && skills.BOF())
                continue;
            for (skills.MoveFirst(); !skills.Eof(); skills.MoveNext()) {
                if (rulesread::Id(skills, QStringLiteral("Skill_Category_ID")) != cat)
                    continue;
                appendRow(grdTraining,
                          indent + (rulesread::Flag(skills, QStringLiteral("Choise")) ? Strings::Load(3591)
                                                                                      : rulesread::Text(skills, QStringLiteral("Skill"))),
                          rulesread::Text(skills, QStringLiteral("Ranks")));
            }
        }
        cats.Close();
        skills.Close();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTraining.ListSkill"));
    }
}

QWidget *frmTraining::targetWindow() const
{
    if (Target)
        return Target.data();
    return SkillDevForms.peek(TagNumber(this));
}

QLabel *frmTraining::targetLabel(const char *name) const
{
    QWidget *w = targetWindow();
    QLabel *l = w ? w->findChild<QLabel *>(QString::fromLatin1(name)) : nullptr;
    if (!l)
        vb::Raise(vb::ErrObjectRequired);
    return l;
}

void frmTraining::btnTrainingPack_Click()
{
    try {
        const Package *pk = Selected();
        if (!pk)
            return;
        QLabel *pd = targetLabel("labPD");
        QLabel *training = targetLabel("labTraining");
        QLabel *cost = targetLabel("labTrainingCost");
        // Every number is read and the new count worked out before anything
        // changes, so a count that is not a number or leaves the range is
        // refused whole.
        const qint16 points = vb::CInt(pd->text().trimmed());
        const qint16 paid = cost->text().trimmed().isEmpty() ? 0 : vb::CInt(vb::Val(cost->text()));
        const qint16 price = vb::CInt(vb::Val(labTPCost->text()));
        if (price > points + paid) {
            ports::ui().MsgBox(Strings::Load(5046), ports::OkOnly, ModGeneral::ProgramTitle());
            return;
        }
        const qint16 left = vb::Check16(static_cast<qint64>(points) + (paid > 0 ? paid : 0) - price);
        if (refused(*pk))
            return;
        training->setText(pk->Name);
        setTag(training, QString::number(pk->Training_ID));
        cost->setText(labTPCost->text());
        pd->setText(QString::number(left));
        accept();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTraining.btnTrainingPack.Click"));
    }
}

bool frmTraining::refused(const Package &pk) const
{
    // A package the character cannot take is refused now, while its points
    // are still the player's, not at the end of the stage once they are gone.
    const QString why = ModGeneral::Players(vb::CInt(tag(this))).TrainingRefusal(pk.Training_ID);
    if (why.isEmpty())
        return false;
    ports::ui().MsgBox(why, ports::OkOnly | ports::Exclamation, ModGeneral::ProgramTitle());
    return true;
}

void frmTraining::btnAnnuler_Click()
{
    try {
        QLabel *pd = targetLabel("labPD");
        QLabel *training = targetLabel("labTraining");
        QLabel *cost = targetLabel("labTrainingCost");
        const double paid = vb::Val(cost->text());
        if (paid > 0)
            pd->setText(QString::number(vb::Check16(static_cast<qint64>(vb::Val(pd->text())) + static_cast<qint64>(paid))));
        training->clear();
        setTag(training, QString());
        cost->clear();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTraining.btnAnnuler.Click"));
    }
    reject();
}

namespace background {

void OpenTrainingPackages(int n)
{
    ShowModalFor<frmTraining>(n, [](frmTraining &dlg) { dlg.LoadData(); });
}

} // namespace background
