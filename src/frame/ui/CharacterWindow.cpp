#include "frame/ui/CharacterWindow.h"

#include "frame/ErrorReporter.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

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

QWidget *CharacterWindow::Page()
{
    if (m_page)
        return m_page;
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollPage"));
    scroll->setFrameShape(QFrame::NoFrame);
    // The page fills a window larger than its least size, so that a window
    // with room looks as its layout makes it.
    scroll->setWidgetResizable(true);
    m_page = new QWidget;
    m_page->setObjectName(QStringLiteral("page"));
    scroll->setWidget(m_page);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    return m_page;
}

QSize CharacterWindow::FitSize() const
{
    if (!m_page)
        return minimumSizeHint().expandedTo(minimumSize());
    QSize least = m_page->minimumSizeHint().expandedTo(m_page->minimumSize());
    // Wrapped words need more height at the least width.
    least.setHeight(std::max(least.height(), m_page->heightForWidth(least.width())));
    return least;
}

QSize CharacterWindow::sizeHint() const
{
    return (m_page ? m_page->sizeHint() : QWidget::sizeHint()).expandedTo(FitSize());
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
