#pragma once
// A scripted user for tests: every box, dialog and chooser the code opens is
// answered from a queue the test fills beforehand, and recorded.
//
//     ScriptedPortsScope ui;                      // installed until the end of scope
//     ui->answerMsgBox(ports::Yes, "Sauvegarder"); // next message box: Yes (text must contain it)
//     ui->answerOpenFile("/tmp/x.pja");
//     ui->expectError("OpenDB", 3024);            // one error box from OpenDB, error 3024
//     ... run the code ...
//     EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 1);
//
// Rules:
// - Each kind has its own queue; answers are taken in order within a kind.
// - A call with nothing scripted for its kind fails the test (ADD_FAILURE) and
//   gets the cancel answer (No/Cancel, empty text or path, false, -1, the
//   forced statistics), so the code under test can go on.
// - An error box is accepted only by an expectError in order; any other error
//   box fails the test and its text appears in the failure.
// - The progress window is not a question: its calls are only recorded.
// - When the scope ends, anything scripted but never asked for fails the test
//   (call allowUnused() for answers that may or may not be needed).
#include "platform/ports.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedPorts : public ports::UserPorts {
public:
    enum class Kind {
        MsgBox, InputBox, OpenFile, SaveFile, Print, ErrorBox,
        ProgressShow, ProgressValue, ProgressClose, ChooseOne, ChooseStatGains,
    };

    // One call as it was made.
    struct Call {
        Kind kind;
        QString text;    // message, prompt, filter, error box text, progress caption
        QString title;
        int style = 0;   // message box style; progress maximum or value
        QString extra;   // input default, folder, progress status
        QString preset;  // save dialog's preset name
        int player = 0;
        qint32 mode = 0;
        std::vector<ports::ChooserItem> items;
        std::vector<int> forced;
        int choices = 0;
    };

    // An error box split into its parts (number, text, location).
    struct ErrorReport {
        qint32 number = 0;
        QString text;
        QString location;
    };

    ScriptedPorts() = default;
    ~ScriptedPorts() override = default;

    // ---- scripting; `contains`, when given, must be part of the call's text
    ScriptedPorts &answerMsgBox(int answer, const QString &contains = {});
    ScriptedPorts &answerInput(const QString &text, const QString &contains = {});
    ScriptedPorts &answerOpenFile(const QString &path);
    ScriptedPorts &answerSaveFile(const QString &path);
    ScriptedPorts &answerPrint(bool accept);
    ScriptedPorts &answerChooseOne(qint32 id);
    // Picks from the list offered (e.g. the item whose text is "Épée"); an
    // empty list fails the test and is answered -1 without calling `pick`.
    ScriptedPorts &answerChooseOne(std::function<qint32(const std::vector<ports::ChooserItem> &)> pick);
    ScriptedPorts &answerStatGains(const std::vector<int> &ticked);
    // number 0 accepts any error number.
    ScriptedPorts &expectError(const QString &location, qint32 number = 0);
    // Scripted answers left over at the end do not fail the test.
    ScriptedPorts &allowUnused(bool allow = true);

    // ---- what happened
    const std::vector<Call> &calls() const { return m_calls; }
    std::vector<Call> callsOf(Kind kind) const;
    int count(Kind kind) const;
    std::vector<ErrorReport> errors() const;
    // Answers still waiting, all kinds together.
    int pending() const;
    // Fails the test for every answer still waiting (the scope calls it).
    void verifyConsumed();

    static ErrorReport parseError(const QString &boxText);
    static QString kindName(Kind kind);

    // ---- ports::UserPorts
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
    // Recorded as a ChooseOne call whose title is the caption.
    qint32 ChooseOneTitled(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                           const QString &caption) override;
    std::vector<int> ChooseStatGains(int player, const std::vector<int> &forced, int choices) override;

private:
    struct Answer {
        QString contains;
        int number = 0;
        QString text;
        bool flag = false;
        std::vector<int> list;
        std::function<qint32(const std::vector<ports::ChooserItem> &)> pick;
    };
    std::optional<Answer> take(Kind kind, const Call &call);
    static qint32 picked(const Answer &a, const std::vector<ports::ChooserItem> &items);
    void record(const Call &call) { m_calls.push_back(call); }

    std::vector<Call> m_calls;
    std::deque<std::pair<Kind, Answer>> m_answers;
    bool m_allowUnused = false;
};

// Installs a fresh ScriptedPorts for its lifetime and puts back whatever was
// installed before; checks at the end that every scripted answer was used.
class ScriptedPortsScope {
public:
    ScriptedPortsScope();
    ~ScriptedPortsScope();
    ScriptedPortsScope(const ScriptedPortsScope &) = delete;
    ScriptedPortsScope &operator=(const ScriptedPortsScope &) = delete;

    ScriptedPorts *operator->() { return &m_ports; }
    ScriptedPorts &operator*() { return m_ports; }

private:
    ScriptedPorts m_ports;
    ports::UserPorts *m_previous;
};
