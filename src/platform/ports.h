#pragma once
// Where the record and the rules reach the user. core calls these; ui installs
// the Qt implementations at start-up; tests install scripted ones.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace ports {

// Message box styles and answers, with the values the old message boxes used.
enum MsgStyle : int {
    OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5,
    Critical = 16, Question = 32, Exclamation = 48, Information = 64,
};
enum MsgResult : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct ChooserItem {
    QString text;
    qint32 id = 0;
};

class UserPorts {
public:
    virtual ~UserPorts() = default;

    // A message box: text, buttons + icon (MsgStyle values added), title.
    virtual int MsgBox(const QString &text, int style, const QString &title) = 0;
    // An input box; empty text on cancel.
    virtual QString InputBox(const QString &prompt, const QString &title, const QString &def) = 0;
    // File dialogs; empty on cancel. filter as "All Files (*.pja)|*.pja".
    virtual QString OpenFileName(const QString &filter, const QString &folder, const QString &title) = 0;
    virtual QString SaveFileName(const QString &filter, const QString &folder, const QString &presetName,
                                 const QString &title) = 0;
    // The print dialog: true when the user accepts.
    virtual bool PrintDialog() = 0;
    // The error box, its text already built.
    virtual void ErrorBox(const QString &text, const QString &title) = 0;

    // The progress window (one at a time).
    virtual void ProgressShow(const QString &caption, const QString &status, int max) = 0;
    virtual void ProgressValue(int value) = 0;
    virtual void ProgressClose() = 0;

    // The one-list chooser (weapons, categories, skills, spell lists) for
    // character `player`; returns the chosen identifier or nullopt-like -1 when
    // closed without a choice. `mode` is what the chooser takes its list from.
    virtual qint32 ChooseOne(int player, qint32 mode, const std::vector<ChooserItem> &items) = 0;
    // The same chooser with a caption that tells the player what the choice is
    // for; a user port without captions shows the plain chooser.
    virtual qint32 ChooseOneTitled(int player, qint32 mode, const std::vector<ChooserItem> &items,
                                   const QString &caption)
    {
        Q_UNUSED(caption);
        return ChooseOne(player, mode, items);
    }
    // The statistic gain choice: `forced` statistics (index 0..9) are ticked and
    // fixed, `choices` more are picked by the player; returns the ticked indexes.
    virtual std::vector<int> ChooseStatGains(int player, const std::vector<int> &forced, int choices) = 0;
};

// The installed implementation. Until one is installed, a silent one answers:
// nothing is shown and every question is cancelled.
UserPorts &ui();
// Installs p (not owned; it must outlive its use); nullptr puts the silent one back.
void install(UserPorts *p);
// The silent one itself.
UserPorts &silent();

} // namespace ports
