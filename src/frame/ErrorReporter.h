#pragma once
// The one place where run-time errors reach the user: a critical box with the
// error number, its text, where it happened and whom to tell. The program then
// goes on.
//
// A procedure that handles its own errors ends its error path with one line:
//
//     try { ... } catch (...) { ReportCurrentException("OpenDB"); return reached; }
//
#include <QString>
#include <QtGlobal>

namespace vb {
class Error;
}

// Shows the error box (through the user port) and returns once it is closed.
// Never throws: a text missing from the string table is replaced by a built-in
// one, so an error path cannot itself fail.
void ShowErrorMessage(qint32 number, const QString &text, const QString &location);

// The box's text exactly as ShowErrorMessage shows it.
QString ErrorMessageText(qint32 number, const QString &text, const QString &location);

// The text the box shows for an error: the words of a vb::Refusal, the
// standard text of the number for every other error.
QString ShownText(const vb::Error &e);

// Reports a run-time error with its shown text.
void ReportError(const vb::Error &e, const QString &location);

// Reports the exception being handled; call it only inside a catch block.
// vb::Error is reported as ReportError does; a foreign exception is reported
// as a run-time error too (out of memory 7, out of range 9, anything else 51)
// with the standard text, so that no exception ever ends the program.
void ReportCurrentException(const QString &location);

// While one of these lives, only the first error box is shown: one action
// that meets the same bad figure in every computation it runs says so once,
// instead of burying the player under boxes. Scopes nest; the outermost one
// decides.
//
// Edit handlers run once per keystroke: with SinceBoxEntered, a box is shown
// only if none was since the player entered the box being typed into
// (EnteredAnotherBox). Rules that could not be opened then cost one box per
// box entered, not one or two per key.
class OneErrorBox {
public:
    enum Reach { ThisAction, SinceBoxEntered };
    explicit OneErrorBox(Reach reach = ThisAction);
    ~OneErrorBox();
    OneErrorBox(const OneErrorBox &) = delete;
    OneErrorBox &operator=(const OneErrorBox &) = delete;
    static void EnteredAnotherBox();

private:
    Reach m_reach;
};
