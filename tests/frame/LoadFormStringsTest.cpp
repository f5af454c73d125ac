#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class LoadFormStringsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = Strings::current();
        Strings::setLanguage(Strings::Language::French);
    }
    void TearDown() override { Strings::setLanguage(saved); }

    template <class W>
    W *add(QWidget *parent, const QString &tagValue, const QString &text = QString())
    {
        auto *w = new W(parent);
        setTag(w, tagValue);
        if constexpr (requires { w->setText(text); })
            w->setText(text);
        parent->layout()->addWidget(w);
        return w;
    }

    Strings::Language saved{};
};

TEST_F(LoadFormStringsTest, WindowCaptionLabelsAndOtherControls)
{
    QWidget window;
    new QVBoxLayout(&window);
    setTag(&window, QStringLiteral("3502"));
    window.setWindowTitle(QStringLiteral("layout"));

    auto *label = add<QLabel>(&window, QStringLiteral("3502"), QStringLiteral("%Chargement"));
    // A label's whole Tag must be a number; other controls take a leading one.
    auto *labelTrailing = add<QLabel>(&window, QStringLiteral("3502abc"), QStringLiteral("kept"));
    auto *labelData = add<QLabel>(&window, QStringLiteral("Linguistique"), QStringLiteral("kept"));
    auto *noTag = add<QPushButton>(&window, QString(), QStringLiteral("Go"));
    auto *zeroTag = add<QPushButton>(&window, QStringLiteral("0"), QStringLiteral("Zero"));
    auto *negative = add<QPushButton>(&window, QStringLiteral("-1045"), QStringLiteral("Neg"));
    auto *ok = add<QPushButton>(&window, QStringLiteral("1045"), QStringLiteral("%OK"));
    auto *leading = add<QPushButton>(&window, QStringLiteral("1044 cancel"), QStringLiteral("%Cancel"));
    auto *rounded = add<QPushButton>(&window, QStringLiteral("1044.4"), QStringLiteral("%Cancel"));
    auto *unknown = add<QPushButton>(&window, QStringLiteral("4999"), QStringLiteral("kept"));
    auto *huge = add<QPushButton>(&window, QStringLiteral("99999999"), QStringLiteral("kept"));
    auto *textBox = add<QLineEdit>(&window, QStringLiteral("3502"), QStringLiteral("typed"));
    auto *afterTextBox = add<QLabel>(&window, QStringLiteral("3040"), QStringLiteral("%Car"));
    auto *check = add<QCheckBox>(&window, QStringLiteral("5018"), QStringLiteral("%Casque (cuir)"));
    auto *radio = add<QRadioButton>(&window, QStringLiteral("3017"), QStringLiteral("%F"));
    auto *frame = add<QGroupBox>(&window, QStringLiteral("3040"));
    frame->setTitle(QStringLiteral("%Caractéristiques"));

    ok->setToolTip(QStringLiteral("1044"));
    noTag->setToolTip(QStringLiteral("0"));
    zeroTag->setToolTip(QStringLiteral("Press here"));
    textBox->setToolTip(QStringLiteral("3091"));

    LoadFormStrings(&window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Chargement"));
    EXPECT_EQ(label->text(), QStringLiteral("Chargement"));
    EXPECT_EQ(labelTrailing->text(), QStringLiteral("kept"));
    EXPECT_EQ(labelData->text(), QStringLiteral("kept"));
    EXPECT_EQ(noTag->text(), QStringLiteral("Go"));
    EXPECT_EQ(zeroTag->text(), QStringLiteral("Zero"));
    EXPECT_EQ(negative->text(), QStringLiteral("Neg"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(leading->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(rounded->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(unknown->text(), QStringLiteral("kept"));
    EXPECT_EQ(huge->text(), QStringLiteral("kept"));
    EXPECT_EQ(textBox->text(), QStringLiteral("typed"));
    EXPECT_EQ(afterTextBox->text(), QStringLiteral("Caractéristiques"));
    EXPECT_EQ(check->text(), QStringLiteral("Casque de cuir"));
    EXPECT_EQ(radio->text(), QStringLiteral("Femelle"));
    EXPECT_EQ(frame->title(), QStringLiteral("Caractéristiques"));

    EXPECT_EQ(ok->toolTip(), QStringLiteral("Annuler"));
    EXPECT_EQ(noTag->toolTip(), QStringLiteral("0"));
    EXPECT_EQ(zeroTag->toolTip(), QStringLiteral("Press here"));
    EXPECT_EQ(textBox->toolTip(), QStringLiteral("Argent"));
    // The Tag is left as it was: later code stores its own data there.
    EXPECT_EQ(tag(label), QStringLiteral("3502"));
}

TEST_F(LoadFormStringsTest, MenusToolbarTabsAndHeaders)
{
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("1001"));
    QAction *newEntry = file->addAction(QStringLiteral("1002"));
    QAction *bar = file->addSeparator();
    QAction *dash = file->addAction(QStringLiteral("-"));
    QAction *open = file->addAction(QStringLiteral("1003"));
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("1031"));
    QAction *about = help->addAction(QStringLiteral("1034"));

    QToolBar *toolbar = window.addToolBar(QStringLiteral("tb"));
    setTag(toolbar, QStringLiteral("3040"));
    QAction *tbNew = toolbar->addAction(QStringLiteral("New"));
    tbNew->setToolTip(QStringLiteral("1002"));
    toolbar->addSeparator();
    QAction *tbLevel = toolbar->addAction(QStringLiteral("Level"));
    tbLevel->setToolTip(QStringLiteral("3092"));
    QAction *tbBad = toolbar->addAction(QStringLiteral("Odd"));
    tbBad->setToolTip(QStringLiteral("x1002"));

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    window.setCentralWidget(central);

    auto *tabs = new QTabWidget;
    layout->addWidget(tabs);
    setTag(tabs, QStringLiteral("3003")); // a page marker, not a caption
    tabs->addTab(new QWidget, QStringLiteral("%Cultures"));
    tabs->addTab(new QWidget, QStringLiteral("%Races"));
    tabs->addTab(new QWidget, QStringLiteral("%None"));
    tabs->tabBar()->setTabData(0, QStringLiteral("3007"));
    tabs->tabBar()->setTabData(1, QStringLiteral("3003"));
    tabs->setTabToolTip(1, QStringLiteral("3002"));
    tabs->tabBar()->setTabData(2, QStringLiteral("3003 x"));

    auto *tree = new QTreeWidget;
    layout->addWidget(tree);
    tree->setColumnCount(3);
    tree->headerItem()->setText(0, QStringLiteral("%Skills"));
    tree->headerItem()->setData(0, kHeaderStringRole, QStringLiteral("3510"));
    tree->headerItem()->setText(1, QStringLiteral("%Ranks"));
    tree->headerItem()->setData(1, kHeaderStringRole, QStringLiteral("3080"));
    tree->headerItem()->setText(2, QStringLiteral("plain"));

    auto *table = new QTableWidget(2, 2);
    layout->addWidget(table);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("%Special")));
    table->horizontalHeaderItem(0)->setData(kHeaderStringRole, QStringLiteral("3504"));
    table->setHorizontalHeaderItem(1, new QTableWidgetItem(QStringLiteral("%Chance")));
    table->horizontalHeaderItem(1)->setData(kHeaderStringRole, QStringLiteral("3592"));

    LoadFormStrings(&window);

    EXPECT_EQ(file->title(), QStringLiteral("&Fichier"));
    EXPECT_EQ(newEntry->text(), QStringLiteral("&Nouveau..."));
    EXPECT_TRUE(bar->isSeparator());
    EXPECT_EQ(dash->text(), QStringLiteral("-"));
    EXPECT_EQ(open->text(), QStringLiteral("&Ouvrir"));
    EXPECT_EQ(help->title(), QStringLiteral("&Aide"));
    EXPECT_EQ(about->text(), Strings::Load(1034));

    EXPECT_EQ(tbNew->toolTip(), QStringLiteral("&Nouveau..."));
    EXPECT_EQ(tbLevel->toolTip(), QStringLiteral("Progression de niveau"));
    EXPECT_EQ(tbBad->toolTip(), QStringLiteral("x1002"));
    EXPECT_EQ(tbNew->text(), QStringLiteral("New"));

    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Cultures"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Races"));
    EXPECT_EQ(tabs->tabToolTip(1), QStringLiteral("Race"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("%None"));
    EXPECT_EQ(tag(tabs), QStringLiteral("3003"));

    EXPECT_EQ(tree->headerItem()->text(0), QStringLiteral("Compétences"));
    EXPECT_EQ(tree->headerItem()->text(1), QStringLiteral("Rangs"));
    EXPECT_EQ(tree->headerItem()->text(2), QStringLiteral("plain"));
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Spécial"));
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Chance"));
}

TEST_F(LoadFormStringsTest, EnglishKeepsLayoutTextForFrenchOnlyNumbers)
{
    Strings::setLanguage(Strings::Language::English);
    QWidget window;
    new QVBoxLayout(&window);
    setTag(&window, QStringLiteral("3050")); // French only
    window.setWindowTitle(QStringLiteral("%Nom"));
    auto *frenchOnly = add<QLabel>(&window, QStringLiteral("3050"), QStringLiteral("%Nom"));
    auto *both = add<QLabel>(&window, QStringLiteral("3052"), QStringLiteral("%Niveau"));
    auto *helmet = add<QCheckBox>(&window, QStringLiteral("5018"), QStringLiteral("%Casque (cuir)"));
    auto *melee = add<QLabel>(&window, QStringLiteral("3552"), QStringLiteral("%Melee"));

    LoadFormStrings(&window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("%Nom"));
    EXPECT_EQ(frenchOnly->text(), QStringLiteral("%Nom"));
    EXPECT_EQ(both->text(), QStringLiteral("Level"));
    EXPECT_EQ(helmet->text(), QStringLiteral("%Casque (cuir)"));
    EXPECT_EQ(melee->text(), QStringLiteral("Melee"));
}

TEST_F(LoadFormStringsTest, EnglishShowsTheFrenchTextRatherThanABareNumber)
{
    Strings::setLanguage(Strings::Language::English);
    QMainWindow window;
    auto *bar = window.addToolBar(QStringLiteral("bar"));
    QAction *stats = bar->addAction(QStringLiteral("stats"));
    stats->setToolTip(QStringLiteral("3040"));   // French only
    QMenu *menu = window.menuBar()->addMenu(QStringLiteral("3050"));
    QAction *entry = menu->addAction(QStringLiteral("3051"));
    auto *central = new QWidget(&window);
    new QVBoxLayout(central);
    window.setCentralWidget(central);
    auto *button = add<QPushButton>(central, QStringLiteral("3050"), QStringLiteral("3050"));
    button->setToolTip(QStringLiteral("3051"));
    auto *kept = add<QLabel>(central, QStringLiteral("3050"), QStringLiteral("%Nom"));

    LoadFormStrings(&window);

    EXPECT_EQ(stats->toolTip(), QStringLiteral("Caractéristiques"));
    EXPECT_EQ(menu->title(), QStringLiteral("Nom"));
    EXPECT_EQ(entry->text(), QStringLiteral("Âge"));
    EXPECT_EQ(button->text(), QStringLiteral("Nom"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Âge"));
    // A layout text of its own is still kept.
    EXPECT_EQ(kept->text(), QStringLiteral("%Nom"));
}

TEST_F(LoadFormStringsTest, ChildWindowsAreLeftToThemselves)
{
    QMainWindow window;
    auto *mdi = new QMdiArea;
    window.setCentralWidget(mdi);
    auto *sheet = new QWidget;
    setTag(sheet, QStringLiteral("3")); // a character number
    sheet->setWindowTitle(QStringLiteral("Nouveau joueur 3 (Général)"));
    auto *sheetLabel = new QLabel(QStringLiteral("%Nom"), sheet);
    setTag(sheetLabel, QStringLiteral("3050"));
    mdi->addSubWindow(sheet);

    QDialog dialog(&window);
    setTag(&dialog, QStringLiteral("3502"));
    dialog.setWindowTitle(QStringLiteral("dialog"));
    auto *dialogLabel = new QLabel(QStringLiteral("%Chargement"), &dialog);
    setTag(dialogLabel, QStringLiteral("3502"));

    LoadFormStrings(&window);

    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Nouveau joueur 3 (Général)"));
    EXPECT_EQ(sheetLabel->text(), QStringLiteral("%Nom"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("dialog"));
    EXPECT_EQ(dialogLabel->text(), QStringLiteral("%Chargement"));

    LoadFormStrings(&dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Chargement"));
    EXPECT_EQ(dialogLabel->text(), QStringLiteral("Chargement"));
    // Nothing to localise or tag: nothing happens, nothing breaks.
    LoadFormStrings(nullptr);
    setTag(nullptr, QStringLiteral("1"));
    EXPECT_EQ(tag(nullptr), QString());
}

} // namespace
