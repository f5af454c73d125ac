#include "print/frmPrint.h"

#include "frame/ErrorReporter.h"
#include "frame/ui/Twips.h"
#include "platform/ports.h"
#include "platform/vb.h"
#include "print/ModPrint.h"
#include "print/frmPrintOption.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace {
// The page's size at 100 %, and where it starts below the window's top, in twips.
constexpr int kPageWidth = 12270;
constexpr int kPageHeight = 15870;
constexpr int kTopMargin = 955;
} // namespace

// ---------------------------------------------------------------- PagePicture

PagePicture::PagePicture(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePicture::setPages(const QVector<QImage> &pages)
{
    m_pages = pages;
    int w = 0, h = 0;
    for (const QImage &page : m_pages) {
        w = std::max(w, page.width());
        h += page.height() + (h > 0 ? kGap : 0);
    }
    if (!m_pages.isEmpty())
        resize(w, h);
    update();
}

void PagePicture::paintEvent(QPaintEvent *)
{
    // Only the pictures of the last drawing are shown here; drawing the page
    // again on every paint would repaint without end.
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    int y = 0;
    for (const QImage &page : m_pages) {
        p.drawImage(QPoint(0, y), page);
        y += page.height() + kGap;
    }
}

// ---------------------------------------------------------------- frmPrint

frmPrint::frmPrint(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Aperçu"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);

    picPage = new PagePicture(this);
    picPage->setObjectName(QStringLiteral("picPage"));
    picLogo = new QLabel(this);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setPixmap(QPixmap::fromImage(ModPrint::LogoPicture()));
    picLogo->hide();
    picImage = new QLabel(this);
    picImage->setObjectName(QStringLiteral("picImage"));
    picImage->hide();

    tbPrint = new QToolBar(this);
    tbPrint->setObjectName(QStringLiteral("tbPrint"));
    tbPrint->setAutoFillBackground(true);
    tbPrint->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const QString &key, const QString &caption, QMenu *menu) {
        auto *b = new QToolButton(tbPrint);
        b->setObjectName(key);
        b->setText(caption);
        b->setAutoRaise(true);
        if (menu) {
            b->setMenu(menu);
            b->setPopupMode(QToolButton::MenuButtonPopup);
        }
        connect(b, &QToolButton::clicked, this, [this, key] { tbPrint_ButtonClick(key); });
        tbPrint->addWidget(b);
        return b;
    };
    const auto menu = [this](const QString &key, const QStringList &entries) {
        auto *m = new QMenu(this);
        m->setObjectName(QStringLiteral("mnu") + key);
        for (int i = 0; i < entries.size(); ++i) {
            QAction *a = m->addAction(entries[i]);
            // Entries are numbered from 1, as the button's Tag keeps them.
            connect(a, &QAction::triggered, this, [this, key, i] { tbPrint_ButtonMenuClick(key, i + 1); });
        }
        return m;
    };
    mnuZoom = menu(QStringLiteral("Zoom"), {QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"),
                                            QStringLiteral("100%")});
    mnuPage = menu(QStringLiteral("Page"), {QStringLiteral("Général"), QStringLiteral("Skill")});
    button(QStringLiteral("Option"), QStringLiteral("&Option..."), nullptr);
    tbPrint->addSeparator();
    button(QStringLiteral("Zoom"), QString(), mnuZoom);
    tbPrint->addSeparator();
    button(QStringLiteral("Page"), QString(), mnuPage);
    tbPrint->addSeparator();
    button(QStringLiteral("Print"), QStringLiteral("&Imprimer"), nullptr);
    button(QStringLiteral("Quit"), QStringLiteral("&Quitter"), nullptr);

    DefilementV1 = new QScrollBar(Qt::Vertical, this);
    DefilementV1->setObjectName(QStringLiteral("DéfilementV1"));
    connect(DefilementV1, &QScrollBar::valueChanged, this, [this] { DefilementV1_Change(); });

    resize(OpeningSize());
    Form_Load();
}

QSize frmPrint::OpeningSize() const
{
    // Its own size where the screen it opens on holds it; otherwise as much
    // of that screen as is free, less the frame the system draws round a
    // window (known from the main window's, before this one is shown).
    const QSize wanted(860, 900);
    const QScreen *scr = screen();
    if (!scr)
        return wanted;
    QSize frame(0, 0);
    if (const QWidget *main = parentWidget() ? parentWidget()->window() : nullptr; main && main->isVisible())
        frame = main->frameGeometry().size() - main->size();
    return wanted.boundedTo(scr->availableGeometry().size() - frame);
}

QString frmPrint::Tag() const
{
    return property("Tag").toString();
}

void frmPrint::setTag(const QString &tag)
{
    setProperty("Tag", tag);
}

QToolButton *frmPrint::Button(const QString &key) const
{
    return tbPrint->findChild<QToolButton *>(key);
}

void frmPrint::Form_Load()
{
    DefilementV1->setMaximum(100);
    DefilementV1->setMinimum(0);
    DefilementV1->setPageStep(1500);
    DefilementV1->setSingleStep(50);
    QToolButton *zoom = Button(QStringLiteral("Zoom"));
    zoom->setProperty("Tag", 3);
    zoom->setText(mnuZoom->actions().at(2)->text());
    QToolButton *page = Button(QStringLiteral("Page"));
    page->setProperty("Tag", 1);
    page->setText(mnuPage->actions().at(0)->text());
    ResetScroll = 1;
}

void frmPrint::Voir()
{
    const OneErrorBox once;   // one action, one box
    try {
        picPage->hide();
        const double z = vb::Val(Button(QStringLiteral("Zoom"))->text());
        const int w = int(vb::Int(z / 100 * kPageWidth));
        const int h = int(vb::Int(z / 100 * kPageHeight));
        picPage->resize(TwipsToPixels(w), TwipsToPixels(h));
        picPage->move(TwipsToPixels(vb::IDiv(std::nearbyint(double(PixelsToTwips(width()) - w)), 2) - 200), picPage->y());
        ModPrint::PrintToPrinter = 0;
        if (ResetScroll == 1) {
            DefilementV1->setMinimum(-kTopMargin);
            DefilementV1->setMaximum(std::max(-kTopMargin, h - PixelsToTwips(height()) + 960));
            DefilementV1->setSingleStep(100);
            DefilementV1->setValue(DefilementV1->minimum());
            picPage->move(picPage->x(), TwipsToPixels(-DefilementV1->value()));
        }
        picPage->show();
        const QString mask =
            Button(QStringLiteral("Page"))->property("Tag").toInt() == 2 ? QStringLiteral("10") : QStringLiteral("01");

        print::ImagePageTarget target(picPage->size());
        ModPrint::Setup_Page(mask, Tag(), target);
        picPage->setPages(target.Pages());
        ReachLastPage();
        ResetScroll = 0;
    } catch (...) {
        ReportCurrentException(objectName() + QStringLiteral(".Voir"));
    }
}

void frmPrint::ReachLastPage()
{
    // Every page of the drawing is shown, one under the other: the scroll
    // bar reaches the last one.
    DefilementV1->setMaximum(
        std::max(DefilementV1->minimum(), PixelsToTwips(picPage->height()) - PixelsToTwips(height()) + 960));
}

void frmPrint::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Opened with no main window to measure by, the frame round the window
    // is known only now: the window is kept within the free part of its
    // screen with it.
    const QScreen *scr = screen();
    const QRect frame = frameGeometry();
    if (!scr || scr->availableGeometry().contains(frame))
        return;
    const QRect avail = scr->availableGeometry();
    resize(size().boundedTo(avail.size() - (frame.size() - size())));
    move(std::clamp(frame.x(), avail.left(), std::max(avail.left(), avail.right() + 1 - frameGeometry().width())),
         std::clamp(frame.y(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - frameGeometry().height())));
    if (!picPage->pages().isEmpty())
        ReachLastPage();
}

void frmPrint::DefilementV1_Change()
{
    picPage->move(picPage->x(), TwipsToPixels(-DefilementV1->value()));
}

void frmPrint::Form_Resize()
{
    const int bar = tbPrint->sizeHint().height();
    tbPrint->setGeometry(0, 0, width(), bar);
    tbPrint->raise();
    DefilementV1->setGeometry(TwipsToPixels(PixelsToTwips(width()) - 340), bar, DefilementV1->sizeHint().width(),
                              std::max(1, TwipsToPixels(PixelsToTwips(height()) - PixelsToTwips(bar) - 400)));
    DefilementV1->raise();
}

void frmPrint::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmPrint::wheelEvent(QWheelEvent *event)
{
    DefilementV1->setValue(DefilementV1->value() - event->angleDelta().y() / 120 * 3 * 100);
    event->accept();
}

void frmPrint::tbPrint_ButtonClick(const QString &key)
{
    try {
        if (key == QLatin1String("Option")) {
            frmPrintOption option(this);
            option.setTag(Tag());
            option.exec();
            setTag(option.Tag());
        } else if (key == QLatin1String("Zoom")) {
            ResetScroll = 1;
            Voir();
        } else if (key == QLatin1String("Print")) {
            // A cancelled print dialog prints nothing.
            if (!ports::ui().PrintDialog())
                return;
            {
                ModPrint::PrinterTarget toPrinter;
                ModPrint::Setup_Page(QStringLiteral("11"), Tag());
            }
            accept();
        } else if (key == QLatin1String("Quit")) {
            reject();
        }
    } catch (...) {
        ReportCurrentException(objectName() + QStringLiteral(".tbPrint.ButtonClick"));
    }
}

void frmPrint::tbPrint_ButtonMenuClick(const QString &key, int index)
{
    QMenu *menu = key == QLatin1String("Zoom") ? mnuZoom : key == QLatin1String("Page") ? mnuPage : nullptr;
    if (!menu || index < 1 || index > menu->actions().size())
        return;
    QToolButton *b = Button(key);
    b->setProperty("Tag", index);
    b->setText(menu->actions().at(index - 1)->text());
    tbPrint_ButtonClick(key);
    if (key == QLatin1String("Page"))
        Voir();
}
