#pragma once
// Prints the main page alone: showing it asks for the printer, prints, and
// closes again; it has nothing of its own to show.
#include <QDialog>

class frmPrintOption : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintOption(QWidget *parent = nullptr);

    QString Tag() const;
    void setTag(const QString &tag);

    // Runs the print and returns: Accepted when the page was printed to its end.
    int exec() override;

private:
    bool Form_Load();
};
