#include "mainwindow/QtPorts.h"

#include "background/TransferChoices.h"
#include "frame/ui/frmStatuBar.h"
#include "print/SharedPrinter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>


namespace {
struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;   // Qt button, answer
};

ButtonSet ButtonsOf(int style)
{
    using QB = QMessageBox;
    switch (style & 7) {
    case ports::OkCancel: return {{{QB::Ok, ports::Ok}, {QB::Cancel, ports::Cancel}}};
    case ports::AbortRetryIgnore:
        return {{{QB::Abort, ports::Abort}, {QB::Retry, ports::Retry}, {QB::Ignore, ports::Ignore}}};
    case ports::YesNoCancel: return {{{QB::Yes, ports::Yes}, {QB::No, ports::No}, {QB::Cancel, ports::Cancel}}};
    case ports::YesNo: return {{{QB::Yes, ports::Yes}, {QB::No, ports::No}}};
    case ports::RetryCancel: return {{{QB::Retry, ports::Retry}, {QB::Cancel, ports::Cancel}}};
    default: return {{{QB::Ok, ports::Ok}}};
    }
}

QMessageBox::Icon IconOf(int style)
{
    switch (style & 0x70) {
    case ports::Critical: return QMessageBox::Critical;
    case ports::Question: return QMessageBox::Question;
    case ports::Exclamation: return QMessageBox::Warning;
    case ports::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The answer a box gives when closed without a button: Cancel where there is
// one, otherwise the only safe answer of the set.
int EscapeAnswer(int style)
{
    switch (style & 7) {
    case ports::OkCancel: case ports::YesNoCancel: case ports::RetryCancel: return ports::Cancel;
    case ports::AbortRetryIgnore: return ports::Abort;
    case ports::YesNo: return ports::No;
    default: return ports::Ok;
    }
}
} // namespace

QtPorts::QtPorts() = default;

QtPorts::~QtPorts()
{
    delete m_progress.data();
}

QWidget *QtPorts::Owner() const
{
    if (QWidget *m = QApplication::activeModalWidget())
        return m;
    return QApplication::activeWindow();
}

int QtPorts::MsgBox(const QString &text, int style, const QString &title)
{
    QMessageBox box(IconOf(style), title, text, QMessageBox::NoButton, Owner());
    const ButtonSet set = ButtonsOf(style);
    const int defaultIndex = (style >> 8) & 3;   // first, second or third button
    for (std::size_t i = 0; i < set.buttons.size(); ++i) {
        QPushButton *b = box.addButton(set.buttons[i].first);
        if (static_cast<int>(i) == defaultIndex)
            box.setDefaultButton(b);
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto &[qt, answer] : set.buttons)
        if (qt == clicked)
            return answer;
    return EscapeAnswer(style);
}

QString QtPorts::InputBox(const QString &prompt, const QString &title, const QString &def)
{
    bool ok = false;
    const QString text = QInputDialog::getText(Owner(), title, prompt, QLineEdit::Normal, def, &ok);
    return ok ? text : QString();
}

QString QtPorts::QtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses of the description.
        out << (desc.contains(QLatin1Char('(')) && desc.endsWith(QLatin1Char(')'))
                    ? desc
                    : desc + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    if (out.isEmpty() && !filter.isEmpty())
        out << filter;
    return out.join(QStringLiteral(";;"));
}

QString QtPorts::DefaultSuffix(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return {};
    const QString first = parts[1].split(QLatin1Char(';')).value(0).trimmed();
    if (!first.startsWith(QStringLiteral("*.")))
        return {};
    const QString ext = first.mid(2);
    return ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) ? QString() : ext;
}

QString QtPorts::OpenFileName(const QString &filter, const QString &folder, const QString &title)
{
    QFileDialog dlg(Owner(), title, folder.isEmpty() ? m_lastFolder : folder, QtFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    const QString path = dlg.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

QString QtPorts::SaveFileName(const QString &filter, const QString &folder, const QString &presetName,
                              const QString &title)
{
    QFileDialog dlg(Owner(), title, folder.isEmpty() ? m_lastFolder : folder, QtFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(DefaultSuffix(filter));
    if (!presetName.isEmpty())
        dlg.selectFile(presetName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    const QString path = dlg.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

bool QtPorts::PrintDialog()
{
    QPrintDialog dlg(&SharedPrinter(), Owner());
    // No selection, no page numbers; the printer's own copy count is used.
    // Printing to a file stays: on this platform it is the dialog's own PDF
    // entry, the one way to print where no printer is installed.
    dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
    dlg.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    return dlg.exec() == QDialog::Accepted;
}

void QtPorts::ErrorBox(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, Owner());
    box.exec();
}

frmStatuBar *QtPorts::progressWindow() const
{
    return m_progress.data();
}

void QtPorts::ProgressShow(const QString &caption, const QString &status, int max)
{
    // A load that failed leaves its window up; the next load takes it over.
    if (!m_progress)
        m_progress = new frmStatuBar;
    m_progress->Begin(caption, status, max);
}

void QtPorts::ProgressValue(int value)
{
    if (m_progress)
        m_progress->SetValue(value);
}

void QtPorts::ProgressClose()
{
    if (m_progress) {
        m_progress->close();
        delete m_progress.data();
    }
}

qint32 QtPorts::ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items)
{
    return transferchoices::ChooseOne(player, mode, items, QString());
}

qint32 QtPorts::ChooseOneTitled(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                                const QString &caption)
{
    return transferchoices::ChooseOne(player, mode, items, caption);
}

std::vector<int> QtPorts::ChooseStatGains(int player, const std::vector<int> &forced, int choices)
{
    return transferchoices::ChooseStatGains(player, forced, choices);
}
