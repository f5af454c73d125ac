#include "frame/ui/CharacterWindow.h"

#include "frame/ErrorReporter.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

CharacterWindow::CharacterWindow(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    // A closed window goes; its table slot makes a fresh one when next asked.
    setAttribute(Qt::WA_DeleteOnClose);
}

QString CharacterWindow::Tag() const
{
    return tag(this);
}

void CharacterWindow::setTag(const QString &value)
{
    ::setTag(this, value);
}

int CharacterWindow::Number() const
{
    return TagNumber(this);
}

void CharacterWindow::FinishLoad()
{
    LoadFormStrings(this);
    setTag(QString());
}

MainFrame *CharacterWindow::MakeCurrent()
{
    MainFrame *main = MainFrame::instance();
    if (main)
        main->setTag(Tag());
    return main;
}

void CharacterWindow::LeaveCurrent()
{
    if (MainFrame *main = MainFrame::instance()) {
        main->setTag(QString());
        main->MDIForm_Activate();
    }
}

void CharacterWindow::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded && !QueryUnload()) {
        event->ignore();
        return;
    }
    try {
        Form_Unload();
    } catch (...) {
        ReportCurrentException(objectName() + QStringLiteral(".unload"));
    }
    m_unloaded = true;
    QWidget::closeEvent(event);
}

void DisposeWindow(QWidget *w)
{
    if (!w)
        return;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
        delete sub;
    else
        delete w;
}

void ClearFormTables()
{
    InitForms.clear();
    StatChoiceForms.clear();
    BackgroundForms.clear();
    SkillDevForms.clear();
    GeneralForms.clear();
    for (auto &w : SpecialItemChooseForms)
        DisposeWindow(w.data());
    for (auto &w : SpecialItemForms)
        DisposeWindow(w.data());
    SpecialItemChooseForms = {};
    SpecialItemForms = {};
}
