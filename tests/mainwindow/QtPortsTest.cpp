// The Qt face of the ports: file filters, message, error and input boxes.
#include "frame/FrameFixture.h"

#include "mainwindow/QtPorts.h"
#include "support/ModalDriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

QPushButton *buttonOf(QWidget *box, QMessageBox::StandardButton which)
{
    auto *mb = qobject_cast<QMessageBox *>(box);
    return mb ? qobject_cast<QPushButton *>(mb->button(which)) : nullptr;
}

void click(QWidget *box, QMessageBox::StandardButton which)
{
    QPushButton *b = buttonOf(box, which);
    ASSERT_NE(b, nullptr);
    b->click();
}

} // namespace

using QtPortsTest = FrameFixture;

TEST_F(QtPortsTest, FiltersBecomeQtFilters)
{
    EXPECT_EQ(QtPorts::QtFilter(QStringLiteral("All Files (*.pja)|*.pja")), QStringLiteral("All Files (*.pja)"));
    EXPECT_EQ(QtPorts::QtFilter(QStringLiteral("Characters|*.pja;*.bak|All|*.*")),
              QStringLiteral("Characters (*.pja *.bak);;All (*.*)"));
    EXPECT_EQ(QtPorts::DefaultSuffix(QStringLiteral("All Files (*.pja)|*.pja")), QStringLiteral("pja"));
    EXPECT_EQ(QtPorts::DefaultSuffix(QStringLiteral("All|*.*")), QString());
}

TEST_F(QtPortsTest, MessageBoxGivesTheButtonPressedAndCancelOnEscape)
{
    QtPorts qt;
    {
        ModalDriver driver;
        driver.then([](QWidget *w) {
            auto *mb = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(mb, nullptr);
            EXPECT_EQ(mb->icon(), QMessageBox::Question);
            EXPECT_EQ(mb->windowTitle(), QStringLiteral("Titre"));
            click(w, QMessageBox::No);
        });
        EXPECT_EQ(qt.MsgBox(QStringLiteral("Sûr ?"), ports::YesNo | ports::Question, QStringLiteral("Titre")),
                  ports::No);
    }
    {
        ModalDriver driver;
        driver.then([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
        EXPECT_EQ(qt.MsgBox(QStringLiteral("Encore ?"), ports::YesNoCancel, QString()), ports::Cancel);
    }
    {
        // The second button is the default one: Return presses it.
        ModalDriver driver;
        driver.then([](QWidget *w) {
            auto *mb = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(mb, nullptr);
            EXPECT_EQ(mb->defaultButton(), buttonOf(w, QMessageBox::Cancel));
            click(w, QMessageBox::Ok);
        });
        EXPECT_EQ(qt.MsgBox(QStringLiteral("?"), ports::OkCancel | 256, QString()), ports::Ok);
    }
}

TEST_F(QtPortsTest, ErrorBoxIsCriticalWithOneOk)
{
    QtPorts qt;
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *mb = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(mb, nullptr);
        EXPECT_EQ(mb->icon(), QMessageBox::Critical);
        EXPECT_EQ(mb->buttons().size(), 1);
        EXPECT_EQ(mb->text(), QStringLiteral("texte"));
        click(w, QMessageBox::Ok);
    });
    qt.ErrorBox(QStringLiteral("texte"), Strings::Load(1037));
    EXPECT_TRUE(driver.allStepsRan());
}

TEST_F(QtPortsTest, CancelledInputBoxGivesEmptyText)
{
    QtPorts qt;
    ModalDriver driver;
    driver.then([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(qt.InputBox(QStringLiteral("Nom"), QStringLiteral("T"), QStringLiteral("Aldric")), QString());
}
