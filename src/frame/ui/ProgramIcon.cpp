#include "frame/ui/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QPolygonF>

namespace {

// A twenty-sided die seen face on: the outline, the upper face and the edges
// that run from it to the outline, on a 64-unit square.
QPixmap Die(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QPolygonF outline({{32, 2}, {58, 17}, {58, 47}, {32, 62}, {6, 47}, {6, 17}});
    const QPolygonF face({{32, 14}, {48, 41}, {16, 41}});
    p.setPen(QPen(QColor(70, 30, 20), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(170, 50, 40));
    p.drawPolygon(outline);
    p.setBrush(QColor(220, 95, 70));
    p.drawPolygon(face);
    p.setPen(QPen(QColor(70, 30, 20), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF edges[][2] = {{{32, 14}, {32, 2}},  {{32, 14}, {6, 17}},  {{32, 14}, {58, 17}},
                                {{16, 41}, {6, 17}},  {{16, 41}, {6, 47}},  {{16, 41}, {32, 62}},
                                {{48, 41}, {58, 17}}, {{48, 41}, {58, 47}}, {{48, 41}, {32, 62}}};
    for (const auto &e : edges)
        p.drawLine(e[0], e[1]);
    return pm;
}

} // namespace

QIcon ProgramIcon()
{
    // Drawn once a run: the windows' icon and the splash box's picture share it.
    static const QString key = QStringLiteral("quorvane/program-icon");
    QPixmap pm;
    if (!QPixmapCache::find(key, &pm)) {
        pm = Die(64);
        QPixmapCache::insert(key, pm);
    }
    return QIcon(pm);
}
