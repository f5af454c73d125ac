#include "newcharacter/frmStatGainRolls.h"

#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/Dice.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "newcharacter/NewCharacterSteps.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>

using newchar::Text;

namespace {

// A die as the player typed or the roller wrote it. Any whole number the
// player types counts as the die, as far as a 16-bit figure goes (kDieLow to
// kDieHigh); other text is refused.
constexpr int kDieLow = std::numeric_limits<qint16>::min();
constexpr int kDieHigh = std::numeric_limits<qint16>::max();

std::optional<int> dieValue(const QLineEdit *box)
{
    try {
        return vb::CInt(box->text());
    } catch (const vb::Error &) {
    }
    return std::nullopt;
}

QString rollText()
{
    return vb::Str(vb::CInt(JetDe(10)));
}

} // namespace

frmStatGainRolls::frmStatGainRolls(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStatGainRolls"));
    setModal(true);
    setProperty("Tag", QStringLiteral("5006"));
    setWindowTitle(QStringLiteral("Modification des caractéristiques"));

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    const int headings[4] = {3044, 3046, 3506, 3507};
    const int headingColumn[4] = {1, 2, 3, 5};
    for (int h = 0; h < 4; ++h) {
        lbText[h] = new QLabel(this);
        lbText[h]->setObjectName(QStringLiteral("lbText_%1").arg(h));
        lbText[h]->setProperty("Tag", QString::number(headings[h]));
        lbText[h]->setAlignment(Qt::AlignCenter);
        // Headings wider than their columns keep clear of their neighbours.
        lbText[h]->setContentsMargins(4, 0, 4, 0);
        grid->addWidget(lbText[h], 0, headingColumn[h], 1, h == 2 ? 2 : 1);
    }
    auto box = [this](const QString &name, bool readOnly) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        // The keyboard goes from die to die; the shown values cannot be typed.
        if (readOnly)
            e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(48);
        return e;
    };
    for (int i = 0; i < 10; ++i) {
        Statistics[i] = new QLabel(this);
        Statistics[i]->setObjectName(QStringLiteral("Statistics_%1").arg(i));
        Statistics[i]->setMinimumWidth(110);
        txtStatisticsT[i] = box(QStringLiteral("txtStatisticsT_%1").arg(i), true);
        txtStatisticsP[i] = box(QStringLiteral("txtStatisticsP_%1").arg(i), true);
        txtDie[i] = box(QStringLiteral("txtDie_%1").arg(i), false);
        txtDie[i + 10] = box(QStringLiteral("txtDie_%1").arg(i + 10), false);
        txtResultat[i] = box(QStringLiteral("txtResultat_%1").arg(i), true);
        grid->addWidget(Statistics[i], i + 1, 0);
        grid->addWidget(txtStatisticsT[i], i + 1, 1);
        grid->addWidget(txtStatisticsP[i], i + 1, 2);
        grid->addWidget(txtDie[i], i + 1, 3);
        grid->addWidget(txtDie[i + 10], i + 1, 4);
        grid->addWidget(txtResultat[i], i + 1, 5);
    }
    for (int i = 0; i < 20; ++i)
        connect(txtDie[i], &QLineEdit::textChanged, this, [this, i] { txtDie_Change(i); });
    layout->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    bntCalcul = new QPushButton(QStringLiteral("Calcul"), this);
    bntCalcul->setObjectName(QStringLiteral("bntCalcul"));
    bntCalcul->setProperty("Tag", QStringLiteral("3508"));
    btnRandom = new QPushButton(QStringLiteral("Aléatoire"), this);
    btnRandom->setObjectName(QStringLiteral("btnRandom"));
    btnRandom->setProperty("Tag", QStringLiteral("3501"));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setProperty("Tag", QStringLiteral("1045"));
    btnOk->setDefault(true);
    buttons->addWidget(bntCalcul);
    buttons->addWidget(btnRandom);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    layout->addLayout(buttons);
    connect(bntCalcul, &QPushButton::clicked, this, &frmStatGainRolls::bntCalcul_Click);
    connect(btnRandom, &QPushButton::clicked, this, &frmStatGainRolls::btnRandom_Click);
    connect(btnOk, &QPushButton::clicked, this, &frmStatGainRolls::btnOk_Click);

    LoadFormStrings(this);
    setTag(this, QString());   // no character until the opener gives its number
}

void frmStatGainRolls::DisableRow(int i)
{
    if (i < 0 || i > 9)
        return;
    Statistics[i]->setEnabled(false);
    txtDie[i]->setEnabled(false);
    txtDie[i + 10]->setEnabled(false);
    txtResultat[i]->setEnabled(false);
}

void frmStatGainRolls::LoadData()
{
    try {
        Personnage &p = ModGeneral::Players(tag(this).toInt());
        dao::Recordset rs = rules::Open(QStringLiteral("Stat"));
        for (int k = 0; k < 10; ++k) {
            if (!rs.Eof()) {
                Statistics[k]->setText(rulesread::Text(rs, rules::LangCol(QStringLiteral("Stat"))));
                rs.MoveNext();
            }
            txtStatisticsT[k]->setText(vb::NumText(p.DirStats(0, static_cast<qint16>(k))));
            txtStatisticsP[k]->setText(vb::NumText(p.DirStats(1, static_cast<qint16>(k))));
        }
        rs.Close();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".LoadData"));
    }
}

int frmStatGainRolls::GainOf(int d1, int d2, int diff)
{
    int gain;
    if (d1 == d2 && d1 <= 0)
        gain = -d1;   // doubles typed below zero: a gain, cut as any other
    else if (d1 == d2 && d1 < 6)
        return -d1;   // a loss, never cut
    else if (d1 == d2)
        gain = 2 * d1;
    else if (diff <= 10)
        gain = std::min(d1, d2);
    else if (diff <= 20)
        gain = std::max(d1, d2);
    else
        gain = d1 + d2;
    // A gain never carries the value past its potential, and never lowers it
    // when the potential is already below the value.
    return std::min(gain, std::max(diff, 0));
}

QStringList frmStatGainRolls::CalculGain()
{
    // Every die still missing is rolled first, so that one pass gives every
    // statistic its gain (a roll empties the gains shown, as any die change).
    for (int k = 0; k < 10; ++k) {
        if (!txtDie[k]->isEnabled())
            continue;
        if (txtDie[k]->text().trimmed().isEmpty())
            txtDie[k]->setText(rollText());
        if (txtDie[k + 10]->text().trimmed().isEmpty())
            txtDie[k + 10]->setText(rollText());
    }
    Personnage &p = ModGeneral::Players(tag(this).toInt());
    QStringList refused;
    for (int k = 0; k < 10; ++k) {
        if (!txtDie[k]->isEnabled())
            continue;
        const int diff = int(p.DirStats(1, static_cast<qint16>(k))) - int(p.DirStats(0, static_cast<qint16>(k)));
        const std::optional<int> d1 = dieValue(txtDie[k]);
        const std::optional<int> d2 = dieValue(txtDie[k + 10]);
        if (!d1 || !d2) {
            txtResultat[k]->clear();
            refused << Statistics[k]->text();
            continue;
        }
        const int gain = GainOf(*d1, *d2, diff);
        // The lower or higher die is shown as its box shows it.
        QString text = QString::number(gain);
        if (*d1 != *d2 && gain >= 0 && gain == std::min(*d1, *d2) && diff <= 10)
            text = txtDie[*d1 < *d2 ? k : k + 10]->text();
        else if (*d1 != *d2 && gain >= 0 && gain == std::max(*d1, *d2) && diff > 10 && diff <= 20)
            text = txtDie[*d1 > *d2 ? k : k + 10]->text();
        txtResultat[k]->setText(text);
    }
    return refused;
}

void frmStatGainRolls::SayRefusedDice(const QStringList &statistics, int message)
{
    ports::ui().MsgBox(newchar::Text(message).arg(statistics.join(QStringLiteral(", "))).arg(kDieLow).arg(kDieHigh),
                       ports::OkOnly | ports::Exclamation, windowTitle());
}

void frmStatGainRolls::txtDie_Change(int)
{
    for (QLineEdit *r : txtResultat)
        r->clear();
}

void frmStatGainRolls::btnRandom_Click()
{
    for (QLineEdit *die : txtDie) {
        if (die->isEnabled())
            die->setText(rollText());
    }
    CalculGain();
    btnRandom->setEnabled(false);   // one random roll per opening
}

void frmStatGainRolls::bntCalcul_Click()
{
    const QStringList refused = CalculGain();
    if (!refused.isEmpty())
        SayRefusedDice(refused, 9500);
}

void frmStatGainRolls::btnOk_Click()
{
    if (m_stored)
        return;
    const QStringList refused = CalculGain();
    if (!refused.isEmpty()) {
        SayRefusedDice(refused, 9501);
        return;
    }
    try {
        Personnage &p = ModGeneral::Players(tag(this).toInt());
        for (int k = 0; k < 10; ++k) {
            if (txtResultat[k]->text().trimmed().isEmpty())
                continue;
            const int t = vb::CInt(txtStatisticsT[k]->text());
            const int pot = vb::CInt(txtStatisticsP[k]->text());
            const int gain = vb::CInt(txtResultat[k]->text());
            int value = t + gain;
            if (gain > 0 && value > pot)
                value = std::max(pot, t);
            p.AddStat(0, static_cast<qint16>(k), vb::Check16(value));
        }
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".btnOk.Click"));
    }
    m_stored = true;
    accept();
}

void frmStatGainRolls::closeEvent(QCloseEvent *event)
{
    if (!m_stored)
        btnOk_Click();
    if (m_stored)
        event->accept();
    else
        event->ignore();
}

void frmStatGainRolls::reject()
{
    // No cancel: leaving the window stores the gains.
    btnOk_Click();
}

namespace newchar {

void OpenStatGainRolls(int n)
{
    ShowModalFor<frmStatGainRolls>(n, [n](frmStatGainRolls &dlg) {
        dlg.setWindowTitle(ModGeneral::Players(n).Nom + QStringLiteral(" (") + Strings::Load(5006)
                           + QStringLiteral(")"));
        dlg.LoadData();
    });
}

} // namespace newchar
