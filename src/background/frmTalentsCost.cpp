#include "background/frmTalentsCost.h"

#include "background/frmBackground.h"
#include "character/BackgroundRules.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>


namespace {
const QString kNone = QStringLiteral("---");

QTableWidgetItem *fixedItem(const QString &text, Qt::Alignment align)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(align);
    return item;
}
} // namespace

frmTalentsCost::frmTalentsCost(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTalentsCost"));
    setModal(true);
    setFont(QFont(QStringLiteral("Arial")));
    const int gridWidth = TwipsToPixels(1000 + 6 * 1200) + 4;
    setFixedSize(gridWidth + TwipsToPixels(480), TwipsToPixels(4200));

    labTalent = new QLabel(QStringLiteral("Aptitude"), this);
    labTalent->setObjectName(QStringLiteral("labTalent"));
    setTag(labTalent, QStringLiteral("3542"));
    labTalent->setGeometry(TwipsRect(240, 240, 5400, 300));
    labFlaw = new QLabel(QStringLiteral("Défaut"), this);
    labFlaw->setObjectName(QStringLiteral("labFlaw"));
    setTag(labFlaw, QStringLiteral("3543"));
    labFlaw->setGeometry(TwipsRect(240, 600, 5400, 300));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setGeometry(width() - TwipsToPixels(240 + 1215), TwipsToPixels(180), TwipsToPixels(1215), TwipsToPixels(375));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Annuler"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    setTag(btnCancel, QStringLiteral("1044"));
    btnCancel->setGeometry(width() - TwipsToPixels(240 + 1215), TwipsToPixels(600), TwipsToPixels(1215), TwipsToPixels(375));

    grdTalentsCost = new QTableWidget(this);
    grdTalentsCost->setObjectName(QStringLiteral("grdTalentsCost"));
    grdTalentsCost->setGeometry(TwipsToPixels(240), TwipsToPixels(1080), gridWidth, height() - TwipsToPixels(1080 + 240));
    grdTalentsCost->horizontalHeader()->hide();
    grdTalentsCost->verticalHeader()->hide();
    grdTalentsCost->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTalentsCost->setSelectionMode(QAbstractItemView::SingleSelection);
    grdTalentsCost->setSelectionBehavior(QAbstractItemView::SelectItems);

    connect(btnOk, &QPushButton::clicked, this, &frmTalentsCost::btnOk_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmTalentsCost::btnCancel_Click);
    // Keyboard moves count as much as clicks: the lines and OK always follow
    // the current cell.
    connect(grdTalentsCost, &QTableWidget::currentCellChanged, this, [this] { grdTalentsCost_Click(); });
    Form_Load();
}

void frmTalentsCost::Form_Load()
{
    try {
        LoadFormStrings(this);
    } catch (...) {
    }
    const QSignalBlocker block(grdTalentsCost);
    const bool fr = ModGeneral::DataLanguage != 1000;
    grdTalentsCost->setColumnCount(7);
    grdTalentsCost->setRowCount(kHeaderRows);
    grdTalentsCost->setColumnWidth(0, TwipsToPixels(1000));
    for (int c = 1; c <= 6; ++c)
        grdTalentsCost->setColumnWidth(c, TwipsToPixels(1200));
    const QString mode[2] = {fr ? QStringLiteral("Hasard") : QStringLiteral("Random"),
                             fr ? QStringLiteral("Choix") : QStringLiteral("Select")};
    const QString variant[6] = {
        fr ? QStringLiteral("avec défaut") : QStringLiteral("with Flaw"),
        fr ? QStringLiteral("sans défaut") : QStringLiteral("with no Flaw"),
        fr ? QStringLiteral("défaut + 1") : QStringLiteral("with Flaw + 1"),
        fr ? QStringLiteral("avec défaut") : QStringLiteral("with Flaw"),
        fr ? QStringLiteral("sans défaut") : QStringLiteral("with no Flaw"),
        fr ? QStringLiteral("avec défaut +1") : QStringLiteral("with Flaw +1")};
    grdTalentsCost->setItem(0, 0, fixedItem(QString(), Qt::AlignCenter));
    grdTalentsCost->setItem(1, 0, fixedItem(fr ? QStringLiteral("Degré") : QStringLiteral("Degree"),
                                            Qt::AlignLeft | Qt::AlignVCenter));
    for (int c = 1; c <= 6; ++c) {
        grdTalentsCost->setItem(0, c, fixedItem(mode[(c - 1) / 3], Qt::AlignCenter));
        grdTalentsCost->setItem(1, c, fixedItem(variant[c - 1], Qt::AlignCenter));
    }
    const char *columns[6] = {"Random_Flaw", "Random_nonFlaw", "Random_Flaw1", "Select_Flaw", "Select_nonFlaw",
                              "Select_Flaw1"};
    try {
        dao::Recordset rs = rules::Open(QStringLiteral("Talents Cost"));
        const QString nameCol = rules::LangCol(QStringLiteral("Degree"));
        for (int degree = 1; !rs.Eof() && degree <= kMaxDegrees; rs.MoveNext(), ++degree) {
            const int r = grdTalentsCost->rowCount();
            grdTalentsCost->insertRow(r);
            grdTalentsCost->setItem(r, 0, fixedItem(rulesread::Text(rs, nameCol), Qt::AlignLeft | Qt::AlignVCenter));
            for (int c = 1; c <= 6; ++c) {
                const dao::Field f = rs.Fields(QString::fromLatin1(columns[c - 1]));
                const double price = f.isNull() ? 0 : vb::Val(f.toString());
                auto *item = new QTableWidgetItem(price > 0 ? f.toString() : kNone);
                item->setTextAlignment(Qt::AlignCenter);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                grdTalentsCost->setItem(r, c, item);
            }
        }
        rs.Close();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmTalentsCost.Load"));
    }
    // Long degree names widen their column rather than being cut short.
    grdTalentsCost->resizeColumnToContents(0);
    if (grdTalentsCost->columnWidth(0) < TwipsToPixels(1000))
        grdTalentsCost->setColumnWidth(0, TwipsToPixels(1000));
    int gridWidth = 2 * grdTalentsCost->frameWidth();
    for (int c = 0; c < 7; ++c)
        gridWidth += grdTalentsCost->columnWidth(c);
    grdTalentsCost->resize(gridWidth, grdTalentsCost->height());
    setFixedWidth(std::max(width(), gridWidth + TwipsToPixels(480)));
    btnOk->move(width() - TwipsToPixels(240 + 1215), btnOk->y());
    btnCancel->move(width() - TwipsToPixels(240 + 1215), btnCancel->y());
    // The second degree's first way is where the table opens; a table too
    // small for it opens on its first priced cell.
    int row = -1, col = -1;
    if (grdTalentsCost->rowCount() > 3) {
        row = 3;
        col = 1;
    } else {
        for (int r = kHeaderRows; r < grdTalentsCost->rowCount() && row < 0; ++r)
            for (int c = 1; c <= 6 && row < 0; ++c)
                if (grdTalentsCost->item(r, c)->text() != kNone) {
                    row = r;
                    col = c;
                }
    }
    if (row >= 0)
        grdTalentsCost->setCurrentCell(row, col);
    grdTalentsCost_Click();
}

QString frmTalentsCost::degreeName(int row) const
{
    const QTableWidgetItem *item = grdTalentsCost->item(row, 0);
    return item ? item->text() : QString();
}

void frmTalentsCost::grdTalentsCost_Click()
{
    const int r = grdTalentsCost->currentRow();
    const int k = grdTalentsCost->currentColumn();
    const QTableWidgetItem *cell = (r >= kHeaderRows && k >= 1) ? grdTalentsCost->item(r, k) : nullptr;
    const QString t = cell ? cell->text() : kNone;
    if (t == kNone || t.isEmpty()) {
        labTalent->clear();
        labFlaw->clear();
        btnOk->setText(Strings::Load(1045));
        btnOk->setEnabled(false);
        return;
    }
    btnOk->setEnabled(true);
    const bool fr = ModGeneral::DataLanguage != 1000;
    const bool rolled = k <= 3;
    btnOk->setText(fr ? (rolled ? QStringLiteral("Hasard") : QStringLiteral("Choix"))
                      : (rolled ? QStringLiteral("Random") : QStringLiteral("Select")));
    const QString talent = Strings::Load(3542);
    const QString flaw = Strings::Load(3543);
    labTalent->setText(talent + QLatin1Char(' ') + degreeName(r));
    if (k == 1 || k == 4)
        labFlaw->setText(flaw + QLatin1Char(' ') + degreeName(r));
    else if (k == 2 || k == 5)
        labFlaw->setText((fr ? QStringLiteral("Sans ") : QStringLiteral("No ")) + flaw);
    else if (r == grdTalentsCost->rowCount() - 1)
        labFlaw->setText(flaw + (fr ? QStringLiteral(" Spécial") : QStringLiteral(" Special")));
    else
        labFlaw->setText(flaw + QLatin1Char(' ') + degreeName(r + 1));
}

void frmTalentsCost::btnOk_Click()
{
    const int r = grdTalentsCost->currentRow();
    const int k = grdTalentsCost->currentColumn();
    const QTableWidgetItem *cell = grdTalentsCost->item(r, k);
    if (!btnOk->isEnabled() || !cell)
        return;
    if (frmBackground *bg = background::BackgroundForm(TagNumber(this))) {
        bg->labAptitudes->setText(cell->text());
        setTag(bg->btnTalents, background::MakeTalentsCode(r - 1, k));
    }
    accept();
}

void frmTalentsCost::btnCancel_Click()
{
    if (frmBackground *bg = background::BackgroundForm(TagNumber(this))) {
        bg->labAptitudes->setText(QStringLiteral("0"));
        setTag(bg->btnTalents, QString());
    }
    reject();
}
