#pragma once
// The print preview: one page of the current character at the chosen zoom.
#include <QDialog>

class QLabel;
class QScrollArea;

class frmPrint : public QDialog {
    Q_OBJECT
public:
    explicit frmPrint(QWidget *parent = nullptr);

    QString Tag() const;
    void setTag(const QString &tag);

    // Draws the current page of the character in the Tag.
    void Voir();

    QScrollArea *scrPage = nullptr;
    QLabel *picPage = nullptr;
};
