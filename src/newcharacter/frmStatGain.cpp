#include "newcharacter/frmStatGain.h"

#include "newcharacter/frmStatGainRolls.h"

#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The boxes alone make the dialog narrower than its caption, which the title
// bar then cuts: it is at least as wide as the caption in a bold face, with
// room for the bar's icon and buttons.
void WideEnoughForTitle(QDialog *dialog)
{
    QFont title = dialog->font();
    title.setBold(true);
    dialog->setMinimumWidth(QFontMetrics(title).horizontalAdvance(dialog->windowTitle()) + 120);
}

} // namespace

frmStatGain::frmStatGain(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStatGain"));
    setModal(true);
    setTag(this, QStringLiteral("5065"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        ckStat[i] = new QCheckBox(this);
        ckStat[i]->setObjectName(QStringLiteral("ckStat_%1").arg(i));
        grid->addWidget(ckStat[i], i % 5, i / 5);
        // Counted on every change, so a choice made with the keyboard counts too.
        connect(ckStat[i], &QCheckBox::toggled, this, [this, i] { ckStat_Click(i); });
    }
    labChoix = new QLabel(this);
    labChoix->setObjectName(QStringLiteral("labChoix"));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setDefault(true);
    layout->addLayout(grid);
    layout->addWidget(labChoix);
    layout->addWidget(btnOk, 0, Qt::AlignRight);
    connect(btnOk, &QPushButton::clicked, this, &frmStatGain::btnOk_Click);
    LoadFormStrings(this);
    WideEnoughForTitle(this);

    try {
        dao::Recordset rs = rules::Open(QStringLiteral("Stat"));
        if (!rs.Eof())
            rs.MoveFirst();
        for (int k = 0; k < 10 && !rs.Eof(); ++k, rs.MoveNext())
            ckStat[k]->setText(rulesread::Text(rs, rules::LangCol(QStringLiteral("Stat"))));
        rs.Close();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmStatGain.load"));
    }
}

void frmStatGain::LoadData()
{
    const int n = static_cast<int>(vb::Val(labChoix->text()));
    if (n == 1 || n == 2) {
        labChoix->setText(QString::number(n) + QStringLiteral(" ") + Strings::Load(3591));
        labChoix->setProperty("Tag", QString::number(n));
    } else if (n <= 0) {
        labChoix->clear();
        labChoix->setProperty("Tag", QStringLiteral("0"));
    }
    // Never ask for more than the boxes left free, or OK could never be accepted.
    int free = 0;
    for (QCheckBox *box : ckStat)
        free += box->isEnabled() ? 1 : 0;
    m_limit = std::clamp(n, 0, free);
    freezeWhenComplete();
}

void frmStatGain::ckStat_Click(int)
{
    freezeWhenComplete();
}

void frmStatGain::freezeWhenComplete()
{
    if (m_limit < 0)
        return;   // the opener is still preparing the boxes
    int chosen = 0;
    for (QCheckBox *box : ckStat)
        chosen += (box->isEnabled() && box->isChecked()) ? 1 : 0;
    if (chosen >= m_limit) {
        for (QCheckBox *box : ckStat)
            box->setEnabled(false);
    }
}

void frmStatGain::btnOk_Click()
{
    for (QCheckBox *box : ckStat) {
        if (box->isEnabled()) {
            ports::ui().MsgBox(Strings::Load(5066), ports::OkOnly, ModGeneral::ProgramTitle());
            return;
        }
    }
    m_ticked.clear();
    for (int i = 0; i < 10; ++i) {
        if (ckStat[i]->isChecked())
            m_ticked.push_back(i);
    }
    // The rolls follow a choice made on screen; a caller that only asks for
    // the ticks (the window never shown) gets them without the rolls.
    const bool handOver = isVisible();
    accept();
    if (handOver)
        OpenRolls();
}

void frmStatGain::OpenRolls()
{
    frmStatGainRolls rolls(parentWidget());
    for (int i = 0; i < 10; ++i) {
        if (!ckStat[i]->isChecked())
            rolls.DisableRow(i);
    }
    setTag(&rolls, tag(this));
    rolls.LoadData();
    rolls.exec();
}

void frmStatGain::reject()
{
    // No cancel: leaving the window is OK, which refuses an unfinished choice.
    btnOk_Click();
}

void frmStatGain::closeEvent(QCloseEvent *event)
{
    if (isVisible())
        btnOk_Click();   // hides the window when the choice is complete
    event->ignore();
}
