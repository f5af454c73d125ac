#pragma once
// The main window: the frame that holds every character window, with the
// menus and the toolbar that start every action. Its Tag is the number of the
// current character (empty when there is none). The windows it opens know it
// only as a MainFrame.
#include "frame/ui/MainFrame.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <initializer_list>

class CharacterWindow;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

class frmMain : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The one main window, null while there is none.
    static frmMain *instance();

    QString Tag() const override;
    void setTag(const QString &value) override;

    QMdiArea *mdiArea() const { return m_mdi; }
    QToolBar *tbToolBar = nullptr;
    // Toolbar button by its number, 1 to 10 (4 and 9 are separators).
    QAction *Button(int index) const;
    void SetButtons(std::initializer_list<int> enable, std::initializer_list<int> disable) override;

    // Menu entries, by their names in the layout.
    QAction *mnuFileNew = nullptr, *mnuFileOpen = nullptr, *mnuFileClose = nullptr, *mnuFileSave = nullptr,
            *mnuFileSaveAs = nullptr, *mnuFileProperties = nullptr, *mnuFilePrintPreview = nullptr,
            *mnuFilePrint = nullptr, *mnuFileExit = nullptr, *mnuWindowCascade = nullptr,
            *mnuWindowTileHorizontal = nullptr, *mnuWindowTileVertical = nullptr,
            *mnuWindowArrangeIcons = nullptr, *mnuHelpContents = nullptr, *mnuHelpSearch = nullptr,
            *mnuHelpAbout = nullptr;

    void MDIForm_Activate() override;
    void tbToolBar_ButtonClick(const QString &key);

    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFilePrint_Click();
    void mnuFilePrintPreview_Click();
    void mnuFileExit_Click();
    void mnuFileClose_Click();
    void mnuFileProperties_Click();
    void mnuHelpAbout_Click();
    // 0 cascade, 1 tile horizontally, 2 tile vertically, 3 arrange icons.
    void Arrange(int arrangement);

    void Present(CharacterWindow *w) override;
    // Grows the frame, within the screen, until a maximised w fits in it whole.
    void FitToWindow(CharacterWindow *w);
    // Shows a window of a per-character table: gives it the current
    // character and fills it if it has lost its number, then presents it and
    // lets it set the toolbar.
    void ShowForm(CharacterWindow *w);
    void ShowLevelStage(CharacterWindow *w);

    // The placement keys and their defaults, in twips.
    static constexpr float DefaultLeft = 1000, DefaultTop = 1000, DefaultWidth = 6500, DefaultHeight = 6500;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    QWidget *FrameWidget() override { return this; }

private:
    void MDIForm_Load();
    void MDIForm_Unload();
    void BuildMenus();
    void BuildToolbar();
    // The character number of the active child window; 0 when there is none.
    int ActiveChildNumber() const;
    // Shows the refusal when the window tables have no slot for another character.
    bool RefuseWhenFull(int limit);

    QMdiArea *m_mdi = nullptr;
    std::array<QAction *, 11> m_buttons{};
};
