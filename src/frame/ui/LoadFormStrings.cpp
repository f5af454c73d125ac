#include "frame/ui/LoadFormStrings.h"

#include "platform/Strings.h"
#include "platform/vb.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVariant>

#include <exception>
#include <optional>

QString tag(const QObject *object)
{
    return object ? object->property("Tag").toString() : QString();
}

void setTag(QObject *object, const QString &value)
{
    if (object)
        object->setProperty("Tag", value);
}

int TagNumber(const QObject *object)
{
    bool ok = false;
    const int n = tag(object).trimmed().toInt(&ok);
    return ok ? n : 0;
}

namespace {

// The whole text must be a number ("3502", " 3502 ", "3502.4"); anything else
// means there is no string behind the property.
std::optional<int> wholeNumber(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    try {
        return vb::CInt(text);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// Only the leading number counts ("3040 frame" is 3040, "abc" is 0).
std::optional<int> leadingNumber(const QString &text)
{
    try {
        return vb::CInt(vb::Val(text));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// The text of n in the table in use. When that table lacks it, the layout's
// own text stays, unless that text is the bare number itself: then the French
// text tells the user more, as it does for texts that code loads.
std::optional<QString> textOf(std::optional<int> n, const QString &shown)
{
    if (!n)
        return std::nullopt;
    QString text;
    if (Strings::TryLoad(*n, &text))
        return text;
    if (wholeNumber(shown) != n)
        return std::nullopt;
    try {
        return Strings::Load(*n);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

class Localiser {
public:
    void menuEntry(QAction *action)
    {
        if (!action || action->isSeparator() || done.contains(action))
            return;
        done.insert(action);
        if (auto text = textOf(wholeNumber(action->text()), action->text()))
            action->setText(*text);
    }

    void menus(QWidget *w)
    {
        if (auto *menu = qobject_cast<QMenu *>(w))
            menuEntry(menu->menuAction());
        for (QAction *action : w->actions())
            menuEntry(action);
    }

    void tabs(QTabBar *bar)
    {
        for (int i = 0; i < bar->count(); ++i) {
            if (auto text = textOf(wholeNumber(bar->tabData(i).toString()), bar->tabText(i)))
                bar->setTabText(i, *text);
            if (auto text = textOf(wholeNumber(bar->tabToolTip(i)), bar->tabToolTip(i)))
                bar->setTabToolTip(i, *text);
        }
    }

    void toolbar(QToolBar *bar)
    {
        for (QAction *action : bar->actions()) {
            if (action->isSeparator())
                continue;
            if (auto text = textOf(wholeNumber(action->toolTip()), action->toolTip()))
                action->setToolTip(*text);
        }
    }

    void headers(QAbstractItemView *view)
    {
        QAbstractItemModel *model = view->model();
        if (!model)
            return;
        for (int s = 0; s < model->columnCount(); ++s) {
            const QVariant n = model->headerData(s, Qt::Horizontal, kHeaderStringRole);
            if (!n.isValid())
                continue;
            if (auto text = textOf(wholeNumber(n.toString()),
                                   model->headerData(s, Qt::Horizontal, Qt::DisplayRole).toString()))
                model->setHeaderData(s, Qt::Horizontal, *text, Qt::DisplayRole);
        }
    }

    void otherControl(QWidget *w)
    {
        const auto n = leadingNumber(tag(w));
        if (n && *n > 0) {
            auto *button = qobject_cast<QAbstractButton *>(w);
            auto *group = qobject_cast<QGroupBox *>(w);
            const QString shown = button ? button->text() : group ? group->title() : QString();
            if (auto text = textOf(n, shown)) {
                if (button)
                    button->setText(*text);
                else if (group)
                    group->setTitle(*text);
            }
        }
        const auto t = leadingNumber(w->toolTip());
        if (t && *t >= 1) {
            if (auto text = textOf(t, w->toolTip()))
                w->setToolTip(*text);
        }
    }

    void control(QWidget *w)
    {
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (auto text = textOf(wholeNumber(tag(label)), label->text()))
                label->setText(*text);
            return;
        }
        if (qobject_cast<QMenuBar *>(w) || qobject_cast<QMenu *>(w)) {
            menus(w);
            return;
        }
        if (auto *bar = qobject_cast<QTabBar *>(w)) {
            tabs(bar);
            return;
        }
        // The tab widget's strip is its QTabBar child, done above; its own Tag
        // is data (a page marker), not a caption.
        if (qobject_cast<QTabWidget *>(w))
            return;
        if (auto *bar = qobject_cast<QToolBar *>(w)) {
            toolbar(bar);
            return;
        }
        // A toolbar's buttons mirror their actions, localised with the toolbar.
        if (auto *button = qobject_cast<QToolButton *>(w); button && button->defaultAction())
            return;
        if (qobject_cast<QTreeView *>(w) || qobject_cast<QTableView *>(w))
            headers(static_cast<QAbstractItemView *>(w));
        otherControl(w);
    }

    void walk(QObject *parent)
    {
        for (QObject *child : parent->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (!w)
                continue;
            // Child windows carry their own Tag (often a character number) and
            // localise themselves when they are built.
            if (qobject_cast<QMdiSubWindow *>(w))
                continue;
            if (w->isWindow() && !qobject_cast<QMenu *>(w) && !qobject_cast<QDockWidget *>(w))
                continue;
            try {
                control(w);
            } catch (const std::exception &) {
                // The localiser never stops a window from opening.
            }
            walk(w);
        }
    }

private:
    QSet<QAction *> done;
};

} // namespace

void LoadFormStrings(QWidget *window)
{
    if (!window)
        return;
    try {
        if (auto text = textOf(wholeNumber(tag(window)), window->windowTitle()))
            window->setWindowTitle(*text);
    } catch (const std::exception &) {
    }
    Localiser().walk(window);
}
