// The sheet as the player sees it, in French and in English: every caption
// readable where the layout puts it. Saves a picture of each when
// QV_SHEET_GRAB names a folder.
#include "SheetFixture.h"
#include "support/Readable.h"

#include <QDir>
#include <QPixmap>

using namespace sheettest;

TEST_F(SheetTest, EveryCaptionIsReadableInBothLanguages)
{
    OpenRules();
    for (auto lang : {Strings::Language::French, Strings::Language::English}) {
        Strings::setLanguage(lang);
        sheet.reset();
        frmGeneral &w = Load();
        // The whole page, without scroll bars.
        w.resize(w.findChild<QWidget *>(QStringLiteral("page"))->size() + QSize(4, 4));
        const QStringList faults = readable::Faults(&w);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        const QByteArray dir = qgetenv("QV_SHEET_GRAB");
        if (!dir.isEmpty())
            w.grab().save(QDir(QString::fromLocal8Bit(dir))
                              .filePath(lang == Strings::Language::French ? QStringLiteral("sheet-fr.png")
                                                                          : QStringLiteral("sheet-en.png")));
    }
}

TEST_F(SheetTest, EveryFigureBoxShowsTheWidestFigureItCanHoldWhole)
{
    OpenRules();
    for (auto lang : {Strings::Language::French, Strings::Language::English}) {
        Strings::setLanguage(lang);
        sheet.reset();
        frmGeneral &w = Load();
        // Each box with the widest figures it can be given: what the record's
        // field holds, what the rules' columns hold, what a total reaches.
        std::vector<std::pair<QWidget *, QStringList>> widest = {
            // Experience from -300,000,000 (level -30,000) to 1,600,000,000
            // (level 20 + 1,599,500,000 / 50,000 = 32,010).
            {w.txtExperience, {"-300000000", "1600000000"}},
            {w.txtNiveau, {"-30000", "32010"}},
            {w.txtPdeC, {"-32768"}},
            {w.txtPdeP, {"-32768"}},
            {w.txtApparence, {"-32768"}},
            // Seven digits, the shortest form of -0.0001234567 (below 0.0001
            // the figure takes an exponent and is narrower).
            {w.txtAge, {"-0,0001234567"}},
            {w.txtGrandeur, {"-0,0001234567"}},
            {w.txtPoids, {"-0,0001234567"}},
            // The lowest fortune, -2,147,483,648, shows -214748 and -3, -6, -4, -8.
            {w.txtMoney[0], {"-214748"}},
            // Armour and shield: the maneuver is a 16-bit figure, the others
            // come from 16-bit columns of the rules.
            {w.txtArmure[0], {"-32768"}},
            {w.txtArmure[1], {"-32768"}},
            {w.txtArmure[2], {"-32768"}},
            {w.txtShield[0], {"-32768"}},
            {w.txtShield[1], {"-32768"}},
        };
        for (int k = 1; k <= 4; ++k)
            widest.push_back({w.txtMoney[k], {"-8"}});
        // Every column of the statistics and resistances: 16-bit figures.
        for (int s = 0; s < 10; ++s)
            for (QLineEdit *box : w.Stat_ID[s])
                widest.push_back({box, {"-32768"}});
        for (int kind = 1; kind <= 9; ++kind)
            for (QLineEdit *box : w.Resistance[kind])
                widest.push_back({box, {"-32768"}});
        for (const auto &[box, texts] : widest)
            for (const QString &text : texts)
                EXPECT_GE(readable::TextRoom(box), box->fontMetrics().horizontalAdvance(text))
                    << box->objectName().toStdString() << " " << text.toStdString() << " lang " << int(lang);
    }
}
