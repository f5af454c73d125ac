#include "newcharacter/frmStatChoises.h"

#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/Dice.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "newcharacter/NewCharacterSteps.h"
#include "newcharacter/frmCharacter.h"
#include "platform/ports.h"
#include "platform/vb.h"
#include "skilldev/frmSkillDev.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

using newchar::Text;

namespace {

constexpr const char *kTemporary = "Temporaire";
constexpr const char *kPotential = "Potentiel";

QLineEdit *numberBox(QWidget *parent, const QString &name, int width, bool readOnly)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(width);
    e->setAlignment(Qt::AlignRight);
    e->setReadOnly(readOnly);
    return e;
}

} // namespace

frmStatChoises::frmStatChoises(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmStatChoises"), parent)
{
    setProperty("Tag", QStringLiteral("5026"));
    setWindowTitle(QStringLiteral("Génération des caractéristiques"));

    auto *outer = new QVBoxLayout;
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    labCarateristique = new QLabel(QStringLiteral("Caractéristiques temporaires"), this);
    labCarateristique->setObjectName(QStringLiteral("labCarateristique"));
    labCarateristique->setProperty("Tag", QStringLiteral("3042"));
    QFont heading = labCarateristique->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 3);
    labCarateristique->setFont(heading);
    grid->addWidget(labCarateristique, 0, 0, 1, 7);

    const int texts[4] = {5004, 3044, 3046, 3048};
    for (int h = 0; h < 4; ++h) {
        lbText[h] = new QLabel(this);
        lbText[h]->setObjectName(QStringLiteral("lbText_%1").arg(h));
        lbText[h]->setProperty("Tag", QString::number(texts[h]));
    }
    lbText[0]->setWordWrap(true);
    grid->addWidget(lbText[0], 1, 0, 1, 7);

    // Column headings and the scale figures above the sliders, each figure
    // placed over the slider position of its value (see placeScale).
    m_scale = new QWidget(this);
    m_scale->setObjectName(QStringLiteral("fraScale"));
    for (int i = 0; i < 10; ++i) {
        labchiffre[i] = new QLabel(QString::number((i + 1) * 10), m_scale);
        labchiffre[i]->setObjectName(QStringLiteral("labchiffre_%1").arg(i));
        labchiffre[i]->setAlignment(Qt::AlignCenter);
    }
    m_scale->setMinimumHeight(labchiffre[9]->sizeHint().height());
    m_scale->installEventFilter(this);
    grid->addWidget(m_scale, 2, 1);
    grid->addWidget(lbText[1], 2, 2, Qt::AlignCenter);
    grid->addWidget(lbText[2], 2, 3, 1, 2, Qt::AlignCenter);
    grid->addWidget(lbText[3], 2, 6, Qt::AlignCenter);

    for (int i = 0; i < 10; ++i) {
        const int row = i + 3;
        Statistics[i] = new QLabel(this);
        Statistics[i]->setObjectName(QStringLiteral("Statistics_%1").arg(i));
        Statistics[i]->setMinimumWidth(150);
        sldStatistics[i] = new QSlider(Qt::Horizontal, this);
        sldStatistics[i]->setObjectName(QStringLiteral("sldStatistics_%1").arg(i));
        sldStatistics[i]->setRange(10, 102);
        sldStatistics[i]->setSingleStep(1);
        sldStatistics[i]->setPageStep(10);
        sldStatistics[i]->setTickInterval(10);
        sldStatistics[i]->setTickPosition(QSlider::TicksBelow);
        sldStatistics[i]->setMinimumWidth(380);
        // The value is chosen with the slider or the input box only: typed
        // text would bypass the cost and the pool.
        txtStatisticsT[i] = numberBox(this, QStringLiteral("txtStatisticsT_%1").arg(i), 50, true);
        txtStatisticsT[i]->installEventFilter(this);
        txtStatisticsP[i] = numberBox(this, QStringLiteral("txtStatisticsP_%1").arg(i), 50, false);
        labDieRollP[i] = new QLabel(this);
        labDieRollP[i]->setObjectName(QStringLiteral("labDieRollP_%1").arg(i));
        labDieRollP[i]->setMinimumWidth(90);
        txtCost[i] = numberBox(this, QStringLiteral("txtCost_%1").arg(i), 50, true);
        txtBonus[i] = numberBox(this, QStringLiteral("txtBonus_%1").arg(i), 50, true);
        txtStatisticsP[i]->hide();
        labDieRollP[i]->hide();
        grid->addWidget(Statistics[i], row, 0);
        grid->addWidget(sldStatistics[i], row, 1);
        grid->addWidget(txtStatisticsT[i], row, 2);
        grid->addWidget(txtStatisticsP[i], row, 3);
        grid->addWidget(labDieRollP[i], row, 4);
        grid->addWidget(txtCost[i], row, 5);
        grid->addWidget(txtBonus[i], row, 6);
        connect(sldStatistics[i], &QSlider::valueChanged, this, [this, i] {
            sldStatistics_Change(i);
            sldStatistics_Scroll(i);
        });
        connect(txtCost[i], &QLineEdit::textChanged, this, [this, i] { txtCost_Change(i); });
    }
    lbText[2]->hide();

    // The pool: ten dice and the two totals.
    auto *dice = new QHBoxLayout;
    for (int i = 0; i < 10; ++i) {
        tbDieRollT[i] = numberBox(this, QStringLiteral("tbDieRollT_%1").arg(i), 34, false);
        tbDieRollT[i]->installEventFilter(this);
        dice->addWidget(tbDieRollT[i]);
        connect(tbDieRollT[i], &QLineEdit::textChanged, this, [this, i] { tbDieRollT_Change(i); });
    }
    for (int k = 0; k < 2; ++k) {
        btnRandom[k] = new QPushButton(QStringLiteral("Aléatoire"), this);
        btnRandom[k]->setObjectName(QStringLiteral("btnRandom_%1").arg(k));
        btnRandom[k]->setProperty("Tag", QStringLiteral("3501"));
        connect(btnRandom[k], &QPushButton::clicked, this, [this, k] { btnRandom_Click(k); });
        dice->addWidget(btnRandom[k]);
    }
    btnRandom[1]->hide();
    dice->addStretch();
    grid->addLayout(dice, 13, 1, 1, 1);

    labTotalPoints = new QLabel(QStringLiteral("Total"), this);
    labTotalPoints->setObjectName(QStringLiteral("labTotalPoints"));
    labTotalPoints->setProperty("Tag", QStringLiteral("3503"));
    for (int k = 0; k < 2; ++k)
        tbStatPointsTotal[k] = numberBox(this, QStringLiteral("tbStatPointsTotal_%1").arg(k), 50, true);
    tbStatPointsTotal[0]->setText(QStringLiteral("600"));
    grid->addWidget(labTotalPoints, 14, 0, Qt::AlignRight);
    grid->addWidget(tbStatPointsTotal[0], 14, 2);
    grid->addWidget(tbStatPointsTotal[1], 14, 5);

    btnNext = new QPushButton(QString(QChar(0x2192)), this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    btnNext->setFixedWidth(60);
    connect(btnNext, &QPushButton::clicked, this, &frmStatChoises::btnNext_Click);
    grid->addWidget(btnNext, 15, 6);

    outer->addLayout(grid);
    outer->addStretch();
    auto *wrap = new QHBoxLayout(Page());
    wrap->addLayout(outer);
    wrap->addStretch();

    FinishLoad();
    labCarateristique->setProperty("Tag", QString::fromLatin1(kTemporary));

    // The names in the Stat table's stored order; a failure leaves the layout's.
    try {
        dao::Recordset rs = rules::Open(QStringLiteral("Stat"));
        for (int k = 0; k < 10 && !rs.Eof(); ++k) {
            Statistics[k]->setText(rulesread::Text(rs, rules::LangCol(QStringLiteral("Stat"))));
            rs.MoveNext();
        }
        rs.Close();
    } catch (...) {
    }
}

QString frmStatChoises::Phase() const
{
    return labCarateristique->property("Tag").toString();
}

int frmStatChoises::SelLength(int i) const
{
    return m_selLength[static_cast<size_t>(i)];
}

int frmStatChoises::CostOf(double t)
{
    if (t > 90)
        return static_cast<int>(vb::Int((t - 90) * (t - 90) + 90 + 0.5));
    return vb::CInt(t);
}

QString frmStatChoises::PotentialFormula(int t)
{
    struct Band {
        int low, high;
        const char *formula;
    };
    static const Band bands[] = {
        {-32768, 24, "20 + 8d10"}, {25, 34, "30 + 7d10"}, {35, 44, "40 + 6d10"}, {45, 54, "50 + 5d10"},
        {55, 64, "60 + 4d10"},     {65, 74, "70 + 3d10"}, {75, 84, "80 + 2d10"}, {85, 91, "90 + 1d10"},
        {92, 92, "91 + 1d9"},      {93, 93, "92 + 1d8"},  {94, 94, "93 + 1d7"},  {95, 95, "94 + 1d6"},
        {96, 96, "95 + 1d5"},      {97, 97, "96 + 1d4"},  {98, 98, "97 + 1d3"},  {99, 99, "98 + 1d2"},
    };
    for (const Band &b : bands) {
        if (t >= b.low && t <= b.high)
            return QString::fromLatin1(b.formula);
    }
    return QStringLiteral("99 + 1d2");
}

void frmStatChoises::LoadData()
{
    try {
        Personnage &p = ModGeneral::Players(Number());
        dao::Recordset rs = rules::Open(QStringLiteral("Profession"));
        // A profession missing from the rules gives no prime statistics.
        const bool found = rules::Find(rs, QStringLiteral("Profession_ID"), p.Profession_ID);
        for (int i = 0; i < 10; ++i) {
            sldStatistics[i]->setValue(50);
            if (found) {
                const int stat = i + 1;
                if (rulesread::Id(rs, QStringLiteral("Stat_ID1")) == stat
                    || rulesread::Id(rs, QStringLiteral("Stat_ID2")) == stat
                    || rulesread::Id(rs, QStringLiteral("Stat_ID3")) == stat) {
                    QFont f = Statistics[i]->font();
                    f.setBold(true);
                    f.setPointSize(11);
                    Statistics[i]->setFont(f);
                    sldStatistics[i]->setValue(90);
                }
            }
            sldStatistics_Scroll(i);
        }
        rs.Close();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".LoadData"));
    }
}

void frmStatChoises::sldStatistics_Scroll(int i)
{
    try {
        QSlider *s = sldStatistics[i];
        txtStatisticsT[i]->setText(QString::number(s->value()));
        const double t = vb::Val(txtStatisticsT[i]->text());
        txtCost[i]->setText(vb::Str(CostOf(t)));
        m_selLength[static_cast<size_t>(i)] = s->value() - 10;
        if (!Tag().isEmpty())
            txtBonus[i]->setText(vb::NumText(ModGeneral::Players(Number()).BonusStats(vb::CInt(t))));
        else
            txtBonus[i]->setText(QStringLiteral("0"));
    } catch (...) {
        ReportCurrentException(QStringLiteral("sldStatistics.Scroll"));
    }
}

void frmStatChoises::sldStatistics_Change(int i)
{
    if (sldStatistics[i]->isVisible())
        sldStatistics[i]->setFocus();
}

void frmStatChoises::txtStatisticsT_Click(int i)
{
    const QString answer = ports::ui().InputBox(QStringLiteral("Entrez la valeur voulue."), QString::fromLatin1(kTemporary),
                                                QString());
    // Cancel, an empty answer or one that is no number changes nothing; a
    // number is kept to the slider's range, however far past it it lies.
    double value;
    try {
        value = vb::RoundHalfEven(vb::CDbl(QVariant(answer)));
    } catch (const vb::Error &e) {
        if (e.number() != vb::ErrOverflow)
            return;
        value = vb::Val(answer);   // past every double: its sign tells the end
    }
    const double kept = std::clamp(value, double(sldStatistics[i]->minimum()), double(sldStatistics[i]->maximum()));
    sldStatistics[i]->setValue(static_cast<int>(kept));
    sldStatistics_Scroll(i);
}

void frmStatChoises::tbDieRollT_Change(int)
{
    try {
        double sum = 0;
        try {
            for (QLineEdit *die : tbDieRollT)
                sum = vb::CLng(sum + vb::Val(die->text()));
        } catch (const vb::Error &) {
            // A die typed past any whole number is put back within 1 to 10
            // when its box is left; until then the pool shows what it had.
            return;
        }
        tbStatPointsTotal[0]->setText(vb::NumText(600 + sum));
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".tbDieRollT"));
    }
}

void frmStatChoises::tbDieRollT_KeyPress(int, int KeyAscii)
{
    if (KeyAscii == 13)
        focusNextChild();
}

void frmStatChoises::tbDieRollT_LostFocus(int i)
{
    try {
        QLineEdit *die = tbDieRollT[i];
        const double v = vb::Val(die->text());
        die->setText(vb::NumText(v).trimmed());
        if (v > 10)
            die->setText(QStringLiteral("10"));
        else if (v < 1)
            die->setText(QStringLiteral("1"));
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".tbDieRollT"));
    }
}

void frmStatChoises::txtCost_Change(int)
{
    double sum = 0;
    for (QLineEdit *cost : txtCost)
        sum = vb::CLng(sum + vb::Val(cost->text()));
    tbStatPointsTotal[1]->setText(vb::Str(sum));
}

void frmStatChoises::btnRandom_Click(int Index)
{
    try {
        if (Index == 0) {
            for (QLineEdit *die : tbDieRollT)
                die->setText(vb::Str(vb::CInt(JetDe(10))));
            btnRandom[0]->setEnabled(false);
            return;
        }
        for (int i = 0; i < 10; ++i) {
            const QString c = labDieRollP[i]->text();
            const int p = c.lastIndexOf(QLatin1Char('+')) + 1;   // positions from 1
            const int d = c.lastIndexOf(QLatin1Char('d')) + 1;
            if (p < 1 || d <= p)
                vb::Raise(vb::ErrInvalidCall);
            const double base = vb::Val(c.left(std::max(p - 2, 0)).trimmed());
            const double count = vb::Val(c.mid(p, d - p - 1));
            const qint16 sides = vb::CInt(vb::Val(c.mid(d).trimmed()));
            double sum = 0;
            for (int r = 0; r < static_cast<int>(count); ++r)
                sum = vb::CLng(sum + vb::CDbl(JetDe(sides)));
            txtStatisticsP[i]->setText(vb::Str(base + sum));
            if (vb::Val(txtStatisticsT[i]->text()) > vb::Val(txtStatisticsP[i]->text()))
                txtStatisticsP[i]->setText(txtStatisticsT[i]->text());
        }
        btnRandom[1]->setEnabled(false);
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".btnRandom"));
    }
}

void frmStatChoises::btnNext_Click()
{
    try {
        if (Phase() == QLatin1String(kTemporary)) {
            const qint32 spent = vb::CLng(tbStatPointsTotal[1]->text());
            const qint32 pool = vb::CLng(tbStatPointsTotal[0]->text());
            if (spent > pool) {
                ModGeneral::MsgText = Text(5027) + QStringLiteral(" ") + tbStatPointsTotal[0]->text();
                ModGeneral::MsgTitle = Text(1037);
                ports::ui().MsgBox(ModGeneral::MsgText.toString(), ports::OkOnly | ports::Exclamation,
                                   ModGeneral::MsgTitle);
                return;
            }
            for (int i = 0; i < 10; ++i) {
                if (Statistics[i]->font().bold() && vb::CInt(txtStatisticsT[i]->text()) < 90) {
                    ModGeneral::MsgText = Text(5063);
                    ModGeneral::MsgTitle = Text(1037);
                    ports::ui().MsgBox(ModGeneral::MsgText.toString(), ports::OkOnly | ports::Exclamation,
                                       ModGeneral::MsgTitle);
                    return;
                }
            }
            SwitchToPotential();
            return;
        }
        HandOver();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".BTNNext"));
    }
}

void frmStatChoises::SwitchToPotential()
{
    for (int i = 0; i < 10; ++i) {
        tbDieRollT[i]->hide();
        sldStatistics[i]->hide();
        txtCost[i]->hide();
        labchiffre[i]->hide();
        txtStatisticsT[i]->setEnabled(false);
    }
    lbText[0]->hide();
    labCarateristique->setText(Text(3043));
    labCarateristique->setProperty("Tag", QString::fromLatin1(kPotential));
    for (int i = 0; i < 10; ++i) {
        txtStatisticsP[i]->show();
        labDieRollP[i]->show();
        labDieRollP[i]->setText(PotentialFormula(vb::CInt(vb::Val(txtStatisticsT[i]->text()))));
    }
    btnRandom[1]->show();
    btnRandom[0]->hide();
    lbText[2]->show();
    tbStatPointsTotal[0]->hide();
    tbStatPointsTotal[1]->hide();
    labTotalPoints->hide();
}

void frmStatChoises::HandOver()
{
    const int n = Number();
    for (QLineEdit *box : txtStatisticsP) {
        if (box->text().isEmpty()) {
            btnRandom_Click(1);
            break;
        }
    }
    // Every value must read as a whole number before the first is stored, so
    // that a bad box never leaves the record half written. A typed potential is
    // stored as typed, even below its temporary value: the gain rolls never
    // lower a value for it.
    std::array<qint16, 10> temporary{}, potential{};
    for (int i = 0; i < 10; ++i) {
        try {
            temporary[i] = vb::CInt(txtStatisticsT[i]->text());
            potential[i] = vb::CInt(txtStatisticsP[i]->text());
        } catch (const vb::Error &e) {
            const int words = e.number() == vb::ErrOverflow ? 9150 : 9020;
            ports::ui().MsgBox(Text(words) + QLatin1Char(' ') + Statistics[i]->text(),
                               ports::OkOnly | ports::Exclamation, Text(1037));
            txtStatisticsP[i]->setFocus();
            return;
        }
    }
    Personnage &p = ModGeneral::Players(n);
    for (int i = 0; i < 10; ++i) {
        p.AddStat(0, static_cast<qint16>(i), temporary[i]);
        p.AddStat(1, static_cast<qint16>(i), potential[i]);
    }

    {
        frmCharacter identity(MainFrame::Owner());
        ::setTag(&identity, Tag());
        identity.setWindowTitle(Text(3541));
        identity.LoadData();
        identity.exec();
    }

    p.Adolescence();

    auto *skill = new frmSkillDev;
    if (!SkillDevForms.put(n, skill))
        vb::Raise(vb::ErrSubscript);
    ModGeneral::SkillDevMode = QStringLiteral("Langue");
    // The number goes in before the window shows: its toolbar needs it.
    skill->setTag(QString::number(n));
    skill->LoadData();
    skill->setStageMarker(QStringLiteral("Linguistique"));
    skill->labDevlopment[13]->setText(Text(3075));
    skill->btnEnd->setEnabled(true);
    skill->labTrainingCost->hide();
    skill->labTraining->hide();
    skill->btnTraning->hide();
    // The adolescence language ranks of the culture; a culture without any
    // gives a stage of no ranks, not one paid in development points.
    qint32 ranks = 0;
    {
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT * FROM [Adolescences Rank] where Culture_ID= ")
                                            + QString::number(p.Culture_ID));
        if (rules::Find(rs, QStringLiteral("Skill_ID"), 32))
            ranks = rulesread::Need(rs, QStringLiteral("Rank"));
        rs.Close();
    }
    skill->labPD->setText(QString::number(ranks));
    skill->labPD->setProperty("Tag", QStringLiteral("Ranks"));

    newchar::Present(skill);
    m_handedOver = true;
    newchar::Unload(this);
    ports::ui().MsgBox(Text(5028), ports::OkOnly, Text(5029));
}

bool frmStatChoises::QueryUnload()
{
    if (!BeingMade())
        return true;
    m_givenUp = newchar::AskGiveUp(Number());
    return m_givenUp;
}

void frmStatChoises::Form_Unload()
{
    if (m_givenUp)
        newchar::GiveUp(Number());
}

void frmStatChoises::placeScale()
{
    // The scale shares the sliders' column, so a slider as wide as the scale
    // tells where each figure's value lies.
    QSlider *s = sldStatistics[0];
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.rect = QRect(0, 0, m_scale->width(), s->sizeHint().height());
    opt.orientation = Qt::Horizontal;
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = s->minimum();
    opt.sliderValue = s->minimum();
    opt.tickPosition = s->tickPosition();
    opt.tickInterval = s->tickInterval();
    opt.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    const QRect groove = s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, s);
    const QRect handle = s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s);
    const int span = std::max(groove.width() - handle.width(), 1);
    for (int i = 0; i < 10; ++i) {
        QLabel *figure = labchiffre[i];
        const int width = figure->sizeHint().width();
        const int centre = groove.x() + handle.width() / 2
            + QStyle::sliderPositionFromValue(opt.minimum, opt.maximum, (i + 1) * 10, span);
        const int left = std::clamp(centre - width / 2, 0, std::max(m_scale->width() - width, 0));
        figure->setGeometry(left, 0, width, m_scale->height());
    }
}

bool frmStatChoises::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scale && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeScale();
    for (int i = 0; i < 10; ++i) {
        if (watched == txtStatisticsT[i] && event->type() == QEvent::MouseButtonRelease
            && txtStatisticsT[i]->isEnabled()) {
            txtStatisticsT_Click(i);
            return true;
        }
        if (watched == tbDieRollT[i]) {
            if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent *>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter)
                    tbDieRollT_KeyPress(i, 13);
            } else if (event->type() == QEvent::FocusOut) {
                tbDieRollT_LostFocus(i);
            }
        }
    }
    return CharacterWindow::eventFilter(watched, event);
}
