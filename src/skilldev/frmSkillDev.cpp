#include "skilldev/frmSkillDev.h"

#include "character/Personnage.h"
#include "character/Players.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "frame/ui/Twips.h"
#include "newcharacter/NewCharacterSteps.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QCollator>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QEvent>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

using ModGeneral::Players;
using ModGeneral::ProgramTitle;

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

QColor SuffixColour(const QString &key, const QColor &plain)
{
    if (key.endsWith(QLatin1String(" vert")))
        return QColor(40, 150, 50);
    if (key.endsWith(QLatin1String(" bleu")))
        return QColor(40, 90, 200);
    if (key.endsWith(QLatin1String(" rouge")))
        return QColor(200, 40, 40);
    if (key.endsWith(QLatin1String(" gris")))
        return QColor(130, 130, 130);
    return plain;
}

// The tree's seventeen pictures, drawn once.
QIcon DrawIcon(const QString &key)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    if (key.startsWith(QLatin1String("Fichier"))) {
        p.setBrush(QColor(220, 180, 80));
        p.drawRect(1, 4, 13, 10);
        p.drawRect(1, 2, 6, 2);
        if (key.endsWith(QLatin1String("ouvert"))) {
            p.setBrush(QColor(245, 215, 120));
            p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
        }
    } else if (key.startsWith(QLatin1String("Rune"))) {
        p.setBrush(SuffixColour(key, QColor(140, 90, 170)));
        p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(14, 8), QPoint(8, 15), QPoint(2, 8)}));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawLine(8, 4, 8, 12);
        p.drawLine(8, 7, 11, 5);
    } else if (key.startsWith(QLatin1String("Document"))) {
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 14);
        p.setPen(QPen(SuffixColour(key, QColor(60, 60, 60)), 2));
        for (int y : {5, 8, 11})
            p.drawLine(5, y, 11, y);
    } else {
        p.setBrush(SuffixColour(key, QColor(150, 170, 60)));
        p.drawEllipse(QRectF(2, 3, 12, 9));
        p.drawLine(3, 14, 7, 9);
    }
    return QIcon(pm);
}

const QIcon &TreeIcon(const QString &key)
{
    static QHash<QString, QIcon> icons;
    auto it = icons.find(key);
    if (it == icons.end())
        it = icons.insert(key, DrawIcon(key));
    return *it;
}

// A node of the skill tree: its children sort in reading order of their
// names (case and accents folded), not by code point.
class SkillNode : public QTreeWidgetItem {
public:
    bool operator<(const QTreeWidgetItem &other) const override
    {
        static const QCollator collator = [] {
            QCollator c(QLocale(QLocale::French));
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        return collator.compare(text(0), other.text(0)) < 0;
    }
};

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text = QString())
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

namespace skilldev {

const QStringList &ImageKeys()
{
    static const QStringList keys = {
        QStringLiteral("Fichier fermer"), QStringLiteral("Fichier ouvert"), QStringLiteral("Rune"),
        QStringLiteral("Rune bleu"),      QStringLiteral("Rune gris"),      QStringLiteral("Rune rouge"),
        QStringLiteral("Rune vert"),      QStringLiteral("Feuille"),        QStringLiteral("Feuille bleu"),
        QStringLiteral("Feuille gris"),   QStringLiteral("Feuille rouge"),  QStringLiteral("Feuille vert"),
        QStringLiteral("Document"),       QStringLiteral("Document bleu"),  QStringLiteral("Document gris"),
        QStringLiteral("Document rouge"), QStringLiteral("Document vert"),
    };
    return keys;
}

} // namespace skilldev

// ------------------------------------------------------------------ construction

frmSkillDev::frmSkillDev(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmSkillDev"), parent)
{
    setProperty("Tag", QStringLiteral("3510"));
    setWindowTitle(QStringLiteral("Compétences"));
    BuildLayout();
    Form_Load();
}

frmSkillDev::~frmSkillDev() = default;

void frmSkillDev::BuildLayout()
{
    // Headings with their design texts and string numbers.
    struct Heading {
        int index;
        const char *text;
        const char *number;
    };
    static const Heading headings[] = {
        {1, "Progression", "3517"}, {2, "Nombre de rangs", "3516"}, {3, "Nombre de rangs", "3516"},
        {4, "Progression", "3517"}, {5, "Rank", "3075"},            {6, "Car.", "3077"},
        {7, "Prof.", "3078"},       {8, "Special", "3504"},         {9, "Total", "3503"},
        {10, "Coûts", "3518"},      {11, "Caractéristiques", "3527"}, {12, "Nouveaux rangs", "3515"},
        {13, "Points de développement", "3079"}, {15, "Total", "3503"}, {16, "Special", "3504"},
        {17, "Item", "3520"},       {18, "Cat.", "3521"},           {19, "Rank", "3075"},
    };
    for (const Heading &h : headings) {
        QLabel *l = MakeLabel(this, QStringLiteral("labDevlopment_%1").arg(h.index), QString::fromUtf8(h.text));
        ::setTag(l, QLatin1String(h.number));
        labDevlopment[static_cast<size_t>(h.index)] = l;
    }

    // The tree and its legend.
    trvSkillCategorie = new QTreeWidget(this);
    trvSkillCategorie->setObjectName(QStringLiteral("trvSkillCategorie"));
    trvSkillCategorie->setHeaderHidden(true);
    trvSkillCategorie->setColumnCount(1);
    trvSkillCategorie->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trvSkillCategorie->setIconSize(QSize(16, 16));
    trvSkillCategorie->setMinimumWidth(TwipsToPixels(4200));
    trvSkillCategorie->installEventFilter(this);
    auto makeLegend = [this](const QString &name) {
        auto *t = new QTreeWidget(this);
        t->setObjectName(name);
        t->setHeaderHidden(true);
        t->setRootIsDecorated(false);
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->setSelectionMode(QAbstractItemView::NoSelection);
        t->setFocusPolicy(Qt::NoFocus);
        t->setFixedHeight(TwipsToPixels(1000));
        return t;
    };
    trvIndex = makeLegend(QStringLiteral("trvIndex"));
    trvIndex2 = makeLegend(QStringLiteral("trvIndex2"));

    // Category panel.
    fraSkillCat = new QGroupBox(QStringLiteral("Groupe de compétence"), this);
    fraSkillCat->setObjectName(QStringLiteral("fraSkillCat"));
    ::setTag(fraSkillCat, QStringLiteral("3511"));
    labSkillCat = MakeLabel(fraSkillCat, QStringLiteral("labSkillCat"));
    QFont bold = labSkillCat->font();
    bold.setBold(true);
    labSkillCat->setFont(bold);
    labStatSkillCat = MakeLabel(fraSkillCat, QStringLiteral("labStatSkillCat"));
    labRankSkillCat = MakeLabel(fraSkillCat, QStringLiteral("labRankSkillCat"));
    labProgressionSkillCat = MakeLabel(fraSkillCat, QStringLiteral("labProgressionSkillCat"));
    DevCostSkillCat = MakeLabel(fraSkillCat, QStringLiteral("DevCostSkillCat"));
    labNewRanksSkillCat = MakeLabel(fraSkillCat, QStringLiteral("labNewRanksSkillCat"), QStringLiteral("Nouveaux rangs"));
    ::setTag(labNewRanksSkillCat, QStringLiteral("3515"));

    // Skill panel.
    fraSkill = new QGroupBox(QStringLiteral("Compétence"), this);
    fraSkill->setObjectName(QStringLiteral("fraSkill"));
    ::setTag(fraSkill, QStringLiteral("3509"));
    labSkill = MakeLabel(fraSkill, QStringLiteral("labSkill"));
    labSkill->setFont(bold);
    labRankSkill = MakeLabel(fraSkill, QStringLiteral("labRankSkill"));
    labProgressionSkill = MakeLabel(fraSkill, QStringLiteral("labProgressionSkill"));
    labFacteur = MakeLabel(fraSkill, QStringLiteral("labFacteur"), QStringLiteral("Facteur"));
    labFacteur->hide();   // holds the shown node's image key for the purchase
    btnSubSkill = new QPushButton(QStringLiteral("Ajouter"), fraSkill);
    btnSubSkill->setObjectName(QStringLiteral("btnSubSkill"));
    ::setTag(btnSubSkill, QStringLiteral("3519"));
    // Two buttons of the layout that do nothing: kept out of sight.
    Command4 = new QPushButton(QStringLiteral("Ajouter"), fraSkill);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->hide();
    btnDelSkill = new QPushButton(QStringLiteral("Supprimer"), fraSkill);
    btnDelSkill->setObjectName(QStringLiteral("btnDelSkill"));
    btnDelSkill->hide();

    for (int k = 0; k < 3; ++k) {
        chkSkillCategory[k] = new QCheckBox(fraSkillCat);
        chkSkillCategory[k]->setObjectName(QStringLiteral("chkSkillCategory_%1").arg(k));
        chkSkill[k] = new QCheckBox(fraSkill);
        chkSkill[k]->setObjectName(QStringLiteral("chkSkill_%1").arg(k));
        connect(chkSkillCategory[k], &QCheckBox::clicked, this, [this, k] { chkSkillCategory_MouseUp(k); });
        connect(chkSkill[k], &QCheckBox::clicked, this, [this, k] { chkSkill_MouseUp(k); });
    }
    for (int k = 0; k < 5; ++k) {
        labBonusSkillCat[k] = new QLineEdit(QStringLiteral("0"), fraSkillCat);
        labBonusSkillCat[k]->setObjectName(QStringLiteral("labBonusSkillCat_%1").arg(k));
        labBonusSkill[k] = new QLineEdit(QStringLiteral("0"), fraSkill);
        labBonusSkill[k]->setObjectName(QStringLiteral("labBonusSkill_%1").arg(k));
        for (QLineEdit *e : {labBonusSkillCat[k], labBonusSkill[k]}) {
            e->setAlignment(Qt::AlignCenter);
            connect(e, &QLineEdit::textEdited, this, [this, e] { m_entered.insert(e); });
        }
        const bool catEditable = k == 3;
        const bool skillEditable = k == 2 || k == 3;
        // A display-only box takes the focus on a click, so that a click on it
        // ends the entry in a bonus box as any click away does: the keys typed
        // next must not land in the bonus box still holding the keyboard. The
        // keyboard never reaches it by Tab.
        if (!catEditable) {
            labBonusSkillCat[k]->setReadOnly(true);
            labBonusSkillCat[k]->setFocusPolicy(Qt::ClickFocus);
        } else {
            labBonusSkillCat[k]->installEventFilter(this);
            connect(labBonusSkillCat[k], &QLineEdit::returnPressed, this, [this, k] { labBonusSkillCat_KeyPress(k, 13); });
        }
        if (!skillEditable) {
            labBonusSkill[k]->setReadOnly(true);
            labBonusSkill[k]->setFocusPolicy(Qt::ClickFocus);
        } else {
            labBonusSkill[k]->installEventFilter(this);
            connect(labBonusSkill[k], &QLineEdit::returnPressed, this, [this, k] { labBonusSkill_KeyPress(k, 13); });
        }
    }
    labBonusSkillCat[4]->setFont(bold);
    labBonusSkill[4]->setFont(bold);
    // Each box as wide as the layout has it, or wider where the font needs it
    // for the widest 16-bit figure, "-32768", sign and all (the bold totals most).
    for (const auto &boxes : {labBonusSkillCat, labBonusSkill})
        for (QLineEdit *e : boxes) {
            QStyleOptionFrame opt;
            opt.initFrom(e);
            opt.rect = QRect(0, 0, 100, 20);
            opt.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e);
            // Beyond its contents a line edit keeps 2 pixels each side and one for the cursor.
            const int frame = 100 - e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).width() + 5;
            e->setFixedWidth(std::max(TwipsToPixels(700), e->fontMetrics().horizontalAdvance(QStringLiteral("-32768")) + frame));
        }

    // Stage controls.
    fraDevelopment = new QGroupBox(this);
    fraDevelopment->setObjectName(QStringLiteral("fraDevelopment"));
    btnEnd = new QPushButton(QStringLiteral("Fin"), fraDevelopment);
    btnEnd->setObjectName(QStringLiteral("btnEnd"));
    ::setTag(btnEnd, QStringLiteral("3522"));
    btnEnd->setEnabled(false);
    btnTraning = new QPushButton(QStringLiteral("Entraînement"), fraDevelopment);
    btnTraning->setObjectName(QStringLiteral("btnTraning"));
    ::setTag(btnTraning, QStringLiteral("3528"));
    labPD = MakeLabel(fraDevelopment, QStringLiteral("labPD"), QStringLiteral("0"));
    QFont big = labPD->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    labPD->setFont(big);
    labTraining = MakeLabel(fraDevelopment, QStringLiteral("labTraining"));
    labTrainingCost = MakeLabel(fraDevelopment, QStringLiteral("labTrainingCost"));
    connect(btnEnd, &QPushButton::clicked, this, &frmSkillDev::btnEnd_Click);
    connect(btnTraning, &QPushButton::clicked, this, &frmSkillDev::btnTraning_Click);
    connect(btnSubSkill, &QPushButton::clicked, this, &frmSkillDev::btnSubSkill_Click);

    grdSkill = new QTableWidget(0, 3, this);
    grdSkill->setObjectName(QStringLiteral("grdSkill"));
    grdSkill->verticalHeader()->hide();
    grdSkill->verticalHeader()->setDefaultSectionSize(grdSkill->fontMetrics().height() + 6);
    grdSkill->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSkill->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSkill->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(grdSkill, &QTableWidget::cellClicked, this, [this](int, int) { grdSkill_Click(); });

    // ---- placement
    auto *catGrid = new QGridLayout(fraSkillCat);
    catGrid->addWidget(labSkillCat, 0, 0, 1, 6);
    catGrid->addWidget(labDevlopment[11], 1, 0);
    catGrid->addWidget(labStatSkillCat, 1, 1, 1, 2);
    catGrid->addWidget(labDevlopment[3], 1, 3);
    catGrid->addWidget(labRankSkillCat, 1, 4, 1, 2);
    catGrid->addWidget(labDevlopment[4], 2, 0);
    catGrid->addWidget(labProgressionSkillCat, 2, 1, 1, 2);
    catGrid->addWidget(labDevlopment[10], 2, 3);
    catGrid->addWidget(DevCostSkillCat, 2, 4, 1, 2);
    catGrid->addWidget(labNewRanksSkillCat, 3, 0);
    auto *catBoxes = new QHBoxLayout;
    for (QCheckBox *c : chkSkillCategory)
        catBoxes->addWidget(c);
    catBoxes->addStretch();
    catGrid->addLayout(catBoxes, 3, 1, 1, 5);
    for (int k = 0; k < 5; ++k) {
        catGrid->addWidget(labBonusSkillCat[k], 4, k, Qt::AlignHCenter);
        labDevlopment[static_cast<size_t>(5 + k)]->setAlignment(Qt::AlignHCenter);
        catGrid->addWidget(labDevlopment[static_cast<size_t>(5 + k)], 5, k, Qt::AlignHCenter);
    }

    auto *skillGrid = new QGridLayout(fraSkill);
    skillGrid->addWidget(labSkill, 0, 0, 1, 5);
    skillGrid->addWidget(labDevlopment[2], 1, 0);
    skillGrid->addWidget(labRankSkill, 1, 1);
    skillGrid->addWidget(labDevlopment[1], 1, 2);
    skillGrid->addWidget(labProgressionSkill, 1, 3, 1, 2);
    skillGrid->addWidget(labDevlopment[12], 2, 0);
    auto *skillBoxes = new QHBoxLayout;
    for (QCheckBox *c : chkSkill)
        skillBoxes->addWidget(c);
    skillBoxes->addStretch();
    skillBoxes->addWidget(btnSubSkill);
    skillGrid->addLayout(skillBoxes, 2, 1, 1, 4);
    // Rank, category, item, special, total; headings 19 down to 15.
    for (int k = 0; k < 5; ++k) {
        skillGrid->addWidget(labBonusSkill[k], 3, k, Qt::AlignHCenter);
        QLabel *h = labDevlopment[static_cast<size_t>(19 - k)];
        h->setAlignment(Qt::AlignHCenter);
        skillGrid->addWidget(h, 4, k, Qt::AlignHCenter);
    }

    auto *devGrid = new QGridLayout(fraDevelopment);
    devGrid->addWidget(labDevlopment[13], 0, 0);
    devGrid->addWidget(labPD, 0, 1);
    devGrid->addWidget(labTraining, 1, 0);
    devGrid->addWidget(labTrainingCost, 1, 1);
    devGrid->addWidget(btnTraning, 2, 0);
    devGrid->addWidget(btnEnd, 2, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(trvSkillCategorie, 1);
    auto *legends = new QHBoxLayout;
    legends->addWidget(trvIndex);
    legends->addWidget(trvIndex2);
    left->addLayout(legends);

    auto *right = new QVBoxLayout;
    right->addWidget(fraSkillCat);
    right->addWidget(fraSkill);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(grdSkill, 1);
    bottom->addWidget(fraDevelopment, 0, Qt::AlignTop);
    right->addLayout(bottom, 1);

    auto *main = new QHBoxLayout(Page());
    main->addLayout(left, 2);
    main->addLayout(right, 3);

    // The panels hide what a node does not use; their places stay, so the
    // grid and the End button do not jump from one node to the next.
    for (QGroupBox *panel : {fraSkillCat, fraSkill})
        for (QWidget *w : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            w->setSizePolicy(policy);
        }

    connect(trvSkillCategorie, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *) {
                if (current)
                    trvSkillCategorie_NodeClick(current);
            });
    connect(trvSkillCategorie, &QTreeWidget::itemExpanded, this, &frmSkillDev::trvSkillCategorie_Expand);
    connect(trvSkillCategorie, &QTreeWidget::itemCollapsed, this, &frmSkillDev::trvSkillCategorie_Collapse);
}

void frmSkillDev::Form_Load()
{
    try {
        // The grid's headings, localised with the rest of the window.
        const int widths[] = {3545, 700, 700};
        const char *numbers[] = {"3554", "3080", "5062"};
        const char *texts[] = {"Compétences connues", "Rangs", "Ajout"};
        for (int c = 0; c < 3; ++c) {
            auto *h = new QTableWidgetItem(QString::fromUtf8(texts[c]));
            h->setData(kHeaderStringRole, QLatin1String(numbers[c]));
            if (c > 0)
                h->setTextAlignment(Qt::AlignCenter);
            grdSkill->setHorizontalHeaderItem(c, h);
            grdSkill->setColumnWidth(c, TwipsToPixels(widths[c]));
        }
        // The stage's caption beside the points may be long ("Rangs
        // passe-temps"): the grid keeps room for its three columns whole.
        grdSkill->setMinimumWidth(TwipsToPixels(widths[0] + widths[1] + widths[2]) + 2 * grdSkill->frameWidth()
                                  + grdSkill->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
        // The names take whatever room the grid has beyond that: a sub-skill's
        // name carries its skill's in brackets.
        grdSkill->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
        FinishLoad();
    } catch (...) {
        ReportCurrentException(Caption() + QStringLiteral(".load"));
    }
}

// ------------------------------------------------------------------ markers

QString frmSkillDev::StageMarker() const
{
    return tag(labDevlopment[13]);
}

void frmSkillDev::setStageMarker(const QString &marker)
{
    ::setTag(labDevlopment[13], marker);
}

QString frmSkillDev::RanksMarker() const
{
    return tag(labPD);
}

void frmSkillDev::setRanksMarker(const QString &marker)
{
    ::setTag(labPD, marker);
}

Personnage &frmSkillDev::Record() const
{
    return Players(Number());
}

QString frmSkillDev::Location(const char *what) const
{
    return Caption() + QLatin1String(what);
}

// ------------------------------------------------------------------ fill

void frmSkillDev::ClearWindow()
{
    // A window filled a second time starts from nothing rather than adding
    // every node and legend leaf again.
    {
        const QSignalBlocker block(trvSkillCategorie);
        trvSkillCategorie->clear();
    }
    m_nodes.clear();
    m_positions.clear();
    m_keys.clear();
    CurrentNode = nullptr;
    ParentNodeIndex = 0;
    trvIndex->clear();
    trvIndex2->clear();
    SkillTable.assign(1, {});
    SkillRowCount = 0;
}

void frmSkillDev::LoadData()
{
    const OneErrorBox once;   // one action, one box
    try {
        Personnage &p = Record();
        setWindowTitle(p.Nom + QStringLiteral(" (") + Strings::Load(3510) + QLatin1Char(')'));
        if (p.Experience == 0)
            labPD->setText(QString::number(p.DevelopmentPoint()));
        m_mode = ModGeneral::SkillDevMode;
        ClearWindow();

        auto leaf = [](QTreeWidget *tree, int text, const QString &image) {
            auto *item = new QTreeWidgetItem(tree);
            item->setText(0, Strings::Load(text));
            item->setIcon(0, TreeIcon(image));
            item->setData(0, kImageRole, image);
        };
        leaf(trvIndex, 3529, QStringLiteral("Feuille vert"));
        leaf(trvIndex, 3531, QStringLiteral("Feuille bleu"));
        leaf(trvIndex, 3532, QStringLiteral("Feuille rouge"));
        leaf(trvIndex2, 3526, QStringLiteral("Feuille gris"));
        leaf(trvIndex2, 3535, QStringLiteral("Rune"));
        // The legend is read whole: its trees keep the width of their longest leaf.
        for (QTreeWidget *legend : {trvIndex, trvIndex2}) {
            int widest = 0;
            for (int i = 0; i < legend->topLevelItemCount(); ++i)
                widest = std::max(widest, legend->fontMetrics().horizontalAdvance(legend->topLevelItem(i)->text(0)));
            // The leaf's picture and the margins the style keeps around it and its text.
            const int picture = legend->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, legend);
            const int margins = 4 * (legend->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, legend) + 1);
            legend->setMinimumWidth(widest + picture + margins + 2 * legend->frameWidth() + 8);
        }

        const QString culture = QString::number(p.Culture_ID);
        const QString profession = QString::number(p.Profession_ID);
        RsLanguage = rules::Open(QStringLiteral("Language"));
        RsSpecialSkillsCulture = rules::Open(QStringLiteral("SELECT * FROM [Special Skills Culture] WHERE Culture_ID= ") + culture);
        RsCultureWeapons = rules::Open(QStringLiteral("SELECT * FROM [Culture weapons] WHERE Culture_ID= ") + culture);
        RsCultureLanguages = rules::Open(QStringLiteral("SELECT * FROM [Culture Languages] WHERE Culture_ID= ") + culture);
        RsRaceAbilities = rules::Open(QStringLiteral("Race Abilities"));
        RsSpecialSkillsProfession = rules::Open(
            QStringLiteral("SELECT * FROM [Special Skills Profession & Bonus] WHERE Profession_ID= ") + profession);
        RsCategoryCost = rules::Open(QStringLiteral("SELECT * FROM [Skill Category DP Cost] WHERE Profession_ID= ") + profession);
        RsSkillBonus = rules::Open(QStringLiteral("Skill Bonus"));
        RsStat = rules::Open(QStringLiteral("Stat"));
        RsRealms = rules::Open(QStringLiteral("Realms of Power"));
    } catch (...) {
        ReportCurrentException(Location(".LoadData"));
        return;
    }
    LoadSkillData();
    // A window filled again while the stage's purchases are still listed
    // shows what is left of the points, never the whole count again.
    if (Record().Experience == 0)
        ShowStagePoints();
}

void frmSkillDev::Tableau()
{
    if (MainFrame *main = MakeCurrent())
        ToolbarFor(*main, Number());
}

void frmSkillDev::ToolbarFor(MainFrame &main, int number) const
{
    // Save, Print, General and Level wait until the language and hobby stages
    // and the background options are done.
    const QString stage = StageMarker();
    const bool languageOrHobby = stage == QLatin1String("Linguistique") || stage == QLatin1String("Historique")
        || stage == QLatin1String("Hobby Ranks");
    const bool optionsLeft = number >= 1 && number <= ModGeneral::PlayerCount && Players(number).PointsBO > 0;
    if (languageOrHobby || optionsLeft)
        main.SetButtons({}, {3, 5, 7, 8, 10});
    else
        main.SetButtons({3, 5, 7, 10}, {8});
}

void frmSkillDev::Form_Activate()
{
    Tableau();
}

void frmSkillDev::Unload()
{
    if (isUnloaded())
        return;
    m_closingToLeadOn = true;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    if (!isUnloaded())
        close();
}

void frmSkillDev::Form_Unload()
{
    StoreTyping();
    // A window that goes after the next stage's window has taken its slot
    // (the adolescence stage, once the background options close) leaves that
    // stage's mode alone, and the main window's current character with it:
    // that window, already up, made the character current, and no activation
    // would make it so again.
    const CharacterWindow *current = SkillDevForms.peek(Number());
    if (!current || current == this) {
        ModGeneral::SkillDevMode.clear();
        LeaveCurrent();
    }
    if (m_givenUp)
        newchar::GiveUp(Number());
}

bool frmSkillDev::BeingMade() const
{
    const QString stage = StageMarker();
    return !m_closingToLeadOn && Number() >= 1
        && (stage == QLatin1String("Linguistique") || stage == QLatin1String("Historique")
            || stage == QLatin1String("Hobby Ranks"));
}

bool frmSkillDev::QueryUnload()
{
    if (!BeingMade())
        return true;
    m_givenUp = newchar::AskGiveUp(Number());
    return m_givenUp;
}

bool frmSkillDev::focusNextPrevChild(bool next)
{
    // A Tab the player pressed starts from a widget still on screen; a widget
    // being hidden or disabled hands its focus on through here as well.
    const QWidget *from = QApplication::focusWidget();
    const bool byPlayer = from && from->isVisible() && from->isEnabled();
    const bool before = m_playerTab;
    m_playerTab = byPlayer;
    const bool moved = CharacterWindow::focusNextPrevChild(next);
    m_playerTab = before;
    return moved;
}

bool frmSkillDev::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn && watched == trvSkillCategorie) {
        trvSkillCategorie_GotFocus();
    } else if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // Leaving a bonus box stores it only when the player went into it or
        // changed its text (textEdited): the focus that windows opening,
        // activating or showing their panels move through a box is not the
        // player's, nor is a key that edits nothing, a menu's Alt or Ctrl.
        for (int k = 0; k < 5; ++k) {
            auto *box = qobject_cast<QLineEdit *>(watched);
            if (!box || (box != labBonusSkill[k] && box != labBonusSkillCat[k]))
                continue;
            if (type == QEvent::FocusIn) {
                const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
                if (reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason
                    || ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && m_playerTab))
                    m_entered.insert(box);
            } else {
                const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
                if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                    break;   // the focus comes back to the box
                if (!m_entered.remove(box))
                    break;
                if (box == labBonusSkill[k])
                    labBonusSkill_LostFocus(k);
                else
                    labBonusSkillCat_LostFocus(k);
            }
            break;
        }
    }
    return CharacterWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------ nodes

QTreeWidgetItem *frmSkillDev::Node(int index) const
{
    if (index < 1 || index > NodeCount())
        return nullptr;
    return m_nodes[static_cast<size_t>(index - 1)];
}

int frmSkillDev::IndexOf(const QTreeWidgetItem *node) const
{
    const auto it = m_positions.constFind(node);
    return it == m_positions.cend() ? 0 : *it + 1;
}

namespace {
// Node key prefixes by rank table kind (index 0 unused).
constexpr const char *kKeyPrefixes[] = {"", "SC", "SK", "SS", "SL", "SW", "SP"};
} // namespace

QString frmSkillDev::KeyPrefix(qint16 kind)
{
    return kind >= RankKind::SkillCategory && kind <= RankKind::SpellList ? QLatin1String(kKeyPrefixes[kind])
                                                                          : QString();
}

qint16 frmSkillDev::KindOfKey(const QString &key)
{
    const QString prefix = key.left(2);
    for (qint16 kind = RankKind::SkillCategory; kind <= RankKind::SpellList; ++kind)
        if (prefix == QLatin1String(kKeyPrefixes[kind]))
            return kind;
    return 0;
}

qint16 frmSkillDev::SkillKindOfKey(const QString &key)
{
    const qint16 kind = KindOfKey(key);
    return kind == RankKind::SkillCategory ? 0 : kind;
}

QString frmSkillDev::NodeKey(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kKeyRole).toString() : QString();
}

QString frmSkillDev::NodeTag(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kTagRole).toString() : QString();
}

void frmSkillDev::SetNodeTag(QTreeWidgetItem *node, const QString &nodeTag)
{
    if (node)
        node->setData(0, kTagRole, nodeTag);
}

QString frmSkillDev::NodeImage(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kImageRole).toString() : QString();
}

QString frmSkillDev::NodeText(const QTreeWidgetItem *node)
{
    return node ? node->text(0) : QString();
}

void frmSkillDev::SetNodeImage(QTreeWidgetItem *node, const QString &image)
{
    if (!node)
        return;
    node->setData(0, kImageRole, image);
    node->setIcon(0, TreeIcon(image));
}

QTreeWidgetItem *frmSkillDev::AddNode(int parentIndex)
{
    QTreeWidgetItem *item = nullptr;
    if (parentIndex == 0) {
        item = new SkillNode;
        trvSkillCategorie->addTopLevelItem(item);
    } else {
        QTreeWidgetItem *parent = Node(parentIndex);
        if (!parent)
            vb::Raise(35600);   // index out of bounds
        item = new SkillNode;
        parent->addChild(item);
    }
    m_positions.insert(item, static_cast<int>(m_nodes.size()));
    m_nodes.push_back(item);
    return item;
}

QTreeWidgetItem *frmSkillDev::AddLeaf(const QString &text, const QString &key, const QString &nodeTag)
{
    QTreeWidgetItem *node = AddNode(ParentNodeIndex);
    CurrentNode = node;
    node->setText(0, text);
    SetNodeKey(node, key);
    SetNodeTag(node, nodeTag);
    SetNodeImage(node, QStringLiteral("Feuille"));
    return node;
}

void frmSkillDev::ForgetNode(const QTreeWidgetItem *node)
{
    const int i = IndexOf(node) - 1;
    if (i < 0)
        return;
    // The nodes after it move up one place, as the tree's indexes do; the
    // node removed is nearly always the last one added.
    m_positions.remove(node);
    m_nodes.erase(m_nodes.begin() + i);
    for (size_t j = static_cast<size_t>(i); j < m_nodes.size(); ++j)
        m_positions[m_nodes[j]] = static_cast<int>(j);
}

void frmSkillDev::SetNodeKey(QTreeWidgetItem *node, const QString &key)
{
    if (m_keys.contains(key))
        vb::Raise(35602);   // key is not unique in the collection
    m_keys.remove(NodeKey(node));
    node->setData(0, kKeyRole, key);
    m_keys.insert(key, node);
}

void frmSkillDev::RemoveNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    while (node->childCount() > 0)
        RemoveNode(node->child(node->childCount() - 1));
    ForgetNode(node);
    m_keys.remove(NodeKey(node));
    if (CurrentNode == node)
        CurrentNode = nullptr;
    delete node;
}

// ------------------------------------------------------------------ navigation

void frmSkillDev::trvSkillCategorie_NodeClick(QTreeWidgetItem *node)
{
    const OneErrorBox once;   // one action, one box
    try {
        if (!node)
            return;
        ::setTag(grdSkill, QString::number(IndexOf(node)));
        if (NodeTag(node) == QLatin1String("Skill Category"))
            AfficheSkillCategory(node);
        else
            AfficheSkill(node);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmSkillDev.trvSkillCategorie"));
    }
}

void frmSkillDev::grdSkill_Click()
{
    const int r = grdSkill->currentRow() + 1;   // table rows start at 1 under the heading
    if (r < 1 || r > SkillRowCount || r >= static_cast<int>(SkillTable.size()))
        return;
    const QString cell = SkillTable[static_cast<size_t>(r)][0];
    if (cell.trimmed().isEmpty())
        return;
    QTreeWidgetItem *node = Node(static_cast<int>(vb::Val(cell)));
    if (!node)
        return;
    trvSkillCategorie_NodeClick(node);
    if (QTreeWidgetItem *parent = node->parent())
        parent->setExpanded(true);
    {
        const QSignalBlocker block(trvSkillCategorie);
        trvSkillCategorie->setCurrentItem(node);
        node->setSelected(true);
    }
    trvSkillCategorie->scrollToItem(node);
    trvSkillCategorie->setFocus();
}

void frmSkillDev::trvSkillCategorie_Expand(QTreeWidgetItem *node)
{
    if (!node || (NodeTag(node) != QLatin1String("Skill Category") && IndexOf(node) != 1))
        return;
    SetNodeImage(node, QStringLiteral("Fichier ouvert"));
    // Sorted where they stand, so that the node indexes, the open skills and
    // the selection below stay as they were.
    node->sortChildren(0, Qt::AscendingOrder);
}

void frmSkillDev::trvSkillCategorie_Collapse(QTreeWidgetItem *node)
{
    if (!node || (NodeTag(node) != QLatin1String("Skill Category") && IndexOf(node) != 1))
        return;
    SetNodeImage(node, QStringLiteral("Fichier fermer"));
}

void frmSkillDev::trvSkillCategorie_GotFocus()
{
    MakeCurrent();
}

// ------------------------------------------------------------------ bonus boxes

void frmSkillDev::labBonusSkill_LostFocus(int index)
{
    labBonusSkill_KeyPress(index, 13);
}

void frmSkillDev::labBonusSkillCat_LostFocus(int index)
{
    labBonusSkillCat_KeyPress(index, 13);
}

void frmSkillDev::StoreTyping()
{
    for (int k = 2; k < 5; ++k) {
        for (QLineEdit *box : {labBonusSkill[k], labBonusSkillCat[k]}) {
            if (!m_entered.remove(box))
                continue;
            if (box == labBonusSkill[k])
                labBonusSkill_LostFocus(k);
            else
                labBonusSkillCat_LostFocus(k);
        }
    }
}

namespace {

// The typed bonus as a whole number within `room`, the values that keep
// every total built on it within 16 bits; false, after one message naming the
// box and its room, when the text is no number or a number past the room.
bool TypedBonus(QLineEdit *box, const QString &name, character::limits::Range<qint32> room, qint16 *value)
{
    double v = std::numeric_limits<double>::quiet_NaN();   // no number: inside no room
    try {
        v = vb::RoundHalfEven(vb::CDbl(QVariant(box->text())));
    } catch (const vb::Error &) {
    }
    if (!(v >= room.low && v <= room.high)) {
        ports::ui().MsgBox(Strings::Load(9250).arg(name).arg(room.low).arg(room.high),
                           ports::OkOnly | ports::Exclamation, ProgramTitle());
        return false;
    }
    *value = static_cast<qint16>(v);
    return true;
}

// The name of a bonus box in a message: its column and what it belongs to.
QString BoxName(int heading, const QLabel *owner)
{
    return Strings::Load(9261).arg(Strings::Load(heading), owner->text());
}

} // namespace

// After a refusal the box shows the bonus the record keeps (0 where it keeps
// none), and leaving it has nothing new to store: only typing again makes it
// the player's once more. Otherwise the same refusal would be said again when
// the focus goes, or when the window closes at the end of the stage.
void frmSkillDev::refused(QLineEdit *box, const QString &stored)
{
    box->setText(stored);
    m_entered.remove(box);
}

void frmSkillDev::labBonusSkill_KeyPress(int index, int keyAscii)
{
    const OneErrorBox once;   // one action, one box
    if ((index != 2 && index != 3) || keyAscii != 13 || m_storingBonus)
        return;
    m_storingBonus = true;
    QLineEdit *box = labBonusSkill[static_cast<size_t>(index)];
    try {
        Personnage &p = Record();
        const QString key = tag(labSkill);
        const qint16 kind = SkillKindOfKey(key);
        qint32 row = -1;
        qint32 skill = 0, sub = 0;
        if (kind != 0 && key.contains(QLatin1Char('/'))) {
            skill = DirSkill_ID(key);
            sub = DirSubSkill_ID(key);
            // Identifiers below 1 never match: a free row takes no bonus.
            if (skill >= 1)
                row = p.RankRow(kind, skill, sub);
        }
        if (row < 0) {
            ports::ui().MsgBox(Strings::Load(5064), ports::OkOnly, ProgramTitle());
            refused(box, QStringLiteral("0"));
        } else {
            qint16 value = 0;
            const auto room = p.RankBonusRoom(kind, row, static_cast<qint16>(index));
            if (TypedBonus(box, BoxName(index == 2 ? 3520 : 3504, labSkill), room, &value)) {
                p.AddSkill(static_cast<qint16>(index), static_cast<qint16>(row), kind, value);
                box->setText(p.RankCell(kind, index, row));   // a decimal shows as rounded
                const qint32 item = kind == RankKind::Skill ? 0 : sub;
                // A total the bonus no longer fits is said, as the panel says
                // it, and left empty: the bonus stays as stored.
                labBonusSkill[4]->clear();
                labBonusSkill[4]->setText(QString::number(p.SkillTotal(skill, item, kind)));
            } else {
                refused(box, p.RankCell(kind, index, row));
            }
        }
    } catch (...) {
        ReportCurrentException(Location(".labBonusSkill.KeyPress"));
        m_entered.remove(box);   // said once: leaving has nothing new to store
    }
    m_storingBonus = false;
}

void frmSkillDev::labBonusSkillCat_KeyPress(int index, int keyAscii)
{
    const OneErrorBox once;   // one action, one box
    if (index != 3 || keyAscii != 13 || m_storingBonus)
        return;
    const QString key = tag(labSkillCat);
    if (!key.startsWith(QLatin1String("SC")))
        return;   // no category shown yet
    m_storingBonus = true;
    QLineEdit *box = labBonusSkillCat[3];
    try {
        Personnage &p = Record();
        const qint32 category = static_cast<qint32>(vb::Val(key.mid(2)));
        const qint32 row = category >= 1 ? p.RankRow(RankKind::SkillCategory, category) : -1;
        if (row < 0) {
            ports::ui().MsgBox(Strings::Load(5064), ports::OkOnly, ProgramTitle());
            refused(box, QStringLiteral("0"));
        } else {
            qint16 value = 0;
            const auto room = p.RankBonusRoom(RankKind::SkillCategory, row, 3);
            if (TypedBonus(box, BoxName(3504, labSkillCat), room, &value)) {
                p.AddSkill(3, static_cast<qint16>(row), RankKind::SkillCategory, value);
                box->setText(QString::number(p.DirSkillsCat(3, row)));
                labBonusSkillCat[4]->clear();
                labBonusSkillCat[4]->setText(QString::number(p.SkillCatTotal(category)));
            } else {
                refused(box, QString::number(p.DirSkillsCat(3, row)));
            }
        }
    } catch (...) {
        ReportCurrentException(Location(".labBonusSkillCat.KeyPress"));
        m_entered.remove(box);   // said once: leaving has nothing new to store
    }
    m_storingBonus = false;
}
