#pragma once
// What the character windows need of the main window, without knowing it: the
// current character's number (its Tag), the toolbar's buttons by number, the
// toolbar's re-evaluation, and a place among its child windows. The main
// window implements it; the windows reach it through instance().
#include "frame/ui/LoadFormStrings.h"

#include <QString>
#include <initializer_list>

class CharacterWindow;
class QWidget;

class MainFrame {
public:
    // The one main frame, null while there is none.
    static MainFrame *instance();
    // The main window as the owner of a dialog; null while there is none.
    static QWidget *Owner();
    // Where a dialog opened from a step belongs: the active modal dialog,
    // else the main window (null when there is neither).
    static QWidget *ModalParent();

    // The number of the current character as text; empty when there is none.
    virtual QString Tag() const = 0;
    virtual void setTag(const QString &value) = 0;
    // Enables, then disables, toolbar buttons by number (1 to 10; 4 and 9
    // are separators).
    virtual void SetButtons(std::initializer_list<int> enable, std::initializer_list<int> disable) = 0;
    // Re-evaluates Save, Print, General, Skill and Level for the active child.
    virtual void MDIForm_Activate() = 0;
    // Puts w among the child windows (once), maximises it and gives it the focus.
    virtual void Present(CharacterWindow *w) = 0;

protected:
    MainFrame();
    virtual ~MainFrame();
    MainFrame(const MainFrame &) = delete;
    MainFrame &operator=(const MainFrame &) = delete;

    // The frame's own window.
    virtual QWidget *FrameWidget() = 0;
};

// Opens a dialog of kind Dialog for character n over the window that asked
// (MainFrame::ModalParent), lets `ready` fill it, and returns once it closes.
template <typename Dialog, typename Ready>
void ShowModalFor(int n, Ready &&ready)
{
    Dialog dlg(MainFrame::ModalParent());
    setTag(&dlg, QString::number(n));
    ready(dlg);
    dlg.exec();
}
