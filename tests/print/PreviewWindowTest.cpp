// The preview window as the player drives it: zoom, page choice, scrolling,
// printing from it, and the print of the main page alone.
#include "PrintFixture.h"
#include "print/frmPrint.h"
#include "print/frmPrintOption.h"
#include "support/PrintedPdf.h"

#include <QFile>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>

class PreviewWindowTest : public PrintFixture {
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        pdf = std::make_unique<PrintedPdf>(dir.filePath(QStringLiteral("apercu.pdf")));
        window = std::make_unique<frmPrint>();
        window->setTag(QStringLiteral("1"));
        window->show();
        window->Voir();
    }
    void TearDown() override
    {
        window.reset();
        PrintFixture::TearDown();
    }
    QTemporaryDir dir;
    std::unique_ptr<PrintedPdf> pdf;
    std::unique_ptr<frmPrint> window;
};

TEST_F(PreviewWindowTest, OpensOnTheMainPageAtSeventyFivePercentBelowTheToolbar)
{
    EXPECT_EQ(window->Button(QStringLiteral("Zoom"))->text(), QStringLiteral("75%"));
    EXPECT_EQ(window->Button(QStringLiteral("Zoom"))->property("Tag").toInt(), 3);
    EXPECT_EQ(window->Button(QStringLiteral("Page"))->text(), QStringLiteral("Général"));
    EXPECT_EQ(window->Button(QStringLiteral("Print"))->text(), QStringLiteral("&Imprimer"));
    // 9202 x 11902 twips, then cut to the page's proportions.
    ASSERT_EQ(window->picPage->pages().size(), 1);
    const QImage &page = window->picPage->pages().first();
    EXPECT_NEAR(page.height(), 11902 / 15, 1);
    EXPECT_LE(page.width(), 9202 / 15);
    EXPECT_NEAR(double(page.width()) / page.height(), 21.8 / 28.2, 0.005);
    EXPECT_EQ(window->DefilementV1->minimum(), -955);
    EXPECT_EQ(window->DefilementV1->value(), -955);
    EXPECT_EQ(window->picPage->y(), 955 / 15);
    EXPECT_EQ(window->picPage->x(), ((window->width() * 15 - 9202) / 2 - 200) / 15);
    // The test screen (800 x 800) is smaller than the window's 860 x 900: it opens within it.
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
}

TEST_F(PreviewWindowTest, ZoomResetsTheScrollBarThePageChoiceKeepsIt)
{
    window->resize(700, 500);
    window->tbPrint_ButtonMenuClick(QStringLiteral("Zoom"), 4);
    window->DefilementV1->setValue(300);
    EXPECT_EQ(window->picPage->y(), -300 / 15);
    window->tbPrint_ButtonMenuClick(QStringLiteral("Zoom"), 4);
    EXPECT_EQ(window->Button(QStringLiteral("Zoom"))->text(), QStringLiteral("100%"));
    EXPECT_EQ(window->DefilementV1->value(), -955);
    EXPECT_NEAR(window->picPage->pages().first().height(), 15870 / 15, 1);
    EXPECT_EQ(window->DefilementV1->maximum(), window->picPage->height() * 15 - window->height() * 15 + 960);

    window->DefilementV1->setValue(200);
    window->tbPrint_ButtonMenuClick(QStringLiteral("Page"), 2);
    EXPECT_EQ(window->Button(QStringLiteral("Page"))->text(), QStringLiteral("Skill"));
    EXPECT_EQ(window->DefilementV1->value(), 200);
    // Both skill pages are on show, one under the other.
    EXPECT_EQ(window->picPage->pages().size(), 2);
    EXPECT_GT(window->picPage->height(), 2 * window->picPage->pages().first().height());
    // A click on the page button itself changes nothing.
    window->tbPrint_ButtonClick(QStringLiteral("Page"));
    EXPECT_EQ(window->picPage->pages().size(), 2);
}

TEST_F(PreviewWindowTest, PrintAsksForThePrinterAndACancelPrintsNothing)
{
    ui->answerPrint(false);
    window->tbPrint_ButtonClick(QStringLiteral("Print"));
    EXPECT_FALSE(pdf->printed());
    EXPECT_TRUE(window->isVisible());

    ui->answerPrint(true);
    window->tbPrint_ButtonClick(QStringLiteral("Print"));
    ASSERT_TRUE(pdf->printed());
    EXPECT_EQ(pdf->pages(), 3);   // the main page and both skill pages
    EXPECT_TRUE(pdf->text().contains(Hero().Nom));
    EXPECT_EQ(ModPrint::PrintToPrinter, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(PreviewWindowTest, OptionPrintsTheMainPageAloneAndLeavesThePreviewOpen)
{
    ui->answerPrint(true);
    window->tbPrint_ButtonClick(QStringLiteral("Option"));
    ASSERT_TRUE(pdf->printed());
    EXPECT_EQ(pdf->pages(), 1);   // the main page alone
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Tag(), QStringLiteral("1"));

    pdf->forget();
    frmPrintOption option;
    option.setTag(QStringLiteral("1"));
    ui->answerPrint(false);
    EXPECT_EQ(option.exec(), QDialog::Rejected);
    EXPECT_FALSE(pdf->printed());

    window->tbPrint_ButtonClick(QStringLiteral("Quit"));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PreviewWindowTest, ACharacterNumberThatIsNoNumberIsReportedAndThePreviewStays)
{
    window->setTag(QString());
    ui->expectError(QStringLiteral("Page_Principal"), 13);
    window->Voir();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->picPage->pages().size(), 1);
}
