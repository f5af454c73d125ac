#include "frame/ui/FormLoad.h"

#include "platform/Strings.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace {
// The text of the number held in `number`; false when it is no positive number
// or the table lacks it (the layout's own text stays then).
bool TextOf(const QString &number, QString *out)
{
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    return ok && n > 0 && Strings::TryLoad(n, out);
}
} // namespace

void LocaliseForm(QWidget *window)
{
    if (!window)
        return;
    QString text;
    if (TextOf(window->property("Tag").toString(), &text))
        window->setWindowTitle(text);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QString tag = w->property("Tag").toString();
        if (TextOf(tag, &text)) {
            if (auto *l = qobject_cast<QLabel *>(w))
                l->setText(text);
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                b->setText(text);
            else if (auto *g = qobject_cast<QGroupBox *>(w))
                g->setTitle(text);
        }
        if (TextOf(w->toolTip(), &text))
            w->setToolTip(text);
    }
    for (QAction *a : window->findChildren<QAction *>()) {
        if (TextOf(a->text(), &text))
            a->setText(text);
        if (TextOf(a->property("ToolTipText").toString(), &text))
            a->setToolTip(text);
    }
}
