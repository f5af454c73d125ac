#pragma once
// The print preview: the main page or the skill pages of the character in the
// Tag, at a zoom chosen on the toolbar, scrolled by a vertical scroll bar; it
// also prints the whole sheet.
#include <QDialog>
#include <QImage>
#include <QVector>
#include <QWidget>

class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class QToolButton;

// The page picture: shows the pages of the last drawing, one under the other.
class PagePicture : public QWidget {
    Q_OBJECT
public:
    explicit PagePicture(QWidget *parent = nullptr);
    void setPages(const QVector<QImage> &pages);
    const QVector<QImage> &pages() const { return m_pages; }
    // The gap between two pages, in pixels.
    static constexpr int kGap = 12;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<QImage> m_pages;
};

class frmPrint : public QDialog {
    Q_OBJECT
public:
    explicit frmPrint(QWidget *parent = nullptr);

    QString Tag() const;
    void setTag(const QString &tag);

    // Draws the chosen page of the character in the Tag.
    void Voir();

    void tbPrint_ButtonClick(const QString &key);
    void tbPrint_ButtonMenuClick(const QString &key, int index);
    void DefilementV1_Change();

    // The toolbar's buttons by key: "Option", "Zoom", "Page", "Print", "Quit".
    QToolButton *Button(const QString &key) const;

    QToolBar *tbPrint = nullptr;
    PagePicture *picPage = nullptr;
    QLabel *picLogo = nullptr;
    QLabel *picImage = nullptr;
    QScrollBar *DefilementV1 = nullptr;
    QMenu *mnuZoom = nullptr;
    QMenu *mnuPage = nullptr;
    int ResetScroll = 0;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // The size the window opens at: within the free part of its screen.
    QSize OpeningSize() const;
    void ReachLastPage();
    void Form_Load();
    void Form_Resize();
};
