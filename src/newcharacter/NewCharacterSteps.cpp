#include "newcharacter/NewCharacterSteps.h"

#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/frmMain.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QLocale>
#include <QMdiSubWindow>

namespace newchar {

QString Text(int n)
{
    try {
        return Strings::Load(n);
    } catch (...) {
        return QString::number(n);
    }
}

QString Say(const char *french, const char *english)
{
    return QString::fromUtf8(Strings::current() == Strings::Language::French ? french : english);
}

void Present(CharacterWindow *w)
{
    if (!w)
        return;
    if (frmMain *main = frmMain::instance()) {
        main->Present(w);
    } else {
        w->showMaximized();
        w->activateWindow();
    }
}

void Unload(QWidget *w)
{
    if (!w)
        return;
    // Closing the frame closes the window inside it first, so the window's
    // own unload runs; the frame then goes with it.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
        sub->close();
    else
        w->close();
}

namespace {

bool metric()
{
    return ModGeneral::DataLanguage != 1000;
}

QString cut(double v)
{
    QString s = vb::NumText(v);
    const QChar mark = QLocale::system().decimalPoint().front();
    s.replace(QLatin1Char('.'), mark);
    return s.left(4);
}

} // namespace

QString WeightText(double pounds)
{
    return metric() ? cut(pounds / 2.2) : vb::NumText(pounds);
}

QString HeightText(double feet)
{
    return metric() ? cut(feet / 3.28) : vb::NumText(feet);
}

// The English table names the old units, but the values shown are metric
// whenever the French data columns are in use: the unit must follow the values.
QString WeightUnit()
{
    const bool french = Strings::current() == Strings::Language::French;
    if (metric())
        return french ? Text(3028) : QStringLiteral("kg");
    return french ? QStringLiteral("livres") : Text(3028);
}

QString HeightUnit()
{
    const bool french = Strings::current() == Strings::Language::French;
    if (metric())
        return french ? Text(3033) : QStringLiteral("m");
    return french ? QStringLiteral("pieds") : Text(3033);
}

} // namespace newchar
