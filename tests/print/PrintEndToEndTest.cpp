// The whole sheet on paper (a PDF through the printer path) and on the
// preview picture, as a player gets them.
#include "PrintFixture.h"
#include "mainwindow/QtPorts.h"
#include "print/SharedPrinter.h"
#include "print/frmPrint.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

// Pages of a PDF by pdfinfo; -1 when the tool is not there.
int PdfPages(const QString &path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        return -1;
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(10000);
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Pages of a PDF that pdftoppm renders as pictures.
int RenderedPages(const QString &pdf, const QString &folder)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("30"), pdf,
                                         folder + QStringLiteral("/page")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return 0;
    int pages = 0;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("page*.png")}))
        pages += QImage(folder + QLatin1Char('/') + name).isNull() ? 0 : 1;
    return pages;
}

// Where a person who wants to look at the pages asks them to be put.
QString ShotFolder()
{
    return qEnvironmentVariable("QV_PRINT_SHOTS");
}

} // namespace

class PrintEndToEndTest : public PrintFixture {
protected:
    QTemporaryDir dir;
};

TEST_F(PrintEndToEndTest, PrintingTheWholeSheetMakesOneDocumentOfMainAndSkillPages)
{
    const QString pdf = dir.filePath(QStringLiteral("feuille.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(pdf);
    print::PrinterPageTarget target(printer, ModPrint::PrinterOffsetX, ModPrint::PrinterOffsetY);
    ASSERT_TRUE(ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1"), target));
    // The main page, then the 60-odd skills on two skill pages.
    EXPECT_EQ(target.PageCount(), 3);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_GT(QFileInfo(pdf).size(), 20000);
    const int pages = PdfPages(pdf);
    if (pages >= 0)
        EXPECT_EQ(pages, 3);
    if (!ShotFolder().isEmpty())
        QFile::copy(pdf, ShotFolder() + QStringLiteral("/sheet.pdf"));
}

TEST_F(PrintEndToEndTest, ThePrintDialogOffersAPdfFileWhereNoPrinterIsInstalled)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) << "scripts/setup installs it";
    const QString pdf = dir.filePath(QStringLiteral("dialogue.pdf"));
    QtPorts qt;
    ModalDriver drive;
    drive.then([&](QWidget *w) {
        auto *dlg = qobject_cast<QPrintDialog *>(w);
        ASSERT_NE(dlg, nullptr);
        auto *printers = dlg->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *file = dlg->findChild<QLineEdit *>(QStringLiteral("filename"));
        ASSERT_NE(printers, nullptr);
        ASSERT_NE(file, nullptr);
        int entry = -1;
        for (int i = 0; i < printers->count(); ++i)
            if (printers->itemText(i).contains(QStringLiteral("PDF")))
                entry = i;
        ASSERT_GE(entry, 0) << "no PDF entry among " << printers->count() << " printers";
        printers->setCurrentIndex(entry);
        file->setText(pdf);
        dlg->accept();
    });
    ASSERT_TRUE(qt.PrintDialog());
    {
        ModPrint::PrinterTarget toPrinter;
        ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1"));
    }
    ASSERT_TRUE(QFile::exists(pdf));
    QTemporaryDir pictures;
    EXPECT_EQ(RenderedPages(pdf, pictures.path()), 3);
}

TEST_F(PrintEndToEndTest, FileMenuPrintGoesThroughTheSharedPrinterAndSaysItRan)
{
    const QString pdf = dir.filePath(QStringLiteral("menu.pdf"));
    QPrinter &printer = SharedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    {
        ModPrint::PrinterTarget toPrinter;
        EXPECT_TRUE(ModPrint::Setup_Page(QStringLiteral("01"), QStringLiteral("1")));
    }
    EXPECT_EQ(ModPrint::PrintToPrinter, 0);
    EXPECT_TRUE(QFile::exists(pdf));
    const int pages = PdfPages(pdf);
    if (pages >= 0)
        EXPECT_EQ(pages, 1);
}

TEST_F(PrintEndToEndTest, ThePreviewPictureHoldsEveryPageAtThePagesProportions)
{
    print::ImagePageTarget picture(QSize(818, 1100));
    ASSERT_TRUE(ModPrint::Setup_Page(QStringLiteral("10"), QStringLiteral("1"), picture));
    ASSERT_EQ(picture.Pages().size(), 2);
    // The taller side was cut to the page's proportions; the width stayed.
    EXPECT_EQ(picture.PixelSize().width(), 818);
    EXPECT_NEAR(picture.PixelSize().height(), 818 * 28.2 / 21.8, 1.0);
    // Something was drawn: the frame is dark where it runs at x = 2 cm.
    const QImage &page = picture.Pages().first();
    const int x = int(2.0 / 21.8 * page.width());
    int dark = 0;
    for (int dx = -1; dx <= 1; ++dx)
        dark += qGray(page.pixel(x + dx, page.height() / 2)) < 128;
    EXPECT_GT(dark, 0);

    if (!ShotFolder().isEmpty()) {
        print::ImagePageTarget main(QSize(1100, 1423));
        ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1"), main);
        for (int i = 0; i < main.Pages().size(); ++i)
            main.Pages()[i].save(ShotFolder() + QStringLiteral("/preview-%1.png").arg(i + 1));
        frmPrint preview;
        preview.setTag(QStringLiteral("1"));
        preview.show();
        preview.Voir();
        preview.grab().save(ShotFolder() + QStringLiteral("/frmPrint.png"));
        preview.tbPrint_ButtonMenuClick(QStringLiteral("Page"), 2);
        preview.grab().save(ShotFolder() + QStringLiteral("/frmPrint-skills.png"));
    }
}
