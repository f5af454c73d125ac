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
        w.resize(w.findChild<QWidget *>(QStringLiteral("pageSheet"))->size() + QSize(4, 4));
        const QStringList faults = readable::Faults(&w);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        const QByteArray dir = qgetenv("QV_SHEET_GRAB");
        if (!dir.isEmpty())
            w.grab().save(QDir(QString::fromLocal8Bit(dir))
                              .filePath(lang == Strings::Language::French ? QStringLiteral("sheet-fr.png")
                                                                          : QStringLiteral("sheet-en.png")));
    }
}
