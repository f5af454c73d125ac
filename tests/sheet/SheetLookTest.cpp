// The sheet as the player sees it, in French and in English: every caption
// readable where the layout puts it. Saves a picture of each when
// QV_SHEET_GRAB names a folder.
#include "SheetFixture.h"
#include "support/Readable.h"

#include <QDir>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFrame>

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
        // Special and total boxes hold any 16-bit figure whole: the text
        // room of a box is its contents less the box's own 2-pixel margins
        // and the cursor.
        std::vector<QLineEdit *> wide;
        for (int s = 0; s < 10; ++s)
            wide.insert(wide.end(), {w.Stat_ID[s][4], w.Stat_ID[s][5]});
        for (int kind = 1; kind <= 9; ++kind)
            wide.insert(wide.end(), {w.Resistance[kind][2], w.Resistance[kind][3]});
        for (QLineEdit *box : wide) {
            QStyleOptionFrame opt;
            opt.initFrom(box);
            opt.rect = box->rect();
            opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
            const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
            EXPECT_GE(contents.width() - 4 - 1, box->fontMetrics().horizontalAdvance(QStringLiteral("-32768")))
                << box->objectName().toStdString();
        }
        const QByteArray dir = qgetenv("QV_SHEET_GRAB");
        if (!dir.isEmpty())
            w.grab().save(QDir(QString::fromLocal8Bit(dir))
                              .filePath(lang == Strings::Language::French ? QStringLiteral("sheet-fr.png")
                                                                          : QStringLiteral("sheet-en.png")));
    }
}
