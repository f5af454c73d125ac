#include "newcharacter/NewCharacterSteps.h"

#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/frmMain.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPainterPath>
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

QPixmap CultureEmblem(qint32 image, const QString &name)
{
    QPixmap pm(120, 140);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Two colours from the picture number, far enough apart to read.
    const int hue = int((quint32(image) * 137u) % 360u);
    const QColor field = QColor::fromHsv(hue, 120, 200);
    const QColor charge = QColor::fromHsv((hue + 180) % 360, 160, 110);
    QPainterPath shield;
    shield.moveTo(10, 10);
    shield.lineTo(110, 10);
    shield.lineTo(110, 70);
    shield.quadTo(110, 115, 60, 132);
    shield.quadTo(10, 115, 10, 70);
    shield.closeSubpath();
    p.setPen(QPen(charge, 4));
    p.setBrush(field);
    p.drawPath(shield);
    p.setPen(QPen(charge, 3));
    p.drawLine(QPointF(10, 40), QPointF(110, 40));
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(48);
    f.setBold(true);
    p.setFont(f);
    p.setPen(charge);
    const QString initial = name.trimmed().isEmpty() ? QStringLiteral("?") : name.trimmed().left(1).toUpper();
    p.drawText(QRectF(10, 42, 100, 70), Qt::AlignCenter, initial);
    p.end();
    return pm;
}

} // namespace newchar
