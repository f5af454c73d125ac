#pragma once
// The ports as the user sees them: Qt message boxes, input box, file and print
// dialogs, the error box, the progress window and the choosers of the
// background folder. It sits above the windows it opens.
#include "platform/ports.h"

#include <QPointer>
#include <QString>

class QWidget;
class frmStatuBar;

class QtPorts : public ports::UserPorts {
public:
    QtPorts();
    ~QtPorts() override;

    int MsgBox(const QString &text, int style, const QString &title) override;
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override;
    QString OpenFileName(const QString &filter, const QString &folder, const QString &title) override;
    QString SaveFileName(const QString &filter, const QString &folder, const QString &presetName,
                         const QString &title) override;
    bool PrintDialog() override;
    void ErrorBox(const QString &text, const QString &title) override;
    void ProgressShow(const QString &caption, const QString &status, int max) override;
    void ProgressValue(int value) override;
    void ProgressClose() override;
    qint32 ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items) override;
    qint32 ChooseOneTitled(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                           const QString &caption) override;
    std::vector<int> ChooseStatGains(int player, const std::vector<int> &forced, int choices) override;

    // "Desc (*.a)|*.a|Other|*.b" -> "Desc (*.a);;Other (*.b)".
    static QString QtFilter(const QString &filter);
    // The first pattern's extension ("pja"), empty when there is none.
    static QString DefaultSuffix(const QString &filter);

    // The folder the next file dialog starts in when its caller names none:
    // the one the last dialog ended in.
    QString lastFolder() const { return m_lastFolder; }

    // The progress window, while one is up.
    frmStatuBar *progressWindow() const;

private:
    QWidget *Owner() const;
    QString m_lastFolder;
    QPointer<frmStatuBar> m_progress;
};
