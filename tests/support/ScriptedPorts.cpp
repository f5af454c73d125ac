#include "support/ScriptedPorts.h"

#include "frame/ErrorReporter.h"

#include <gtest/gtest.h>

#include <algorithm>

using Kind = ScriptedPorts::Kind;

namespace {

std::string show(const QString &s) { return s.toStdString(); }

} // namespace

QString ScriptedPorts::kindName(Kind kind)
{
    switch (kind) {
    case Kind::MsgBox: return QStringLiteral("message box");
    case Kind::InputBox: return QStringLiteral("input box");
    case Kind::OpenFile: return QStringLiteral("open-file dialog");
    case Kind::SaveFile: return QStringLiteral("save-file dialog");
    case Kind::Print: return QStringLiteral("print dialog");
    case Kind::ErrorBox: return QStringLiteral("error box");
    case Kind::ProgressShow: return QStringLiteral("progress show");
    case Kind::ProgressValue: return QStringLiteral("progress value");
    case Kind::ProgressClose: return QStringLiteral("progress close");
    case Kind::ChooseOne: return QStringLiteral("one-list chooser");
    case Kind::ChooseStatGains: return QStringLiteral("statistic gain choice");
    }
    return {};
}

// ------------------------------------------------------------------ scripting

ScriptedPorts &ScriptedPorts::answerMsgBox(int answer, const QString &contains)
{
    Answer a;
    a.number = answer;
    a.contains = contains;
    m_answers.emplace_back(Kind::MsgBox, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerInput(const QString &text, const QString &contains)
{
    Answer a;
    a.text = text;
    a.contains = contains;
    m_answers.emplace_back(Kind::InputBox, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerOpenFile(const QString &path)
{
    Answer a;
    a.text = path;
    m_answers.emplace_back(Kind::OpenFile, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerSaveFile(const QString &path)
{
    Answer a;
    a.text = path;
    m_answers.emplace_back(Kind::SaveFile, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerPrint(bool accept)
{
    Answer a;
    a.flag = accept;
    m_answers.emplace_back(Kind::Print, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerChooseOne(qint32 id)
{
    Answer a;
    a.number = id;
    m_answers.emplace_back(Kind::ChooseOne, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerChooseOne(std::function<qint32(const std::vector<ports::ChooserItem> &)> pick)
{
    Answer a;
    a.pick = std::move(pick);
    m_answers.emplace_back(Kind::ChooseOne, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::answerStatGains(const std::vector<int> &ticked)
{
    Answer a;
    a.list = ticked;
    m_answers.emplace_back(Kind::ChooseStatGains, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::expectError(const QString &location, qint32 number)
{
    Answer a;
    a.text = location;
    a.number = number;
    m_answers.emplace_back(Kind::ErrorBox, a);
    return *this;
}

ScriptedPorts &ScriptedPorts::allowUnused(bool allow)
{
    m_allowUnused = allow;
    return *this;
}

// ------------------------------------------------------------------ inspection

std::vector<ScriptedPorts::Call> ScriptedPorts::callsOf(Kind kind) const
{
    std::vector<Call> out;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(out),
                 [kind](const Call &c) { return c.kind == kind; });
    return out;
}

int ScriptedPorts::count(Kind kind) const
{
    return static_cast<int>(std::count_if(m_calls.begin(), m_calls.end(),
                                          [kind](const Call &c) { return c.kind == kind; }));
}

std::vector<ScriptedPorts::ErrorReport> ScriptedPorts::errors() const
{
    std::vector<ErrorReport> out;
    for (const Call &c : m_calls) {
        if (c.kind == Kind::ErrorBox)
            out.push_back(parseError(c.text));
    }
    return out;
}

int ScriptedPorts::pending() const { return static_cast<int>(m_answers.size()); }

void ScriptedPorts::verifyConsumed()
{
    if (m_allowUnused)
        return;
    for (const auto &[kind, a] : m_answers) {
        if (kind == Kind::ErrorBox)
            ADD_FAILURE() << "expected an error box from \"" << show(a.text) << "\" (error " << a.number
                          << "), none was shown";
        else
            ADD_FAILURE() << "a scripted " << show(kindName(kind)) << " answer was never asked for";
    }
    m_answers.clear();
}

ScriptedPorts::ErrorReport ScriptedPorts::parseError(const QString &boxText)
{
    // The labels come from the same builder the reporter uses, in the current
    // language, so this follows whatever the string tables say.
    const QStringList model = ErrorMessageText(0, QString(), QString()).split(QStringLiteral("\r\n"));
    const QString numberLabel = model.value(0).chopped(1);
    const QString locationLabel = model.value(2);
    const QStringList lines = boxText.split(QStringLiteral("\r\n"));
    ErrorReport r;
    QString first = lines.value(0);
    if (first.startsWith(numberLabel))
        r.number = first.mid(numberLabel.size()).toInt();
    r.text = lines.value(1);
    QString third = lines.value(2);
    r.location = third.startsWith(locationLabel) ? third.mid(locationLabel.size()) : third;
    return r;
}

std::optional<ScriptedPorts::Answer> ScriptedPorts::take(Kind kind, const Call &call)
{
    const auto it = std::find_if(m_answers.begin(), m_answers.end(),
                                 [kind](const auto &p) { return p.first == kind; });
    if (it == m_answers.end()) {
        ADD_FAILURE() << "unexpected " << show(kindName(kind)) << ": \"" << show(call.text) << "\" (title \""
                      << show(call.title) << "\")";
        return std::nullopt;
    }
    Answer a = it->second;
    m_answers.erase(it);
    if (!a.contains.isEmpty() && !call.text.contains(a.contains))
        ADD_FAILURE() << show(kindName(kind)) << " \"" << show(call.text) << "\" does not contain \""
                      << show(a.contains) << "\"";
    return a;
}

// ------------------------------------------------------------------ the port

int ScriptedPorts::MsgBox(const QString &text, int style, const QString &title)
{
    Call c{Kind::MsgBox, text, title, style};
    record(c);
    if (const auto a = take(Kind::MsgBox, c))
        return a->number;
    switch (style & 7) {
    case ports::YesNo: case ports::YesNoCancel: return ports::No;
    case ports::OkCancel: case ports::RetryCancel: return ports::Cancel;
    default: return ports::Ok;
    }
}

QString ScriptedPorts::InputBox(const QString &prompt, const QString &title, const QString &def)
{
    Call c{Kind::InputBox, prompt, title};
    c.extra = def;
    record(c);
    const auto a = take(Kind::InputBox, c);
    return a ? a->text : QString();
}

QString ScriptedPorts::OpenFileName(const QString &filter, const QString &folder, const QString &title)
{
    Call c{Kind::OpenFile, filter, title};
    c.extra = folder;
    record(c);
    const auto a = take(Kind::OpenFile, c);
    return a ? a->text : QString();
}

QString ScriptedPorts::SaveFileName(const QString &filter, const QString &folder, const QString &presetName,
                                    const QString &title)
{
    Call c{Kind::SaveFile, filter, title};
    c.extra = folder;
    c.preset = presetName;
    record(c);
    const auto a = take(Kind::SaveFile, c);
    return a ? a->text : QString();
}

bool ScriptedPorts::PrintDialog()
{
    Call c{Kind::Print};
    record(c);
    const auto a = take(Kind::Print, c);
    return a && a->flag;
}

void ScriptedPorts::ErrorBox(const QString &text, const QString &title)
{
    Call c{Kind::ErrorBox, text, title};
    record(c);
    const auto it = std::find_if(m_answers.begin(), m_answers.end(),
                                 [](const auto &p) { return p.first == Kind::ErrorBox; });
    const ErrorReport r = parseError(text);
    if (it == m_answers.end()) {
        ADD_FAILURE() << "unexpected error box:\n" << show(text);
        return;
    }
    const Answer a = it->second;
    m_answers.erase(it);
    if (r.location != a.text || (a.number != 0 && r.number != a.number))
        ADD_FAILURE() << "expected an error box from \"" << show(a.text) << "\" (error " << a.number
                      << "), got:\n" << show(text);
}

void ScriptedPorts::ProgressShow(const QString &caption, const QString &status, int max)
{
    Call c{Kind::ProgressShow, caption, QString(), max};
    c.extra = status;
    record(c);
}

void ScriptedPorts::ProgressValue(int value)
{
    Call c{Kind::ProgressValue};
    c.style = value;
    record(c);
}

void ScriptedPorts::ProgressClose() { record(Call{Kind::ProgressClose}); }

// A pick reads the list it is given: an empty one (rules that failed to
// load, a slip in the code) fails the test instead of ending the whole run.
qint32 ScriptedPorts::picked(const Answer &a, const std::vector<ports::ChooserItem> &items)
{
    if (items.empty()) {
        ADD_FAILURE() << "a chooser scripted with a pick offered nothing to pick";
        return -1;
    }
    return a.pick(items);
}

qint32 ScriptedPorts::ChooseOneTitled(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                                      const QString &caption)
{
    Call c{Kind::ChooseOne};
    c.title = caption;
    c.player = player;
    c.mode = mode;
    c.items = items;
    record(c);
    const auto a = take(Kind::ChooseOne, c);
    if (!a)
        return -1;
    return a->pick ? picked(*a, items) : a->number;
}

qint32 ScriptedPorts::ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items)
{
    Call c{Kind::ChooseOne};
    c.player = player;
    c.mode = mode;
    c.items = items;
    record(c);
    const auto a = take(Kind::ChooseOne, c);
    if (!a)
        return -1;
    return a->pick ? picked(*a, items) : a->number;
}

std::vector<int> ScriptedPorts::ChooseStatGains(int player, const std::vector<int> &forced, int choices)
{
    Call c{Kind::ChooseStatGains};
    c.player = player;
    c.forced = forced;
    c.choices = choices;
    record(c);
    const auto a = take(Kind::ChooseStatGains, c);
    return a ? a->list : forced;
}

// ------------------------------------------------------------------ scope

ScriptedPortsScope::ScriptedPortsScope() : m_previous(&ports::ui()) { ports::install(&m_ports); }

ScriptedPortsScope::~ScriptedPortsScope()
{
    ports::install(m_previous);
    m_ports.verifyConsumed();
}
