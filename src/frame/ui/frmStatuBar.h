#pragma once
// The progress window of long loads: a bar and a status line. It is shown
// without waiting and repainted at once on every change, without running the
// event loop, so no other handler can slip in while a load is under way.
#include <QWidget>

class QLabel;
class QProgressBar;

class frmStatuBar : public QWidget {
    Q_OBJECT
public:
    explicit frmStatuBar(QWidget *parent = nullptr);

    QProgressBar *prbData = nullptr;
    QLabel *capStatus = nullptr;

    // Sets the caption and status (an empty text keeps the layout's), the
    // maximum and the value 0, and shows the window.
    void Begin(const QString &caption, const QString &status, int max);
    void SetValue(int value);
    // Paints the window now.
    void Flush();
};
