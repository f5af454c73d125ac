#pragma once
// Whether every caption of a window can be read as laid out: the text each
// visible label draws (its font, its alignment, its box) must lie inside the
// label, no two labels may draw over each other, and no two captions of the
// layout may stand so close that they read as one phrase. Gives one line for each
// fault found, empty when there is none.
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>

#include <vector>

namespace readable {

// The width a box leaves its text: a line edit's contents less its own
// 2-pixel margins and the cursor; a framed label's contents less the indent
// Qt gives its text (half an "x").
inline int TextRoom(const QWidget *w)
{
    if (auto *box = qobject_cast<const QLineEdit *>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(box);
        opt.rect = box->rect();
        opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
        return box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box).width() - 4 - 1;
    }
    auto *label = qobject_cast<const QLabel *>(w);
    const int indent = label->indent() >= 0 ? label->indent()
        : label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    return label->contentsRect().width() - 2 * label->margin() - indent;
}

struct Caption {
    const QLabel *label;
    QRect text;   // where the text is drawn, in the window's coordinates
    int blank;    // the width of a blank in its font
    bool fixed;   // a caption of the layout (a string number in its Tag), not a value
};

inline QString Name(const QLabel *l)
{
    return (l->objectName().isEmpty() ? QStringLiteral("<label>") : l->objectName()) + QStringLiteral(" \"")
        + l->text() + QLatin1Char('"');
}

inline QStringList Faults(const QWidget *window)
{
    QStringList faults;
    std::vector<Caption> captions;
    for (const QLabel *l : window->findChildren<QLabel *>()) {
        if (!l->isVisibleTo(window) || l->text().trimmed().isEmpty() || Qt::mightBeRichText(l->text()))
            continue;
        QRect box = l->contentsRect();
        const int m = l->margin();
        box.adjust(m, m, -m, -m);
        int flags = int(l->alignment());
        if (l->wordWrap())
            flags |= Qt::TextWordWrap;
        // The bounding box of the text as the label aligns it; a text larger
        // than the box spills over it on the sides its alignment leaves open.
        const QRect drawn = l->fontMetrics().boundingRect(box, flags, l->text());
        if (!box.contains(drawn))
            faults << QStringLiteral("%1 is cut: it needs %2x%3, has %4x%5")
                          .arg(Name(l))
                          .arg(drawn.width())
                          .arg(drawn.height())
                          .arg(box.width())
                          .arg(box.height());
        bool number = false;
        l->property("Tag").toString().trimmed().toInt(&number);
        captions.push_back({l, drawn.intersected(box).translated(l->mapTo(window, QPoint(0, 0))),
                            l->fontMetrics().horizontalAdvance(QLatin1Char(' ')), number});
    }
    for (size_t i = 0; i < captions.size(); ++i) {
        for (size_t j = i + 1; j < captions.size(); ++j) {
            // Two captions of the layout closer than two blanks read as one
            // phrase; a value may stand close to the caption it completes.
            const Caption &a = captions[i], &b = captions[j];
            const bool apart = a.fixed && b.fixed;
            const QRect both = a.text.adjusted(apart ? -a.blank : 0, 0, apart ? a.blank : 0, 0)
                                   .intersected(b.text.adjusted(apart ? -b.blank : 0, 0, apart ? b.blank : 0, 0));
            // A pixel of shared line spacing is not an overlap.
            if (both.width() > 1 && both.height() > 1)
                faults << QStringLiteral("%1 overlaps %2").arg(Name(captions[i].label), Name(captions[j].label));
        }
    }
    return faults;
}

} // namespace readable
