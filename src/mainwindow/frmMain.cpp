#include "mainwindow/frmMain.h"

#include "character/Players.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "frame/ui/frmOptions.h"
#include "frame/ui/frmSplash.h"
#include "newcharacter/frmInitChoise.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"
#include "print/ModPrint.h"
#include "print/frmPrint.h"
#include "skilldev/frmSkillDev.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>

using namespace ModGeneral;

namespace {
const QString kCharacterFilter = QStringLiteral("All Files (*.pja)|*.pja");
const char *const kSettingsSection = "Settings";

// The user's settings store of the program ("Quorvane"/"Quorvane").
std::unique_ptr<QSettings> PlacementStore()
{
    auto s = std::make_unique<QSettings>(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
    s->beginGroup(QLatin1String(kSettingsSection));
    return s;
}

// Runs a handler so that no error leaves it: an error is reported once, with
// the handler's location, and the program goes on.
void Guarded(const QString &location, const std::function<void()> &body)
{
    try {
        body();
    } catch (...) {
        ReportCurrentException(location);
    }
}

// Far beyond any screen, and beyond what a pixel coordinate can hold once
// divided down: such a value cannot be a placement this window ever had.
constexpr float kPlacementLimit = 10000000.0f;

// A stored placement value: the decimal text of a number, in twips; anything
// else (missing, empty, not a number, out of all reach) gives the default.
float ReadPlacement(QSettings &s, const char *key, float def)
{
    const QVariant v = s.value(QLatin1String(key));
    if (!v.isValid())
        return def;
    bool ok = false;
    const float f = v.toString().trimmed().toFloat(&ok);
    return ok && std::isfinite(f) && std::fabs(f) <= kPlacementLimit ? f : def;
}

int PlacementPixels(float twips)
{
    return static_cast<int>(std::nearbyint(twips / double(kTwipsPerPixel)));
}

QString PlacementText(int pixels)
{
    return QString::number(static_cast<float>(PixelsToTwips(pixels)), 'g', 7);
}

// A file name cannot hold a folder separator; the rest of the name is kept.
QString PresetFileName(const QString &name)
{
    QString s = name;
    for (QChar &c : s)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0))
            c = QLatin1Char('_');
    return s + QStringLiteral(".pja");
}

QIcon BlankIcon()
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    return QIcon(pm);
}

// Our own pictures for the character buttons, in colour, so that the greyed
// form Qt derives for a disabled button is plainly different.
QIcon PaintedIcon(const std::function<void(QPainter &)> &draw)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pm);
}

QIcon SheetIcon()
{
    return PaintedIcon([](QPainter &p) {
        p.setPen(QPen(QColor(40, 70, 140), 1.5));
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(4.5, 2.5, 15, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QRectF(9, 5, 6, 6));
        p.drawRoundedRect(QRectF(7.5, 11.5, 9, 5), 2, 2);
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.drawLine(QPointF(7, 18.5), QPointF(17, 18.5));
    });
}

QIcon SkillIcon()
{
    return PaintedIcon([](QPainter &p) {
        p.setPen(QPen(QColor(40, 100, 40), 1.5));
        p.drawLine(QPointF(5, 4), QPointF(5, 20));
        p.drawLine(QPointF(5, 7), QPointF(9, 7));
        p.drawLine(QPointF(5, 13), QPointF(9, 13));
        p.drawLine(QPointF(5, 19), QPointF(9, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 150, 60));
        p.drawRect(QRectF(10, 5, 11, 4));
        p.setBrush(QColor(200, 140, 30));
        p.drawRect(QRectF(10, 11, 8, 4));
        p.setBrush(QColor(170, 60, 60));
        p.drawRect(QRectF(10, 17, 10, 4));
    });
}

QIcon LevelIcon()
{
    return PaintedIcon([](QPainter &p) {
        p.setPen(QPen(QColor(20, 90, 30), 1.2));
        p.setBrush(QColor(60, 170, 70));
        const QPointF arrow[] = {{12, 2}, {21, 12}, {16, 12}, {16, 21}, {8, 21}, {8, 12}, {3, 12}};
        p.drawPolygon(arrow, 7);
    });
}
} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow *sub) {
        if (!sub)
            return;
        if (auto *w = qobject_cast<CharacterWindow *>(sub->widget()))
            Guarded(w->objectName() + QStringLiteral(".Activate"), [w] { w->Form_Activate(); });
    });
    BuildMenus();
    BuildToolbar();
    MDIForm_Load();
}

frmMain::~frmMain()
{
    ClearFormTables();
}

frmMain *frmMain::instance()
{
    return dynamic_cast<frmMain *>(MainFrame::instance());
}

QString frmMain::Tag() const
{
    return tag(this);
}

void frmMain::setTag(const QString &value)
{
    ::setTag(this, value);
}

void frmMain::BuildMenus()
{
    auto entry = [this](QMenu *menu, QAction *&slot, const char *name, const char *number,
                        void (frmMain::*handler)()) {
        slot = menu->addAction(QLatin1String(number));
        slot->setObjectName(QLatin1String(name));
        if (handler)
            connect(slot, &QAction::triggered, this, [this, handler, name] {
                Guarded(objectName() + QLatin1Char('.') + QLatin1String(name) + QStringLiteral(".Click"),
                        [this, handler] { (this->*handler)(); });
            });
        else
            slot->setEnabled(false);
    };
    auto separator = [](QMenu *menu, const char *name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };

    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("1001"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    entry(mnuFile, mnuFileNew, "mnuFileNew", "1002", &frmMain::mnuFileNew_Click);
    entry(mnuFile, mnuFileOpen, "mnuFileOpen", "1003", &frmMain::mnuFileOpen_Click);
    entry(mnuFile, mnuFileClose, "mnuFileClose", "1004", &frmMain::mnuFileClose_Click);
    separator(mnuFile, "mnuFileBar1");
    entry(mnuFile, mnuFileSave, "mnuFileSave", "1005", &frmMain::mnuFileSave_Click);
    entry(mnuFile, mnuFileSaveAs, "mnuFileSaveAs", "1006", &frmMain::mnuFileSaveAs_Click);
    separator(mnuFile, "mnuFileBar2");
    entry(mnuFile, mnuFileProperties, "mnuFileProperties", "1042", &frmMain::mnuFileProperties_Click);
    separator(mnuFile, "mnuFileBar3");
    entry(mnuFile, mnuFilePrintPreview, "mnuFilePrintPreview", "1009", &frmMain::mnuFilePrintPreview_Click);
    entry(mnuFile, mnuFilePrint, "mnuFilePrint", "1010", &frmMain::mnuFilePrint_Click);
    separator(mnuFile, "mnuFileBar4");
    entry(mnuFile, mnuFileExit, "mnuFileExit", "1012", &frmMain::mnuFileExit_Click);

    QMenu *mnuWindow = menuBar()->addMenu(QStringLiteral("1025"));
    mnuWindow->setObjectName(QStringLiteral("mnuWindow"));
    mnuWindow->menuAction()->setObjectName(QStringLiteral("mnuWindow"));
    entry(mnuWindow, mnuWindowCascade, "mnuWindowCascade", "1027", nullptr);
    entry(mnuWindow, mnuWindowTileHorizontal, "mnuWindowTileHorizontal", "1028", nullptr);
    entry(mnuWindow, mnuWindowTileVertical, "mnuWindowTileVertical", "1029", nullptr);
    entry(mnuWindow, mnuWindowArrangeIcons, "mnuWindowArrangeIcons", "1030", nullptr);
    const std::array<QAction *, 4> arrangements{mnuWindowCascade, mnuWindowTileHorizontal, mnuWindowTileVertical,
                                                mnuWindowArrangeIcons};
    for (int i = 0; i < 4; ++i) {
        arrangements[i]->setEnabled(true);
        connect(arrangements[i], &QAction::triggered, this, [this, i] { Arrange(i); });
    }

    QMenu *mnuHelp = menuBar()->addMenu(QStringLiteral("1031"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    // There is no help to show: the two entries stay, greyed.
    entry(mnuHelp, mnuHelpContents, "mnuHelpContents", "1032", nullptr);
    entry(mnuHelp, mnuHelpSearch, "mnuHelpSearch", "1033", nullptr);
    separator(mnuHelp, "mnuHelpBar1");
    entry(mnuHelp, mnuHelpAbout, "mnuHelpAbout", "1034", &frmMain::mnuHelpAbout_Click);
}

void frmMain::BuildToolbar()
{
    tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    QStyle *st = style();
    struct Def {
        const char *key;
        const char *tooltip;
        QIcon icon;
    };
    const std::array<Def, 10> defs{{
        {"New", "1002", st->standardIcon(QStyle::SP_FileIcon)},
        {"Open", "1003", st->standardIcon(QStyle::SP_DialogOpenButton)},
        {"Save", "1005", st->standardIcon(QStyle::SP_DialogSaveButton)},
        {nullptr, nullptr, {}},
        {"Print", "1010", st->standardIcon(QStyle::SP_FileDialogContentsView)},
        {"", "3514", BlankIcon()},
        {"General", "3040", SheetIcon()},
        {"Skill", "3510", SkillIcon()},
        {nullptr, nullptr, {}},
        {"Level", "3092", LevelIcon()},
    }};
    for (int i = 0; i < 10; ++i) {
        const Def &d = defs[i];
        QAction *a = nullptr;
        if (!d.key) {
            a = tbToolBar->addSeparator();
        } else {
            const QString key = QLatin1String(d.key);
            a = tbToolBar->addAction(d.icon, key);
            a->setToolTip(QLatin1String(d.tooltip));
            a->setProperty("ToolTipText", QLatin1String(d.tooltip));
            a->setProperty("Key", key);
            connect(a, &QAction::triggered, this, [this, key] {
                Guarded(objectName() + QStringLiteral(".tbToolBar.ButtonClick"),
                        [this, key] { tbToolBar_ButtonClick(key); });
            });
        }
        a->setObjectName(QStringLiteral("tbToolBar_%1").arg(i + 1));
        m_buttons[i + 1] = a;
    }
}

QAction *frmMain::Button(int index) const
{
    return index >= 1 && index <= 10 ? m_buttons[index] : nullptr;
}

void frmMain::SetButtons(std::initializer_list<int> enable, std::initializer_list<int> disable)
{
    for (int i : enable)
        if (QAction *a = Button(i))
            a->setEnabled(true);
    for (int i : disable)
        if (QAction *a = Button(i))
            a->setEnabled(false);
}

// ------------------------------------------------------------------ load, unload, activate

void frmMain::MDIForm_Load()
{
    LoadFormStrings(this);
    setWindowTitle(ProgramTitle());
    const auto s = PlacementStore();
    const float left = ReadPlacement(*s, "MainLeft", DefaultLeft);
    const float top = ReadPlacement(*s, "MainTop", DefaultTop);
    const float width = ReadPlacement(*s, "MainWidth", DefaultWidth);
    const float height = ReadPlacement(*s, "MainHeight", DefaultHeight);
    QRect placed(PlacementPixels(left), PlacementPixels(top), std::max(1, PlacementPixels(width)),
                 std::max(1, PlacementPixels(height)));
    // A placement kept from a screen that is no longer there would open the
    // program where the player can neither see nor reach it.
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!screens.isEmpty() && std::none_of(screens.begin(), screens.end(), [&placed](const QScreen *scr) {
            return scr->geometry().intersects(placed);
        }))
        placed = QRect(PlacementPixels(DefaultLeft), PlacementPixels(DefaultTop), PlacementPixels(DefaultWidth),
                       PlacementPixels(DefaultHeight));
    move(placed.topLeft());
    resize(placed.size());
    MDIForm_Activate();
}

void frmMain::MDIForm_Unload()
{
    Guarded(objectName() + QStringLiteral(".unload"), [this] {
        // A minimised window keeps the placement of the last run.
        if (isMinimized())
            return;
        const auto s = PlacementStore();
        s->setValue(QStringLiteral("MainLeft"), PlacementText(x()));
        s->setValue(QStringLiteral("MainTop"), PlacementText(y()));
        s->setValue(QStringLiteral("MainWidth"), PlacementText(width()));
        s->setValue(QStringLiteral("MainHeight"), PlacementText(height()));
        s->sync();
    });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Characters still being made are asked about first: one the player keeps
    // keeps the program open, with every other window as it was.
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        const auto *w = qobject_cast<CharacterWindow *>(sub->widget());
        if (w && w->BeingMade() && !sub->close()) {
            event->ignore();
            return;
        }
    }
    m_mdi->closeAllSubWindows();
    // Only now is the program really ending: a window the player moved after
    // keeping it open is stored where it ends up.
    MDIForm_Unload();
    event->accept();
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Guarded(objectName() + QStringLiteral(".Activate"), [this] { MDIForm_Activate(); });
}

void frmMain::MDIForm_Activate()
{
    if (Tag().isEmpty()) {
        SetButtons({}, {3, 5, 7, 8, 10});
        return;
    }
    QMdiSubWindow *sub = m_mdi->currentSubWindow();
    QWidget *child = sub ? sub->widget() : nullptr;
    const QString name = child ? child->objectName() : QString();
    if (name == QLatin1String("frmGeneral")) {
        SetButtons({3, 5, 8, 10}, {7});
    } else if (auto *skill = qobject_cast<frmSkillDev *>(child)) {
        skill->ToolbarFor(*this, TagNumber(this));
    } else {
        SetButtons({}, {3, 5, 7, 8, 10});
    }
}

// ------------------------------------------------------------------ toolbar

void frmMain::tbToolBar_ButtonClick(const QString &key)
{
    if (key == QLatin1String("New")) {
        mnuFileNew_Click();
    } else if (key == QLatin1String("Open")) {
        mnuFileOpen_Click();
    } else if (key == QLatin1String("Save")) {
        mnuFileSave_Click();
    } else if (key == QLatin1String("Print")) {
        mnuFilePrintPreview_Click();
    } else if (key == QLatin1String("General")) {
        if (!Tag().isEmpty())
            ShowForm(GeneralForms[TagNumber(this)]);
    } else if (key == QLatin1String("Skill")) {
        if (!Tag().isEmpty())
            ShowLevelStage(SkillDevForms[TagNumber(this)]);
    } else if (key == QLatin1String("Level")) {
        const int n = TagNumber(this);
        auto *skill = qobject_cast<frmSkillDev *>(SkillDevForms[n]);
        if (!skill || n > PlayerCount)
            return;
        // A level already under way keeps its points and purchases.
        if (skill->Number() >= 1 && skill->btnEnd->isEnabled()) {
            ShowForm(skill);
            return;
        }
        skill->btnEnd->setEnabled(true);
        skill->labPD->setText(QString::number(Players(n).DevelopmentPoint()));
        if (!Tag().isEmpty())
            ShowLevelStage(skill);
        // Purchases the player already made in this window (opened with
        // Skill) stay listed: their cost is not given back a second time.
        skill->ShowStagePoints();
    }
}

void frmMain::Present(CharacterWindow *w)
{
    if (!w)
        return;
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    if (!sub)
        sub = m_mdi->addSubWindow(w);
    FitToWindow(w);
    sub->showMaximized();
    m_mdi->setActiveSubWindow(sub);
    w->setFocus();
}

void frmMain::FitToWindow(CharacterWindow *w)
{
    // A maximised character window gets the frame's client area and no scroll
    // bar: a frame smaller than the window's layout would cut off its buttons.
    // The frame grows as far as the screen allows; it never shrinks, so a size
    // the player chose is kept whenever the window fits.
    if (isMaximized() || isFullScreen() || !w)
        return;
    const QSize need = w->FitSize();
    const QSize have = m_mdi->viewport()->size();
    const int dw = std::max(0, need.width() - have.width());
    const int dh = std::max(0, need.height() - have.height());
    if (dw == 0 && dh == 0)
        return;
    QSize target = size() + QSize(dw, dh);
    if (const QScreen *scr = screen()) {
        const QRect avail = scr->availableGeometry();
        const QSize frameExtra = frameGeometry().size() - size();
        target = target.boundedTo(avail.size() - frameExtra);
        resize(target);
        // Keep the grown frame on the screen.
        QPoint at = pos();
        at.setX(std::max(avail.left(), std::min(at.x(), avail.right() + 1 - frameGeometry().width())));
        at.setY(std::max(avail.top(), std::min(at.y(), avail.bottom() + 1 - frameGeometry().height())));
        move(at);
    } else {
        resize(target);
    }
}

void frmMain::ShowLevelStage(CharacterWindow *w)
{
    // Skill and Level open a level stage, which shows the whole tree even
    // while another character's language stage has the language-only mode.
    const QString mode = std::exchange(ModGeneral::SkillDevMode, QString());
    ShowForm(w);
    ModGeneral::SkillDevMode = mode;
}

void frmMain::ShowForm(CharacterWindow *w)
{
    if (!w)
        return;
    if (w->Number() < 1) {
        w->setTag(Tag());
        w->LoadData();
    }
    Present(w);
    w->Tableau();
}

// ------------------------------------------------------------------ File

bool frmMain::RefuseWhenFull(int limit)
{
    if (PlayerCount < limit)
        return false;
    const QString text = Strings::Load(limit == NewCharacterLimit ? 9040 : 9041);
    ports::ui().MsgBox(text.arg(limit), ports::OkOnly | ports::Exclamation, ProgramTitle());
    return true;
}

void frmMain::mnuFileNew_Click()
{
    // One action, one box: a window that could not load says why, and the
    // handlers its load runs then fail on its empty lists without a word.
    const OneErrorBox once;
    // A number given up with a character still being made is given again first.
    int n = TakeReleasedPlayer(NewCharacterLimit);
    if (n == 0) {
        if (RefuseWhenFull(NewCharacterLimit))
            return;
        const qint16 before = PlayerCount;
        RedimPlayer();
        if (PlayerCount == before)
            return;   // the growth failed and has been reported
        n = PlayerCount;
    }
    auto *w = new frmInitChoise;
    InitForms.put(n, w);
    w->setTag(QString::number(n));
    w->optSex[0]->setChecked(true);
    Personnage &p = Players(n);
    p.Age = 18.0f;
    p.Money = 20000;
    p.Nom = Strings::Load(3540) + QLatin1Char(' ') + w->Tag();
    w->setWindowTitle(p.Nom + QStringLiteral(" (") + Strings::Load(3006) + QLatin1Char(')'));
    Present(w);
}

void frmMain::mnuFileOpen_Click()
{
    if (RefuseWhenFull(OpenCharacterLimit))
        return;
    const QString path = ports::ui().OpenFileName(kCharacterFilter, AppFolder(), QString());
    if (path.isEmpty())
        return;
    const qint16 before = PlayerCount;
    RedimPlayer();
    if (PlayerCount == before)
        return;
    const int n = PlayerCount;
    Personnage &p = Players(n);
    p.FileName = path;
    if (!p.LoadP()) {
        // A file that could not be read whole opens no window, and its number
        // goes back for the next character: no half-read record stays behind
        // that a later Save could write over the player's file.
        GiveBackPlayer(n);
        return;
    }
    setTag(QString::number(n));
    // Made only: the Skill and Level buttons fill it when they first show it.
    SkillDevForms.put(n, SkillDevForms.make());
    CharacterWindow *sheet = GeneralForms.make();
    if (!GeneralForms.put(n, sheet) || !sheet)
        return;
    sheet->setTag(QString::number(n));
    sheet->LoadData();
    Present(sheet);
}

int frmMain::ActiveChildNumber() const
{
    QMdiSubWindow *sub = m_mdi->currentSubWindow();
    QWidget *child = sub ? sub->widget() : nullptr;
    const int n = TagNumber(child);
    return n >= 1 && n <= PlayerCount ? n : 0;
}

namespace {

// What the player is still typing goes into the record before it is written.
void StoreTyping(int n)
{
    for (CharacterWindow *w : {SkillDevForms.peek(n), GeneralForms.peek(n)})
        if (w)
            w->StoreTyping();
}

} // namespace

void frmMain::mnuFileSave_Click()
{
    const int i = ActiveChildNumber();
    if (i == 0)
        return;
    if (!Players(i).FileName.isEmpty()) {
        StoreTyping(i);
        Players(i).SaveP();
    } else
        mnuFileSaveAs_Click();
}

void frmMain::mnuFileSaveAs_Click()
{
    const int i = ActiveChildNumber();
    if (i == 0)
        return;
    const QString path = ports::ui().SaveFileName(kCharacterFilter, QString(), PresetFileName(Players(i).Nom),
                                                  QString());
    if (path.isEmpty())
        return;
    const int j = ActiveChildNumber();
    if (j == 0)
        return;
    // A save that failed leaves the character under the name it had, so the
    // next Save does not go back to a place that cannot take it.
    StoreTyping(j);
    const QString previous = Players(j).FileName;
    Players(j).FileName = path;
    if (!Players(j).SaveP())
        Players(j).FileName = previous;
}

void frmMain::mnuFilePrint_Click()
{
    if (Tag().isEmpty())
        return;   // no current character: nothing to print
    try {
        if (!ports::ui().PrintDialog())
            return;
        ModPrint::PrinterTarget toPrinter;
        ModPrint::Setup_Page(QStringLiteral("11"), Tag());
    } catch (...) {
        ReportCurrentException(objectName() + QStringLiteral(".mneFilePrint.Click"));
    }
}

void frmMain::mnuFilePrintPreview_Click()
{
    if (Tag().isEmpty())
        return;
    frmPrint preview(this);
    preview.setTag(Tag());
    preview.Voir();
    preview.exec();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuFileClose_Click()
{
    m_mdi->closeActiveSubWindow();
}

void frmMain::mnuFileProperties_Click()
{
    auto *dlg = new frmOptions(this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->show();
}

void frmMain::mnuHelpAbout_Click()
{
    frmSplash about(this);
    about.exec();
}

// ------------------------------------------------------------------ Window

void frmMain::Arrange(int arrangement)
{
    const QList<QMdiSubWindow *> all = m_mdi->subWindowList(QMdiArea::CreationOrder);
    const QRect area = m_mdi->viewport()->rect();
    if (arrangement == 0) {
        m_mdi->cascadeSubWindows();
        // Each window at its layout's size as far as the frame holds it below
        // and right of its corner: what is left over, it scrolls.
        for (QMdiSubWindow *sub : all)
            if (sub->isVisible() && !sub->isMinimized())
                sub->resize(sub->size().boundedTo(
                    QSize(area.right() + 1 - sub->x(), area.bottom() + 1 - sub->y()).expandedTo(QSize(1, 1))));
        return;
    }
    if (arrangement == 3) {
        // Minimised windows in rows along the bottom edge, from the left; a
        // row that is full goes on above the last, so none falls outside.
        int x = 0, rowBottom = area.height(), rowHeight = 0;
        for (QMdiSubWindow *sub : all) {
            if (!sub->isVisible() || !sub->isMinimized())
                continue;
            if (x > 0 && x + sub->width() > area.width()) {
                rowBottom -= rowHeight;
                x = 0;
                rowHeight = 0;
            }
            sub->move(x, std::max(0, rowBottom - sub->height()));
            x += sub->width();
            rowHeight = std::max(rowHeight, sub->height());
        }
        return;
    }
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *sub : all)
        if (sub->isVisible() && !sub->isMinimized())
            open << sub;
    if (open.isEmpty())
        return;
    const int count = static_cast<int>(open.size());
    for (int i = 0; i < count; ++i) {
        open[i]->showNormal();
        if (arrangement == 1) {
            const int h = area.height() / count;
            open[i]->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / count;
            open[i]->setGeometry(i * w, 0, w, area.height());
        }
    }
}
