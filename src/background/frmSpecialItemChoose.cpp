#include "background/frmSpecialItemChoose.h"

#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "platform/vb.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>


frmSpecialItemChoose::frmSpecialItemChoose(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSpecialItemChoose"));
    setModal(true);
    setFont(QFont(QStringLiteral("Arial")));
    setFixedSize(TwipsSize(9300, 5565));
    labChoise = new QLabel(this);
    labChoise->setObjectName(QStringLiteral("labChoise"));
    labChoise->setGeometry(TwipsRect(360, 480, 7200, 375));
    QFont bold = labChoise->font();
    bold.setBold(true);
    labChoise->setFont(bold);
    grdSpecialItemChoose = new QTableWidget(this);
    grdSpecialItemChoose->setObjectName(QStringLiteral("grdSpecialItemChoose"));
    grdSpecialItemChoose->setGeometry(TwipsRect(240, 1320, 8775, 3975));
    grdSpecialItemChoose->setColumnCount(5);
    grdSpecialItemChoose->horizontalHeader()->hide();
    grdSpecialItemChoose->verticalHeader()->hide();
    grdSpecialItemChoose->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSpecialItemChoose->setSelectionMode(QAbstractItemView::SingleSelection);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setGeometry(TwipsRect(7800, 240, 1215, 375));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    setTag(btnCancel, QStringLiteral("1044"));
    btnCancel->setGeometry(TwipsRect(7800, 720, 1215, 375));
    setTabOrder(grdSpecialItemChoose, btnOk);
    setTabOrder(btnOk, btnCancel);

    connect(btnOk, &QPushButton::clicked, this, &frmSpecialItemChoose::btnOk_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmSpecialItemChoose::btnCancel_Click);
    connect(grdSpecialItemChoose, &QTableWidget::currentCellChanged, this,
            [this] { grdSpecialItemChoose_Click(); });

    try {
        LoadFormStrings(this);
    } catch (...) {
    }
    {
        const QSignalBlocker block(grdSpecialItemChoose);
        // The four item columns share the grid's width, so that no item
        // hides behind a side scroll.
        grdSpecialItemChoose->setColumnWidth(0, TwipsToPixels(600));
        grdSpecialItemChoose->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
        for (int c = 1; c <= 4; ++c)
            grdSpecialItemChoose->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
        grdSpecialItemChoose->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        try {
            dao::Recordset rs = rules::Open(QStringLiteral("Special Items"));
            for (; !rs.Eof(); rs.MoveNext()) {
                const int r = grdSpecialItemChoose->rowCount();
                grdSpecialItemChoose->insertRow(r);
                auto *roll = new QTableWidgetItem(rulesread::Text(rs, QStringLiteral("Roll")));
                roll->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                roll->setFlags(Qt::ItemIsEnabled);   // the band's roll is not an item
                grdSpecialItemChoose->setItem(r, 0, roll);
                for (int c = 1; c <= 4; ++c) {
                    auto *item = new QTableWidgetItem(rulesread::Text(rs, QStringLiteral("Item%1En").arg(c)));
                    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                    item->setToolTip(item->text());
                    grdSpecialItemChoose->setItem(r, c, item);
                }
            }
            rs.Close();
        } catch (...) {
            ReportCurrentException(QStringLiteral("frmSpecialItemChoose.Load"));
        }
        if (grdSpecialItemChoose->rowCount() > 0)
            grdSpecialItemChoose->setCurrentCell(0, 1);
    }
    grdSpecialItemChoose_Click();
}

bool frmSpecialItemChoose::currentIsItem() const
{
    const QTableWidgetItem *cell = grdSpecialItemChoose->currentItem();
    if (!cell || grdSpecialItemChoose->currentColumn() < 1)
        return false;
    const QString t = cell->text().trimmed();
    return !t.isEmpty() && t != QLatin1String("None");
}

void frmSpecialItemChoose::grdSpecialItemChoose_Click()
{
    const QTableWidgetItem *cell = grdSpecialItemChoose->currentItem();
    labChoise->setText(cell && grdSpecialItemChoose->currentColumn() >= 1 ? cell->text() : QString());
    // An empty place is no item: two points must not buy nothing.
    btnOk->setEnabled(currentIsItem());
}

void frmSpecialItemChoose::btnOk_Click()
{
    if (!currentIsItem())
        return;
    Personnage &p = ModGeneral::Players(TagNumber(this));
    p.Historique = p.HistoryText() + QStringLiteral("\r\n")
                   + Personnage::HistoryLineBreaks(grdSpecialItemChoose->currentItem()->text());
    accept();
}

void frmSpecialItemChoose::btnCancel_Click()
{
    reject();
}

void frmSpecialItemChoose::reject()
{
    // The points were spent when the option was bought: leaving without an
    // item gives them back however the window is left. A window already gone
    // (after Cancel or OK) takes no close box, so they come back once.
    Personnage &p = ModGeneral::Players(TagNumber(this));
    try {
        p.PointsBO = vb::Add16(p.PointsBO, 2);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmSpecialItemChoose.btnCancel.Click"));
    }
    QDialog::reject();
}
