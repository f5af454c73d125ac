#include "newcharacter/frmInitChoise.h"

#include "background/frmArmeAdolescence.h"
#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/Units.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "newcharacter/NewCharacterSteps.h"
#include "newcharacter/frmStatChoises.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

using newchar::Text;

namespace {

const QString kCultures = QStringLiteral("3003");
const QString kProfessions = QStringLiteral("3005");

// The six tabs of the professions page: caption and query.
struct ProfessionTab {
    int caption;
    const char *query;
};
const ProfessionTab kProfessionTabs[6] = {
    {2011, "SELECT * FROM Profession WHERE SpellUsers_ID=4 and Realm_ID=5 ORDER BY "},
    {2010, "SELECT * FROM Profession WHERE SpellUsers_ID=4 and Realm_ID=7 ORDER BY "},
    {2009, "SELECT * FROM Profession WHERE SpellUsers_ID=4 and Realm_ID=2 ORDER BY "},
    {2016, "SELECT * FROM Profession WHERE SpellUsers_ID=3 ORDER BY "},
    {2017, "SELECT * FROM Profession WHERE SpellUsers_ID=2 ORDER BY "},
    {2018, "SELECT * FROM Profession WHERE SpellUsers_ID=1 OR SpellUsers_ID=0 ORDER BY "},
};

// Columns of the race grid after the name: rules column and header number.
struct RaceColumnDef {
    const char *column;
    int header;
    int width;
};
const RaceColumnDef kRaceColumns[20] = {
    {"AG", 3065, 400},   {"CO", 3066, 400},   {"Me", 3067, 400},   {"Re", 3068, 400},
    {"SD", 3069, 400},   {"EM", 3070, 400},   {"It", 3071, 400},   {"Pr", 3072, 400},
    {"Qu", 3073, 400},   {"ST", 3074, 400},   {"Ess", 2013, 600},  {"Chan", 2014, 600},
    {"Ment", 2015, 600}, {"Pois", 3059, 600}, {"Fear", 3060, 600}, {"Hobby_Ranks", 3063, 600},
    {"Body", 3055, 1100}, {"Channeling_PP", 2001, 1100}, {"Essence_PP", 2002, 1100},
    {"Mentalism_PP", 2003, 1100},
};

QPlainTextEdit *noteBox(QWidget *parent, const QString &name)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

QTableWidgetItem *item(const QString &text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *it = new QTableWidgetItem(text);
    it->setTextAlignment(align);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return it;
}

// Closes the progress window however the load ends.
struct ProgressGuard {
    ~ProgressGuard() { ports::ui().ProgressClose(); }
};

} // namespace

frmInitChoise::frmInitChoise(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmInitChoise"), parent)
{
    setProperty("Tag", QStringLiteral("3006"));
    setWindowTitle(QStringLiteral("Culture"));
    buildLayout();
    FinishLoad();
    Form_Load();
}

void frmInitChoise::buildLayout()
{
    auto *outer = new QVBoxLayout(Page());
    TabInitchoises = new QTabBar(this);
    TabInitchoises->setObjectName(QStringLiteral("TabInitchoises"));
    TabInitchoises->setExpanding(false);
    outer->addWidget(TabInitchoises);
    connect(TabInitchoises, &QTabBar::currentChanged, this, [this](int) { TabInitchoises_Click(); });

    auto label = [](QWidget *parent, const QString &name, const char *tag, const QString &text) {
        auto *l = new QLabel(text, parent);
        l->setObjectName(name);
        if (tag)
            l->setProperty("Tag", QString::fromLatin1(tag));
        return l;
    };

    // ---------------------------------------------------------------- cultures
    picRace = new QFrame(this);
    picRace->setObjectName(QStringLiteral("picRace"));
    auto *race = new QGridLayout(picRace);
    auto *left = new QVBoxLayout;
    lstCulture = new QComboBox(picRace);
    lstCulture->setObjectName(QStringLiteral("lstCulture"));
    lstCulture->setMinimumWidth(240);
    left->addWidget(label(picRace, QStringLiteral("labCulture"), "3006", QStringLiteral("Culture")));
    left->addWidget(lstCulture);
    labRace[6] = label(picRace, QStringLiteral("labRace_6"), "3002", QStringLiteral("Race"));
    left->addWidget(labRace[6]);
    lstRace = new QListWidget(picRace);
    lstRace->setObjectName(QStringLiteral("lstRace"));
    lstRace->setMaximumHeight(60);
    left->addWidget(lstRace);

    auto *fraSex = new QGroupBox(picRace);
    fraSex->setObjectName(QStringLiteral("fraSex"));
    auto *sexLayout = new QHBoxLayout(fraSex);
    auto *group = new QButtonGroup(this);
    const char *const sexTags[2] = {"3016", "3017"};
    const char *const sexTexts[2] = {"Male", "Femelle"};
    for (int i = 0; i < 2; ++i) {
        optSex[i] = new QRadioButton(QString::fromUtf8(sexTexts[i]), fraSex);
        optSex[i]->setObjectName(QStringLiteral("optSex_%1").arg(i));
        optSex[i]->setProperty("Tag", QString::fromLatin1(sexTags[i]));
        group->addButton(optSex[i], i);
        sexLayout->addWidget(optSex[i]);
        connect(optSex[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optSex_Click(i);
        });
    }
    left->addWidget(fraSex);

    auto *physique = new QGridLayout;
    labRace[0] = label(picRace, QStringLiteral("labRace_0"), "3018", QStringLiteral("Poids"));
    labRace[1] = label(picRace, QStringLiteral("labRace_1"), "3019", QStringLiteral("Taille"));
    labRace[2] = label(picRace, QStringLiteral("labRace_2"), nullptr, Text(9010));
    labRace[3] = label(picRace, QStringLiteral("labRace_3"), nullptr, units::WeightWord());
    labRace[4] = label(picRace, QStringLiteral("labRace_4"), nullptr, units::HeightWord());
    labRace[5] = label(picRace, QStringLiteral("labRace_5"), nullptr, QStringLiteral("-"));
    for (int i = 0; i < 4; ++i) {
        txtCulture[i] = new QLineEdit(picRace);
        txtCulture[i]->setObjectName(QStringLiteral("txtCulture_%1").arg(i));
        txtCulture[i]->setReadOnly(true);
        txtCulture[i]->setFixedWidth(60);
        txtCulture[i]->setAlignment(Qt::AlignRight);
    }
    physique->addWidget(labRace[0], 0, 0);
    physique->addWidget(txtCulture[0], 0, 1);
    physique->addWidget(labRace[3], 0, 2, 1, 2);
    physique->addWidget(labRace[1], 1, 0);
    physique->addWidget(txtCulture[1], 1, 1);
    physique->addWidget(labRace[4], 1, 2, 1, 2);
    physique->addWidget(labRace[2], 2, 0);
    physique->addWidget(txtCulture[2], 2, 1);
    physique->addWidget(labRace[5], 2, 2);
    physique->addWidget(txtCulture[3], 2, 3);
    physique->setColumnStretch(4, 1);
    left->addLayout(physique);
    oleImageCulture = new QLabel(picRace);
    oleImageCulture->setObjectName(QStringLiteral("oleImageCulture"));
    oleImageCulture->setFrameShape(QFrame::StyledPanel);
    oleImageCulture->setMinimumSize(160, 120);
    oleImageCulture->setAlignment(Qt::AlignCenter);
    left->addWidget(oleImageCulture, 1);
    race->addLayout(left, 0, 0);

    auto *notes = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) {
        notes->addWidget(label(picRace, QStringLiteral("labNote_%1").arg(i), nullptr, Text(9011 + i)));
        txtNote[i] = noteBox(picRace, QStringLiteral("txtNote_%1").arg(i));
        txtNote[i]->setMinimumWidth(260);
        notes->addWidget(txtNote[i]);
    }
    race->addLayout(notes, 0, 1);

    grdAdolescence = new QTableWidget(0, 2, picRace);
    grdAdolescence->setObjectName(QStringLiteral("grdAdolescence"));
    grdAdolescence->verticalHeader()->hide();
    grdAdolescence->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdAdolescence->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAdolescence->setMinimumWidth(TwipsToPixels(3530) + TwipsToPixels(700) + 24);
    race->addWidget(grdAdolescence, 0, 2);
    race->setColumnStretch(1, 1);
    outer->addWidget(picRace, 1);

    // ---------------------------------------------------------------- races
    picInfoTech = new QFrame(this);
    picInfoTech->setObjectName(QStringLiteral("picInfoTech"));
    auto *tech = new QVBoxLayout(picInfoTech);
    grdRaceBonus = new QTableWidget(0, 21, picInfoTech);
    grdRaceBonus->setObjectName(QStringLiteral("grdRaceBonus"));
    grdRaceBonus->verticalHeader()->hide();
    grdRaceBonus->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRaceBonus->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRaceBonus->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(grdRaceBonus, &QTableWidget::cellClicked, this, [this](int, int) { grdRaceBonus_Click(); });
    tech->addWidget(grdRaceBonus, 2);
    auto *raceBottom = new QHBoxLayout;
    txtNoteRace = noteBox(picInfoTech, QStringLiteral("txtNoteRace"));
    raceBottom->addWidget(txtNoteRace, 1);
    oleImageRace = new QLabel(picInfoTech);
    oleImageRace->setObjectName(QStringLiteral("oleImageRace"));
    oleImageRace->setFrameShape(QFrame::StyledPanel);
    oleImageRace->setMinimumSize(160, 120);
    raceBottom->addWidget(oleImageRace);
    tech->addLayout(raceBottom, 1);
    outer->addWidget(picInfoTech, 1);
    picInfoTech->hide();

    // ---------------------------------------------------------------- professions
    PicProfession = new QFrame(this);
    PicProfession->setObjectName(QStringLiteral("PicProfession"));
    auto *prof = new QGridLayout(PicProfession);
    lstProfession = new QComboBox(PicProfession);
    lstProfession->setObjectName(QStringLiteral("lstProfession"));
    lstProfession->setMinimumWidth(240);
    connect(lstProfession, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            lstProfession_Click();
    });
    txtNoteProfession = noteBox(PicProfession, QStringLiteral("txtNoteProfession"));
    labCaract = label(PicProfession, QStringLiteral("labCaract"), "3041", QStringLiteral("Caractéristiques principales"));
    lstStat = new QListWidget(PicProfession);
    lstStat->setObjectName(QStringLiteral("lstStat"));
    lstStat->setMaximumHeight(80);
    labRoyaume = label(PicProfession, QStringLiteral("labRoyaume"), "2022", QStringLiteral("Royaume de Pouvoir"));
    txtRoyaume = new QLineEdit(PicProfession);
    txtRoyaume->setObjectName(QStringLiteral("txtRoyaume"));
    txtRoyaume->setReadOnly(true);
    labListe = label(PicProfession, QStringLiteral("labListe"), "2019", QStringLiteral("Listes de bases"));
    lstListeBase = new QListWidget(PicProfession);
    lstListeBase->setObjectName(QStringLiteral("lstListeBase"));
    prof->addWidget(lstProfession, 0, 0);
    prof->addWidget(txtNoteProfession, 1, 0, 6, 1);
    prof->addWidget(labCaract, 0, 1);
    prof->addWidget(lstStat, 1, 1);
    prof->addWidget(labRoyaume, 2, 1);
    prof->addWidget(txtRoyaume, 3, 1);
    prof->addWidget(labListe, 4, 1);
    prof->addWidget(lstListeBase, 5, 1, 2, 1);
    prof->setColumnStretch(0, 2);
    prof->setColumnStretch(1, 1);
    prof->setRowStretch(6, 1);
    outer->addWidget(PicProfession, 1);
    PicProfession->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnPrevious = new QPushButton(QString(QChar(0x2190)), this);
    btnPrevious->setObjectName(QStringLiteral("btnPrevious"));
    btnPrevious->setFixedWidth(60);
    btnPrevious->hide();   // offered from the first Next on
    btnNext = new QPushButton(QString(QChar(0x2192)), this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    btnNext->setFixedWidth(60);
    buttons->addWidget(btnPrevious);
    buttons->addWidget(btnNext);
    outer->addLayout(buttons);
    connect(btnNext, &QPushButton::clicked, this, &frmInitChoise::btnNext_Click);
    connect(btnPrevious, &QPushButton::clicked, this, &frmInitChoise::btnPrevious_Click);

    connect(lstCulture, &QComboBox::currentIndexChanged, this, [this](int) { lstCulture_Click(); });
    connect(lstRace, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstRace_Click();
    });
}

QString frmInitChoise::PageTag() const
{
    return TabInitchoises->property("Tag").toString();
}

void frmInitChoise::selectCultureSilently(int index)
{
    const QSignalBlocker block(lstCulture);
    lstCulture->setCurrentIndex(index);
}

void frmInitChoise::Form_Load()
{
    ports::ui().ProgressShow(Text(3502), Text(4001), 100);
    ProgressGuard closeProgress;   // also when the load fails
    try {
        CultureColumn = rules::LangCol(QStringLiteral("Culture"));
        RaceColumn = rules::LangCol(QStringLiteral("Race"));
        ProfessionColumn = rules::LangCol(QStringLiteral("Profession"));
        NoteColumn = rules::LangCol(QStringLiteral("Note"));

        RsCulture = rules::Open(QStringLiteral("SELECT * FROM Culture ORDER BY ") + CultureColumn);
        if (!RsCulture.Eof())
            RsCulture.MoveFirst();
        RsRace = rules::Open(QStringLiteral("SELECT * FROM [Race abilities] ORDER BY ") + RaceColumn);
        if (!RsRace.Eof())
            RsRace.MoveFirst();

        {
            const QSignalBlocker block(lstCulture);
            lstCulture->clear();
            CultureIDs.clear();
            while (!RsCulture.Eof()) {
                dao::DBEngine::instance().Idle();
                ports::ui().ProgressValue(static_cast<int>(RsCulture.PercentPosition()));
                NameText = rulesread::Text(RsCulture, CultureColumn);
                if (!NameText.isEmpty()) {
                    lstCulture->addItem(NameText);
                    CultureIDs.push_back(rulesread::Id(RsCulture, QStringLiteral("Culture_ID")));
                }
                NameText.clear();
                RsCulture.MoveNext();
            }
            lstCulture->setCurrentIndex(-1);
        }
        if (lstCulture->count() > 0)
            lstCulture->setCurrentIndex(0);   // runs lstCulture_Click

        grdRaceBonus->setHorizontalHeaderItem(0, item(Text(3002)));
        grdRaceBonus->setColumnWidth(0, TwipsToPixels(2350));
        for (int c = 0; c < 20; ++c) {
            grdRaceBonus->setHorizontalHeaderItem(c + 1, item(Text(kRaceColumns[c].header)));
            grdRaceBonus->setColumnWidth(c + 1, TwipsToPixels(kRaceColumns[c].width));
        }
        RaceIDs.assign(1, 0);   // grid rows count from 1
        grdRaceBonus->setRowCount(0);
        // Listing the first culture's races has walked the races to their end.
        if (RsRace.RecordCount() > 0)
            RsRace.MoveFirst();
        while (!RsRace.Eof()) {
            dao::DBEngine::instance().Idle();
            NameText = rulesread::Text(RsRace, RaceColumn);
            if (!NameText.isEmpty()) {
                const int row = grdRaceBonus->rowCount();
                grdRaceBonus->insertRow(row);
                grdRaceBonus->setItem(row, 0, item(NameText));
                for (int c = 0; c < 20; ++c)
                    grdRaceBonus->setItem(row, c + 1,
                                          item(rulesread::Text(RsRace, QString::fromLatin1(kRaceColumns[c].column)),
                                               Qt::AlignCenter));
                RaceIDs.push_back(rulesread::Id(RsRace, QStringLiteral("Race_ID")));
            }
            NameText.clear();
            RsRace.MoveNext();
        }
        // The progressions are wider than their layout columns: widen, never narrow.
        for (int c = 0; c < grdRaceBonus->columnCount(); ++c) {
            const int layoutWidth = grdRaceBonus->columnWidth(c);
            grdRaceBonus->resizeColumnToContents(c);
            if (grdRaceBonus->columnWidth(c) < layoutWidth)
                grdRaceBonus->setColumnWidth(c, layoutWidth);
        }

        // The first culture was shown before its race had a row to highlight.
        HighlightRace(m_shownRace);

        grdAdolescence->setHorizontalHeaderItem(0, item(Text(3510)));
        grdAdolescence->setHorizontalHeaderItem(1, item(Text(3080), Qt::AlignCenter));
        grdAdolescence->setColumnWidth(0, TwipsToPixels(3530));
        grdAdolescence->setColumnWidth(1, TwipsToPixels(700));

        Culture_choises();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".load"));
    }
}

void frmInitChoise::Culture_choises()
{
    try {
        TabInitchoises->setProperty("Tag", kCultures);
        {
            const QSignalBlocker block(TabInitchoises);
            while (TabInitchoises->count() > 0)
                TabInitchoises->removeTab(0);
            TabInitchoises->addTab(Text(3007));
            TabInitchoises->addTab(Text(3003));
            TabInitchoises->setCurrentIndex(0);
        }
        TabInitchoises_Click();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".Race_choises"));
    }
}

void frmInitChoise::ListSkill(qint16 cultureId)
{
    try {
        const QString id = QString::number(cultureId);
        const QString catName = rules::LangCol(QStringLiteral("Skill_Category"));
        dao::Recordset categories = rules::Open(
            QStringLiteral("SELECT [Adolescences Rank].Culture_ID, [Adolescences Rank].Skill_Category_ID, "
                           "[Adolescences Rank].Rank, [Adolescences Rank].Choice, [Skill Category].%1 as "
                           "Skill_Category FROM [Skill Category] INNER JOIN [Adolescences Rank] ON [Skill "
                           "Category].Skill_Category_ID = [Adolescences Rank].Skill_Category_ID WHERE ((([Adolescences "
                           "Rank].Culture_ID)=%2) AND (([Adolescences Rank].Skill_Category_ID)>0)) ORDER BY [Skill "
                           "Category].%1;")
                .arg(catName, id));
        const QString skillName = rules::LangCol(QStringLiteral("Skill"));
        dao::Recordset skills = rules::Open(
            QStringLiteral("SELECT [Adolescences Rank].Culture_ID, [Adolescences Rank].Skill_ID, [Adolescences "
                           "Rank].Rank, [Adolescences Rank].Choice, Skills.%1 as Skill, Skills.Skill_Category_ID FROM "
                           "Skills INNER JOIN [Adolescences Rank] ON Skills.Skill_ID = [Adolescences Rank].Skill_ID "
                           "Where ((([Adolescences Rank].Culture_ID) =%2) And (([Adolescences Rank].Skill_ID) > 0)) "
                           "ORDER BY [Adolescences Rank].Choice, Skills.%1;")
                .arg(skillName, id));
        grdAdolescence->setRowCount(0);
        const bool anySkill = !skills.Eof();
        auto append = [this](const QString &name, const QString &rank) {
            const int row = grdAdolescence->rowCount();
            grdAdolescence->insertRow(row);
            grdAdolescence->setItem(row, 0, item(name));
            grdAdolescence->setItem(row, 1, item(rank, Qt::AlignCenter));
            return row;
        };
        // A culture without adolescence categories simply shows none.
        while (!categories.Eof()) {
            const int row = append(rulesread::Text(categories, QStringLiteral("Skill_Category")),
                                   rulesread::Text(categories, QStringLiteral("Rank")));
            if (anySkill) {
                const qint32 cat = rulesread::Id(categories, QStringLiteral("Skill_Category_ID"));
                if (cat >= 49 && cat <= 55 && rulesread::Flag(categories, QStringLiteral("Choice")))
                    grdAdolescence->item(row, 0)->setText(Text(3593));
                skills.MoveFirst();
                while (!skills.Eof()) {
                    if (rulesread::Id(skills, QStringLiteral("Skill_Category_ID")) == cat) {
                        const QString name = rulesread::Flag(skills, QStringLiteral("Choice"))
                            ? Text(3591)
                            : rulesread::Text(skills, QStringLiteral("Skill"));
                        append(QStringLiteral("     ") + name, rulesread::Text(skills, QStringLiteral("Rank")));
                    }
                    skills.MoveNext();
                }
            }
            categories.MoveNext();
        }
        categories.Close();
        skills.Close();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".ListSkill"));
    }
}

void frmInitChoise::lstCulture_Click()
{
    const int pos = lstCulture->currentIndex();
    qint32 cultureId = 0;
    qint32 cultureRace = 0;
    try {
        if (pos >= 0 && pos < static_cast<int>(CultureIDs.size())) {
            {
                const QSignalBlocker block(lstRace);
                lstRace->clear();
            }
            RaceListIDs.clear();
            RsRace.MoveFirst();
            RsCulture.MoveFirst();
            if (!rules::Find(RsCulture, QStringLiteral("Culture_ID"), CultureIDs[static_cast<size_t>(pos)]))
                ports::ui().MsgBox(QStringLiteral("Problème !"), ports::OkOnly, ModGeneral::ProgramTitle());
            cultureId = rulesread::Id(RsCulture, QStringLiteral("Culture_ID"));
            cultureRace = rulesread::Id(RsCulture, QStringLiteral("Race_ID"));
            const bool choosable = cultureRace == 1 || cultureRace == 2;
            lstRace->setVisible(choosable);
            labRace[6]->setVisible(choosable);
            {
                const QSignalBlocker block(lstRace);
                while (!RsRace.Eof()) {
                    dao::DBEngine::instance().Idle();
                    const qint32 id = rulesread::Id(RsRace, QStringLiteral("Race_ID"));
                    const QString name = rulesread::Text(RsRace, RaceColumn);
                    if (!name.isEmpty() && (choosable ? (id >= 1 && id <= 2) : id == cultureRace)) {
                        lstRace->addItem(name);
                        RaceListIDs.push_back(id);
                    }
                    RsRace.MoveNext();
                }
            }
            if (lstRace->count() > 0) {
                // The culture's own race is the one selected, as the record holds it.
                int row = 0;
                for (int i = 0; i < static_cast<int>(RaceListIDs.size()); ++i) {
                    if (RaceListIDs[static_cast<size_t>(i)] == cultureRace) {
                        row = i;
                        break;
                    }
                }
                {
                    const QSignalBlocker block(lstRace);
                    lstRace->setCurrentRow(-1);
                }
                lstRace->setCurrentRow(row);   // runs lstRace_Click
            }
        }
        ListSkill(static_cast<qint16>(cultureId));
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".lstCulture"));
        return;
    }

    // From here each step that fails is skipped and the next one runs.
    for (QPlainTextEdit *note : txtNote)
        note->clear();
    showPhysique();
    try {
        txtCulture[2]->setText(rulesread::Text(RsCulture, QStringLiteral("LifespanMin")));
    } catch (...) {
    }
    try {
        txtCulture[3]->setText(rulesread::Text(RsCulture, QStringLiteral("LifespanMax")));
    } catch (...) {
    }
    try {
        const qint32 image = vb::CLng(RsCulture.Value(QStringLiteral("Image")));
        oleImageCulture->setProperty("Image", image);
        oleImageCulture->setPixmap(newchar::CultureEmblem(image, lstCulture->currentText()));
    } catch (...) {
    }
    const char *const noteColumns[5] = {"PhysycalCharacter", "OtherFactor", "CultureFactor", "OutfitingOptions",
                                        "BackgroundOptions"};
    for (int i = 0; i < 5; ++i) {
        try {
            txtNote[i]->setPlainText(rulesread::Text(RsCulture, rules::LangCol(QString::fromLatin1(noteColumns[i]))));
        } catch (...) {
        }
    }
    if (!Tag().isEmpty())
        writeCulture();
    m_shownRace = cultureRace;
    HighlightRace(cultureRace);
}

void frmInitChoise::HighlightRace(qint32 raceId)
{
    int k = 1;
    while (k < static_cast<int>(RaceIDs.size()) && RaceIDs[static_cast<size_t>(k)] != raceId)
        ++k;
    if (k < static_cast<int>(RaceIDs.size()) && k - 1 < grdRaceBonus->rowCount()) {
        const QSignalBlocker block(grdRaceBonus);
        grdRaceBonus->setCurrentCell(k - 1, 0);
        grdRaceBonus->selectRow(k - 1);
    }
}

void frmInitChoise::writeCulture()
{
    Personnage &p = ModGeneral::Players(Number());
    try {
        p.Culture_ID = rulesread::Id(RsCulture, QStringLiteral("Culture_ID"));
    } catch (...) {
    }
    try {
        p.Race_ID = rulesread::Id(RsCulture, QStringLiteral("Race_ID"));
    } catch (...) {
    }
    try {
        p.Grandeur = vb::CSng(txtCulture[1]->text());
    } catch (...) {
    }
    try {
        p.Poids = vb::CSng(txtCulture[0]->text());
    } catch (...) {
    }
}

void frmInitChoise::showPhysique()
{
    const bool male = optSex[0]->isChecked();
    try {
        txtCulture[0]->setText(newchar::WeightText(
            vb::CDbl(RsCulture.Value(male ? QStringLiteral("WeightMale") : QStringLiteral("WeightFemal")))));
    } catch (...) {
    }
    try {
        txtCulture[1]->setText(newchar::HeightText(
            vb::CDbl(RsCulture.Value(male ? QStringLiteral("HeightMale") : QStringLiteral("HeightFemal")))));
    } catch (...) {
    }
}

void frmInitChoise::lstRace_Click()
{
    const int row = lstRace->currentRow();
    if (Tag().isEmpty() || row < 0 || row >= static_cast<int>(RaceListIDs.size()))
        return;
    // The race the player picked, whatever its place in the list.
    ModGeneral::Players(Number()).Race_ID = RaceListIDs[static_cast<size_t>(row)];
}

void frmInitChoise::optSex_Click(int Index)
{
    try {
        showPhysique();
        if (!Tag().isEmpty()) {
            Personnage &p = ModGeneral::Players(Number());
            p.Sexe = Index != 0;
            p.Poids = vb::CSng(txtCulture[0]->text());
            p.Grandeur = vb::CSng(txtCulture[1]->text());
        }
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".optSex"));
    }
}

void frmInitChoise::grdRaceBonus_Click()
{
    try {
        const int r = grdRaceBonus->currentRow() + 1;
        if (r < 1 || r >= static_cast<int>(RaceIDs.size()))
            return;
        const qint32 raceId = RaceIDs[static_cast<size_t>(r)];
        QString note;
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT NoteEn, NoteFr From [Race abilities] WHERE Race_ID = ")
                                            + QString::number(raceId) + QStringLiteral(";"));
        if (!rs.Eof()) {
            note = rulesread::Text(rs, rules::LangCol(QStringLiteral("Note")));
        }
        txtNoteRace->setPlainText(note);
        rs.Close();

        if (rules::Find(RsCulture, QStringLiteral("Race_ID"), raceId)) {
            const qint32 cultureId = rulesread::Id(RsCulture, QStringLiteral("Culture_ID"));
            for (int k = 0; k < static_cast<int>(CultureIDs.size()); ++k) {
                if (CultureIDs[static_cast<size_t>(k)] == cultureId) {
                    selectCultureSilently(-1);
                    lstCulture->setCurrentIndex(k);   // runs lstCulture_Click
                    break;
                }
            }
        }
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".grdRaceBonus"));
    }
}

// ------------------------------------------------------------------ professions

void frmInitChoise::Profession_choises()
{
    try {
        TabInitchoises->setProperty("Tag", kProfessions);
        setWindowTitle(ModGeneral::Players(Number()).Nom + QStringLiteral(" (") + Text(3005) + QStringLiteral(")"));
        {
            const QSignalBlocker block(TabInitchoises);
            while (TabInitchoises->count() > 0)
                TabInitchoises->removeTab(0);
            for (const ProfessionTab &tab : kProfessionTabs)
                TabInitchoises->addTab(Text(tab.caption));
            TabInitchoises->setCurrentIndex(0);
        }
        TabInitchoises_Click();
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".Profession_choises"));
    }
}

void frmInitChoise::TabInitchoises_Click()
{
    const int tab = TabInitchoises->currentIndex();
    if (PageTag() == kCultures) {
        PicProfession->hide();
        if (tab == 0) {
            picRace->show();
            picInfoTech->hide();
        } else if (tab == 1) {
            picRace->hide();
            picInfoTech->show();
        }
        return;
    }
    if (PageTag() != kProfessions || tab < 0 || tab >= 6)
        return;
    try {
        RsProfession = rules::Open(QString::fromLatin1(kProfessionTabs[tab].query) + ProfessionColumn);
        {
            const QSignalBlocker block(lstProfession);
            lstProfession->clear();
            ProfessionIDs.clear();
            while (!RsProfession.Eof()) {
                NameText = rulesread::Text(RsProfession, ProfessionColumn);
                if (!NameText.isEmpty()) {
                    lstProfession->addItem(NameText);
                    ProfessionIDs.push_back({rulesread::Id(RsProfession, QStringLiteral("Profession_ID")),
                                             rulesread::Id(RsProfession, QStringLiteral("Realm_ID"))});
                }
                NameText.clear();
                RsProfession.MoveNext();
            }
            lstProfession->setCurrentIndex(-1);
        }
        if (lstProfession->count() > 0) {
            lstProfession->setCurrentIndex(0);   // runs lstProfession_Click
        } else {
            txtNoteProfession->clear();
            lstStat->clear();
            txtRoyaume->clear();
            lstListeBase->clear();
        }
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".TabInitchoises"));
    }
}

void frmInitChoise::lstProfession_Click()
{
    const int i = lstProfession->currentIndex();
    if (i < 0 || i >= static_cast<int>(ProfessionIDs.size()))
        return;
    try {
        const qint32 id = ProfessionIDs[static_cast<size_t>(i)][0];
        const QString idText = QString::number(id);
        NameText.clear();
        dao::Recordset rs = rules::Open(QStringLiteral("SELECT NoteEn, NoteFr From Profession WHERE Profession_ID  = ")
                                            + idText + QStringLiteral(";"));
        if (!rs.Eof() && !rs.Fields(NoteColumn).isNull())
            NameText = rulesread::Text(rs, NoteColumn);
        rs.Close();
        txtNoteProfession->setPlainText(NameText);

        rs = rules::Open(QStringLiteral("SELECT StatEn, StatFr From Stat, Profession WHERE Profession_ID = ") + idText
                             + QStringLiteral(" AND ( Stat_ID =Stat_ID1  or Stat_ID = Stat_ID2 or Stat_ID = Stat_ID3 );"));
        lstStat->clear();
        const QString statColumn = rules::LangCol(QStringLiteral("Stat"));
        while (!rs.Eof()) {
            NameText = rulesread::Text(rs, statColumn);
            if (!NameText.isEmpty())
                lstStat->addItem(NameText);
            NameText.clear();
            rs.MoveNext();
        }
        rs.Close();

        // A realm missing from the rules shows an empty realm box.
        rs = rules::Open(QStringLiteral("SELECT RealmEn, RealmFr From [Realms of Power], Profession WHERE "
                                            "Profession_ID  = ")
                             + idText + QStringLiteral(" AND [Realms of Power].Realm_ID=Profession.Realm_ID;"));
        NameText = !rs.Eof() ? rulesread::Text(rs, rules::LangCol(QStringLiteral("Realm"))) : QString();
        rs.Close();

        Personnage &p = ModGeneral::Players(Number());
        p.Profession_ID = id;
        p.Royaume_ID = ProfessionIDs[static_cast<size_t>(i)][1];

        lstListeBase->clear();
        dao::Recordset lists = rules::Open(
            QStringLiteral("SELECT List.*, [Base List].Profession_ID FROM List INNER JOIN [Base List] ON List.List_ID "
                           "= [Base List].List_ID WHERE ((([Base List].Profession_ID)=")
            + QString::number(p.Profession_ID) + QStringLiteral("));"));
        const QString listColumn = rules::LangCol(QStringLiteral("List"));
        while (!lists.Eof()) {
            dao::DBEngine::instance().Idle();
            lstListeBase->addItem(rulesread::Text(lists, listColumn));
            lists.MoveNext();
        }
        lists.Close();
        txtRoyaume->setText(NameText);
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".lstProfession"));
    }
}

bool frmInitChoise::chooseRealm()
{
    // The one-list chooser in its realm mode lists the realms and, on OK,
    // writes the chosen one into the record and leaves realm mode.
    ModGeneral::WeaponAdolescenceShown = true;
    {
        frmArmeAdolescence chooser(this);
        ::setTag(&chooser, Tag());
        chooser.LoadData();
        if (chooser.lstArme->count() > 0)
            chooser.exec();
    }
    // However the chooser went, the next opener must not find realm mode on.
    ModGeneral::WeaponAdolescenceShown = false;
    const qint32 realm = ModGeneral::Players(Number()).Royaume_ID;
    return realm == 2 || realm == 5 || realm == 7;
}

void frmInitChoise::btnNext_Click()
{
    try {
        picInfoTech->hide();
        btnPrevious->show();
        if (PageTag() == kCultures) {
            // A player who never clicked a culture takes the one shown.
            if (!Tag().isEmpty() && ModGeneral::Players(Number()).Culture_ID == 0 && lstCulture->currentIndex() >= 0) {
                writeCulture();
                lstRace_Click();
            }
            Profession_choises();
            picRace->hide();
            PicProfession->show();
            return;
        }

        const int n = Number();
        if (lstProfession->currentIndex() < 0) {
            ports::ui().MsgBox(Text(9016),
                               ports::OkOnly | ports::Exclamation, windowTitle());
            return;
        }
        Personnage &p = ModGeneral::Players(n);
        if (p.Royaume_ID == 8 && !chooseRealm())
            return;   // no realm chosen: the page stays for another try

        auto *stats = new frmStatChoises;
        if (!StatChoiceForms.put(n, stats))
            vb::Raise(vb::ErrSubscript);
        stats->setTag(Tag());
        stats->setWindowTitle(p.Nom + QStringLiteral(" (") + Text(5026) + QStringLiteral(")"));
        LeftByNext = true;
        newchar::Present(stats);
        stats->LoadData();
        newchar::Unload(this);
    } catch (...) {
        ReportCurrentException(windowTitle() + QStringLiteral(".BTNNext"));
    }
}

void frmInitChoise::btnPrevious_Click()
{
    if (PageTag() == kCultures)
        return;
    Culture_choises();
    picRace->show();
    PicProfession->hide();
}

void frmInitChoise::Form_Unload()
{
    try {
        RsCulture.Close();
    } catch (...) {
    }
    try {
        RsRace.Close();
    } catch (...) {
    }
    try {
        RsProfession.Close();
    } catch (...) {
    }
    const int n = Number();
    if (GivenUp)
        newchar::GiveUp(n);
    else if (!LeftByNext && n >= 1)
        ModGeneral::Players(n) = Personnage();
}

bool frmInitChoise::QueryUnload()
{
    if (!BeingMade())
        return true;
    GivenUp = newchar::AskGiveUp(Number());
    return GivenUp;
}
