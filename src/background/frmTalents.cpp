#include "background/frmTalents.h"

#include "background/frmBackground.h"
#include "character/BackgroundRules.h"
#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "platform/Strings.h"
#include "platform/ports.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>


frmTalents::frmTalents(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTalents"));
    setModal(true);
    setFont(QFont(QStringLiteral("Arial")));
    setFixedSize(TwipsSize(8400, 5400));

    labTalent = new QLabel(this);
    labTalent->setObjectName(QStringLiteral("labTalent"));
    labTalent->setGeometry(TwipsRect(240, 240, 6000, 300));
    QFont bold = labTalent->font();
    bold.setBold(true);
    labTalent->setFont(bold);
    txtTalentNote = new QPlainTextEdit(this);
    txtTalentNote->setObjectName(QStringLiteral("txtTalentNote"));
    txtTalentNote->setGeometry(TwipsRect(240, 600, 6300, 900));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setGeometry(TwipsRect(6840, 240, 1215, 375));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    setTag(btnCancel, QStringLiteral("1044"));
    btnCancel->setGeometry(TwipsRect(6840, 720, 1215, 375));

    grdTalent = new QTableWidget(this);
    grdTalent->setObjectName(QStringLiteral("grdTalent"));
    grdTalent->setGeometry(TwipsRect(240, 1680, 7815, 3480));
    grdTalent->setColumnCount(3);
    grdTalent->horizontalHeader()->hide();
    grdTalent->verticalHeader()->hide();
    grdTalent->horizontalHeader()->setStretchLastSection(true);
    grdTalent->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTalent->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdTalent->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(btnOk, &QPushButton::clicked, this, &frmTalents::btnOk_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmTalents::btnCancel_Click);
    // The name, the note and the id follow the current row however it moves.
    connect(grdTalent, &QTableWidget::currentCellChanged, this, [this] { grdTalent_Click(); });
    try {
        LoadFormStrings(this);
    } catch (...) {
    }
}

void frmTalents::LoadData()
{
    try {
        const QSignalBlocker block(grdTalent);
        grdTalent->setRowCount(0);
        TalentIds.clear();
        grdTalent->setColumnWidth(0, TwipsToPixels(600));
        grdTalent->setColumnWidth(1, TwipsToPixels(2200));
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT * From Talents WHERE ((Type_ID=") + tag(grdTalent)
                                            + QStringLiteral("));"));
        for (; !rs.Eof(); rs.MoveNext()) {
            const int r = grdTalent->rowCount();
            grdTalent->insertRow(r);
            auto *roll = new QTableWidgetItem(rulesread::Text(rs, QStringLiteral("Roll")));
            roll->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            roll->setFlags(Qt::ItemIsEnabled);
            grdTalent->setItem(r, 0, roll);
            auto *name = new QTableWidgetItem(rulesread::Text(rs, QStringLiteral("TalentEn")));
            name->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grdTalent->setItem(r, 1, name);
            grdTalent->setItem(r, 2, new QTableWidgetItem(rulesread::Text(rs, QStringLiteral("NoteEn"))));
            TalentIds.push_back(rulesread::Id(rs, QStringLiteral("Talents_ID")));
        }
        rs.Close();
        if (grdTalent->rowCount() > 0)
            grdTalent->setCurrentCell(0, 1);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTalents.LoadData"));
    }
    // A degree without talents leaves nothing to take: only Cancel remains.
    btnOk->setEnabled(grdTalent->rowCount() > 0);
    grdTalent_Click();
}

void frmTalents::grdTalent_Click()
{
    const int r = grdTalent->currentRow();
    if (r < 0 || r >= grdTalent->rowCount()) {
        labTalent->clear();
        txtTalentNote->clear();
        return;
    }
    labTalent->setText(grdTalent->item(r, 1) ? grdTalent->item(r, 1)->text() : QString());
    txtTalentNote->setPlainText(grdTalent->item(r, 2) ? grdTalent->item(r, 2)->text() : QString());
    if (grdTalent->currentColumn() != 1) {
        const QSignalBlocker block(grdTalent);
        grdTalent->setCurrentCell(r, 1);
    }
}

void frmTalents::btnOk_Click()
{
    const int r = grdTalent->currentRow();
    if (r < 0 || r >= static_cast<int>(TalentIds.size()))
        return;
    const int n = TagNumber(this);
    if (frmBackground *bg = background::BackgroundForm(n))
        setTag(bg->labAptitudes, QString::number(TalentIds[static_cast<size_t>(r)]));
    Personnage &p = ModGeneral::Players(n);
    const QString line = Strings::Load(3542) + QStringLiteral(": ") + labTalent->text() + QStringLiteral(", ")
                         + txtTalentNote->toPlainText();
    p.Historique = background::AppendHistoryLine(p.HistoryText(), line);
    accept();
}

void frmTalents::btnCancel_Click()
{
    if (frmBackground *bg = background::BackgroundForm(TagNumber(this))) {
        setTag(bg->labAptitudes, QString());
        bg->labAptitudes->setText(QStringLiteral("0"));
        setTag(bg->btnTalents, QString());
    }
    reject();
}
