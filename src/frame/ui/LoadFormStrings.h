#pragma once
// Window layouts keep string numbers where the interface's texts belong; every
// window calls LoadFormStrings(this) first thing when it is built, and the
// numbers become texts of the user's language.
//
// Where a window keeps its numbers (every window follows this convention):
//
//  - Tag: a window's or control's Tag is the QObject dynamic property "Tag"
//    (a QString); use tag()/setTag() below. Later code may reuse a window's Tag
//    for other data (a character number, a stage marker): the localiser runs
//    before that.
//  - the window itself: its Tag is the number of its caption (windowTitle).
//  - QLabel: its Tag is the number of its text (the whole Tag must be a number).
//  - menu entry: a QAction in a QMenuBar or QMenu whose text is the number; a
//    menu's own title is the text of its menuAction(). Separators and entries
//    whose text is not a number are left alone. Menus must be children of the
//    window (QMenuBar::addMenu does this).
//  - tab strip: a QTabBar (for a QTabWidget, its tabBar()). Each tab's data
//    (tabData, a QString) is the number of the tab's text, each tab's tooltip
//    holds the number of its tooltip. The strip's own Tag is free for data.
//  - toolbar: a QToolBar whose actions' tooltips hold numbers. The toolbar's
//    own Tag is free for data.
//  - list view: a QTreeView or QTableView (QTreeWidget, QTableWidget) whose
//    horizontal header sections carry the number in the header data role
//    kHeaderStringRole (Qt::UserRole); the section's display text receives
//    the text. For QTreeWidget: headerItem()->setData(col, kHeaderStringRole,
//    "3510"); for QTableWidget: the horizontalHeaderItem's data in that role.
//  - any other control: its Tag's leading number (text after it ignored),
//    rounded, when above 0 gives the caption: the text of a QAbstractButton
//    (push button, check box, radio button), the title of a QGroupBox; other
//    widgets (text boxes, lists, sliders...) have no caption and keep theirs.
//    Then the leading number of its tooltip, when 1 or more, gives the tooltip.
//
// Nothing is ever reported: a number the table in use lacks, a property that
// is not a number or a control without the property leaves the layout's own
// text, and the rest of the window is still done. Where that own text would be
// the bare number (a toolbar tooltip, a menu entry), the French text of the
// number is taken instead. Child windows inside this
// one (MDI sub-windows, dialogs parented to it) are theirs to localise.
#include <QString>
#include <Qt>

class QObject;
class QWidget;

constexpr int kHeaderStringRole = Qt::UserRole;

QString tag(const QObject *object);
void setTag(QObject *object, const QString &value);
// The whole number a window keeps in its Tag (a character number); 0 when the
// Tag holds none.
int TagNumber(const QObject *object);

void LoadFormStrings(QWidget *window);
