#include "newcharacter/NewCharacterSteps.h"

#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "frame/Units.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/MainFrame.h"
#include "platform/Strings.h"
#include "platform/ports.h"
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

void Present(CharacterWindow *w)
{
    if (!w)
        return;
    if (MainFrame *main = MainFrame::instance()) {
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

bool AskGiveUp(int n)
{
    if (n < 1 || n > ModGeneral::Players.size())
        return true;   // no character to lose
    return ports::ui().MsgBox(Text(9423).arg(ModGeneral::Players(n).Nom), ports::YesNo | ports::Question,
                              ModGeneral::ProgramTitle())
        == ports::Yes;
}

void GiveUp(int n)
{
    // Its windows' slots go too: the number's next character starts afresh.
    InitForms.forget(n);
    StatChoiceForms.forget(n);
    BackgroundForms.forget(n);
    SkillDevForms.forget(n);
    GeneralForms.forget(n);
    ModGeneral::ReleasePlayer(n);
}

namespace {

bool metric()
{
    return units::Metric();
}

QString cut(double v)
{
    QString s = vb::NumText(v);
    const QChar mark = QLocale().decimalPoint().front();
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
