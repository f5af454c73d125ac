// The whole sheet on paper (a PDF through the printer path) and on the
// preview picture, as a player gets them.
#include "PrintFixture.h"
#include "character/StoredFileSupport.h"
#include "frame/ModGeneral.h"
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
#include <sys/resource.h>

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

TEST_F(PrintEndToEndTest, APrintThatCannotBeWrittenWholeSaysWhyAndLeavesTheOlderFile)
{
    ModGeneral::AnswerFileSizeLimit();   // as the program's start leaves it
    const QString folder = dir.filePath(QStringLiteral("feuilles")), pdf = folder + QStringLiteral("/hero.pdf");
    const QString lost = folder + QStringLiteral("/parti/hero.pdf");
    const QByteArray older("%PDF-1.4 an older sheet");
    const auto said = [](const QString &file, const QString &cause, bool before) {
        return QStringLiteral("La feuille n'a pas été imprimée : le fichier « %1 » n'a pas pu être écrit en entier : %2. %3")
            .arg(file, cause, before ? QStringLiteral("Le fichier qui portait ce nom auparavant n'a pas changé.")
                                     : QStringLiteral("Rien n'a été écrit sous ce nom."));
    };
    const QString limit = QStringLiteral("il dépasserait la taille de fichier la plus grande que ce programme a le "
                                         "droit d'écrire");
    struct Case {
        bool before;     // an older file stands at the name
        rlim_t limit;    // the largest file the process may write; 0 for no limit
        bool asOther;    // printed as a user whom folder rights bind, into a folder that may not be written
        QString printTo, text;
    };
    const Case cases[] = {
        {true, 20480, false, pdf, said(pdf, limit, true)},
        {false, 20480, false, pdf, said(pdf, limit, false)},
        {true, 0, true, pdf,
         said(pdf, QStringLiteral("vous n'avez pas le droit d'écrire dans le dossier « %1 »").arg(folder), true)},
        {false, 0, false, lost, said(lost, QStringLiteral("le dossier « %1/parti » n'existe pas").arg(folder), false)},
        // A printer that reports an error: here one with nowhere to print.
        {false, 0, false, QString(), QStringLiteral("La feuille n'a pas été imprimée : l'imprimante signale une erreur.")},
    };
    const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(dir.path(), readable | QFile::WriteOwner);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        if (QFile f(pdf); c.before)
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(older) == older.size());
        if (c.asOther)
            QFile::setPermissions(folder, readable);
        SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        SharedPrinter().setOutputFileName(c.printTo);
        struct rlimit saved {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        struct rlimit small = saved;
        small.rlim_cur = c.limit ? c.limit : saved.rlim_cur;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        ScriptedPortsScope box;
        box->expectError(QStringLiteral("Setup_Page"));
        const auto print = [] {
            ModPrint::PrinterTarget toPrinter;
            EXPECT_FALSE(ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1")));
        };
        if (!c.asOther || !filetest::unprivileged(print))
            print();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ASSERT_EQ(box->errors().size(), 1u);
        EXPECT_EQ(box->errors().front().text.toStdString(), c.text.toStdString());
        // Nothing cut short beside it either: the older file alone, byte for byte.
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                  c.before ? QStringList{QStringLiteral("hero.pdf")} : QStringList());
        if (c.before)
            EXPECT_EQ(filetest::bytes(pdf), older);
    }
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
