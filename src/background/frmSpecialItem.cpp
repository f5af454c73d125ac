#include "background/frmSpecialItem.h"

#include "character/BackgroundRules.h"
#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/Dice.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>


frmSpecialItem::frmSpecialItem(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSpecialItem"));
    setModal(true);
    setFont(QFont(QStringLiteral("Arial")));
    setFixedSize(TwipsSize(5340, 2460));
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        optSpecialItem[i] = new QRadioButton(this);
        optSpecialItem[i]->setObjectName(QStringLiteral("optSpecialItem_%1").arg(i));
        optSpecialItem[i]->setGeometry(TwipsRect(240, 240 + 360 * i, 3600, 375));
        group->addButton(optSpecialItem[i], i);
    }
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setGeometry(TwipsRect(3960, 240, 1215, 375));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    setTag(btnCancel, QStringLiteral("1044"));
    btnCancel->setGeometry(TwipsRect(3960, 720, 1215, 375));
    labJet = new QLabel(QStringLiteral("Jet de Dé"), this);
    labJet->setObjectName(QStringLiteral("labJet"));
    setTag(labJet, QStringLiteral("5049"));
    labJet->setGeometry(TwipsRect(240, 1980, 1400, 300));
    txtJetDe = new QLineEdit(this);
    txtJetDe->setObjectName(QStringLiteral("txtJetDe"));
    txtJetDe->setAlignment(Qt::AlignRight);
    txtJetDe->setGeometry(TwipsRect(1680, 1920, 495, 375));
    btnRandom = new QPushButton(QStringLiteral("Aléatoire"), this);
    btnRandom->setObjectName(QStringLiteral("btnRandom"));
    setTag(btnRandom, QStringLiteral("3501"));
    btnRandom->setGeometry(TwipsRect(2280, 1920, 1455, 375));

    setTabOrder(optSpecialItem[0], optSpecialItem[1]);
    setTabOrder(optSpecialItem[1], optSpecialItem[2]);
    setTabOrder(optSpecialItem[2], optSpecialItem[3]);
    setTabOrder(optSpecialItem[3], btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, btnRandom);
    setTabOrder(btnRandom, txtJetDe);

    connect(btnOk, &QPushButton::clicked, this, &frmSpecialItem::btnOk_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmSpecialItem::btnCancel_Click);
    connect(btnRandom, &QPushButton::clicked, this, &frmSpecialItem::btnRandom_Click);
    connect(txtJetDe, &QLineEdit::textChanged, this, &frmSpecialItem::txtJetDe_Change);

    try {
        LoadFormStrings(this);
        dao::Recordset rs = rules::Open(QStringLiteral("Special Items"));
        for (; !rs.Eof(); rs.MoveNext()) {
            std::array<QString, 5> band;
            band[0] = rulesread::Text(rs, QStringLiteral("Roll"));
            for (int i = 1; i <= 4; ++i)
                band[i] = rulesread::Text(rs, QStringLiteral("Item%1En").arg(i));
            m_bands.push_back(band);
        }
        rs.Close();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmSpecialItem.Load"));
    }
    btnRandom_Click();
}

void frmSpecialItem::btnRandom_Click()
{
    const int r = JetDe(100).toInt();
    txtJetDe->setText(QString::number(r));
    QStringList bands;
    for (const auto &b : m_bands)
        bands << b[0];
    const int idx = background::BandIndex(bands, r);
    RolledItems.clear();
    for (int i = 0; i < 4; ++i)
        optSpecialItem[i]->setText(QString());
    int first = -1;
    if (idx >= 0) {
        const auto &band = m_bands[static_cast<size_t>(idx)];
        for (int i = 0; i < 4; ++i) {
            RolledItems << band[i + 1];
            if (band[i + 1] != QLatin1String("None"))
                optSpecialItem[i]->setText(band[i + 1]);
        }
    }
    for (int i = 0; i < 4; ++i) {
        const bool shown = !optSpecialItem[i]->text().isEmpty();
        optSpecialItem[i]->setVisible(shown);
        if (shown && first < 0)
            first = i;
    }
    // The first item on show is the one taken when the player touches
    // nothing; a band with nothing on show offers nothing to take.
    if (first >= 0)
        optSpecialItem[first]->setChecked(true);
    btnOk->setEnabled(first >= 0);
}

void frmSpecialItem::txtJetDe_Change()
{
    btnRandom->setText(QStringLiteral("OK"));
}

void frmSpecialItem::btnOk_Click()
{
    if (txtJetDe->text().isEmpty()) {
        btnRandom_Click();
        return;
    }
    int chosen = -1;
    for (int i = 0; i < 4 && chosen < 0; ++i)
        if (optSpecialItem[i]->isChecked() && !optSpecialItem[i]->text().isEmpty())
            chosen = i;
    if (chosen < 0 || chosen >= RolledItems.size())
        return;
    Personnage &p = ModGeneral::Players(TagNumber(this));
    p.Historique = background::AppendHistoryLine(p.HistoryText(), RolledItems[chosen]);
    accept();
}

void frmSpecialItem::btnCancel_Click()
{
    reject();
}

void frmSpecialItem::reject()
{
    // The points were spent when the option was bought: leaving without an
    // item gives them back however the window is left. A window already gone
    // (after Cancel or OK) takes no close box, so they come back once.
    Personnage &p = ModGeneral::Players(TagNumber(this));
    try {
        p.PointsBO = vb::Add16(p.PointsBO, 1);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmSpecialItem.btnCancel.Click"));
    }
    QDialog::reject();
}
