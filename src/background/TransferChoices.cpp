#include "background/TransferChoices.h"

#include "background/frmArmeAdolescence.h"
#include "frame/ErrorReporter.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "newcharacter/frmStatGain.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QLabel>

namespace transferchoices {

qint32 ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items, const QString &caption,
                 QWidget *parent)
{
    Q_UNUSED(mode);
    if (items.empty()) {
        // An empty list offers nothing to pick: say so instead of a window
        // that can only be closed.
        ReportError(vb::Error(vb::ErrInvalidCall), QStringLiteral("frmArmeAdolescence.LoadData"));
        return -1;
    }
    // Over the window that asked, not loose on the screen behind it.
    frmArmeAdolescence dlg(parent ? parent : MainFrame::ModalParent());
    setTag(&dlg, QString::number(player));
    dlg.AppliesChoice = false;   // the record applies the choice it asked for
    dlg.LoadItems(items);
    if (!caption.isEmpty())
        dlg.setWindowTitle(caption);
    if (dlg.exec() != QDialog::Accepted)
        return -1;
    return dlg.Chosen();
}

std::vector<int> ChooseStatGains(int player, const std::vector<int> &forced, int choices, QWidget *parent)
{
    frmStatGain dlg(parent ? parent : MainFrame::ModalParent());
    for (const int i : forced) {
        if (i >= 0 && i < 10) {
            dlg.ckStat[static_cast<size_t>(i)]->setChecked(true);
            dlg.ckStat[static_cast<size_t>(i)]->setEnabled(false);
        }
    }
    dlg.labChoix->setText(QString::number(choices));
    setTag(&dlg, QString::number(player));
    dlg.LoadData();
    if (dlg.exec() != QDialog::Accepted)
        return forced;
    return dlg.Ticked();
}

} // namespace transferchoices
