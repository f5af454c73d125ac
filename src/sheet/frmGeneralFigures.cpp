// The sheet's figure boxes and their ranges. Every keystroke stores what the
// record can hold; a figure past its field's range is never stored, and when
// the player leaves the box it shows the stored value again, so that the box
// and the record agree and whatever the sheet keeps can be saved, opened,
// shown and printed.
#include "sheet/frmGeneral.h"

#include "character/Limits.h"
#include "character/Personnage.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/ports.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalBlocker>

namespace lim = character::limits;

namespace {

// Whole-number division rounding down, for a positive divisor.
qint64 FloorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The statistics by their index, for a row whose name the rules left empty.
constexpr const char *kStatShort[10] = {"AG", "CO", "Me", "Re", "SD", "EM", "In", "Pr", "Qu", "ST"};

} // namespace

void frmGeneral::RegisterFigures()
{
    const auto add = [this](QLineEdit *box, Figure f) {
        m_figures.insert(box, f);
        box->installEventFilter(this);
    };
    for (int s = 0; s < 10; ++s)
        add(Stat_ID[s][4], {Figure::StatSpecial, s});
    for (int kind = 1; kind <= 9; ++kind)
        add(Resistance[kind][2], {Figure::ResistanceSpecial, kind});
    add(txtApparence, {Figure::Appearance});
    add(txtExperience, {Figure::Experience});
    for (int k = 0; k < 5; ++k)
        add(txtMoney[k], {Figure::Coin, k});
    add(txtAge, {Figure::Age});
    add(txtGrandeur, {Figure::Height});
    add(txtPoids, {Figure::Weight});
}

sheet::Reading frmGeneral::ReadFigure(const Figure &f, const QString &text)
{
    switch (f.kind) {
    case Figure::StatSpecial:
    case Figure::ResistanceSpecial: {
        const auto [low, high] = FigureRange(f);
        return sheet::LenientWhole(text, static_cast<double>(low), static_cast<double>(high));
    }
    case Figure::Experience:
        return sheet::LenientWhole(text, lim::kExperience.low, lim::kExperience.high);
    case Figure::Appearance:
        return sheet::RegionalNumber(text, lim::kSmall.low, lim::kSmall.high, true);
    case Figure::Coin: {
        sheet::Reading r = sheet::CoinCount(text);
        const auto [low, high] = FigureRange(f);
        if (r.inside() && (r.value < static_cast<double>(low) || r.value > static_cast<double>(high)))
            r.state = sheet::Reading::Outside;
        return r;
    }
    case Figure::Age:
    case Figure::Height:
    case Figure::Weight:
        break;
    }
    return sheet::PhysiqueNumber(text, lim::kPhysique.low, lim::kPhysique.high);
}

std::pair<qint64, qint64> frmGeneral::FigureRange(const Figure &f)
{
    switch (f.kind) {
    case Figure::StatSpecial: {
        // Whatever the totals built on the bonus can hold.
        const lim::Range<qint32> room = Record().StatSpecialRoom(static_cast<qint16>(f.index));
        return {room.low, room.high};
    }
    case Figure::ResistanceSpecial: {
        const lim::Range<qint32> room = Record().ResistanceSpecialRoom(static_cast<qint16>(f.index));
        return {room.low, room.high};
    }
    case Figure::Appearance:
        return {lim::kSmall.low, lim::kSmall.high};
    case Figure::Experience:
        return {lim::kExperience.low, lim::kExperience.high};
    case Figure::Coin: {
        // The count that keeps the fortune within the record, the other
        // places staying as they were when the player came into the box.
        const qint64 m = static_cast<qint64>(
            m_enteredWith.value(txtMoney[static_cast<size_t>(f.index)], Record().Money));
        const qint64 w = sheet::kCoinWorth[f.index];
        const qint64 rest = f.index == 0 ? m % w : m - sheet::CoinPart(m, f.index) * w;
        return {-FloorDiv(rest - lim::kMoney.low, w), FloorDiv(lim::kMoney.high - rest, w)};
    }
    case Figure::Age:
    case Figure::Height:
    case Figure::Weight:
        break;
    }
    return {static_cast<qint64>(lim::kPhysique.low), static_cast<qint64>(lim::kPhysique.high)};
}

double frmGeneral::FigureValue(const Figure &f)
{
    Personnage &p = Record();
    switch (f.kind) {
    case Figure::StatSpecial: return p.DirStats(2, static_cast<qint16>(f.index));
    case Figure::ResistanceSpecial: return p.DirResistanceSpecial(static_cast<qint16>(f.index));
    case Figure::Appearance: return p.Apparence;
    case Figure::Experience: return p.Experience;
    case Figure::Coin: return p.Money;
    case Figure::Age: return p.Age;
    case Figure::Height: return p.Grandeur;
    case Figure::Weight: return p.Poids;
    }
    return 0;
}

void frmGeneral::SetFigureValue(const Figure &f, double value)
{
    Personnage &p = Record();
    switch (f.kind) {
    case Figure::StatSpecial: p.AddStat(2, static_cast<qint16>(f.index), static_cast<qint16>(value)); break;
    case Figure::ResistanceSpecial:
        p.AddResistanceSpecial(static_cast<qint16>(f.index), static_cast<qint16>(value));
        break;
    case Figure::Appearance: p.Apparence = static_cast<qint16>(value); break;
    case Figure::Experience: p.Experience = static_cast<qint32>(value); break;
    case Figure::Coin: p.Money = static_cast<qint32>(value); break;
    case Figure::Age: p.Age = static_cast<float>(value); break;
    case Figure::Height: p.Grandeur = static_cast<float>(value); break;
    case Figure::Weight: p.Poids = static_cast<float>(value); break;
    }
}

QString frmGeneral::FigureText(const Figure &f)
{
    Personnage &p = Record();
    switch (f.kind) {
    case Figure::Coin: return QString::number(sheet::CoinPart(p.Money, f.index));
    case Figure::Age: return sheet::RegionalText(p.Age);
    case Figure::Height: return sheet::RegionalText(p.Grandeur);
    case Figure::Weight: return sheet::RegionalText(p.Poids);
    default: return QString::number(static_cast<qint64>(FigureValue(f)));
    }
}

QString frmGeneral::FigureName(const Figure &f)
{
    switch (f.kind) {
    case Figure::StatSpecial: {
        const QString name = labCar[static_cast<size_t>(f.index)]->text();
        return Strings::Load(9251).arg(name.isEmpty() ? QLatin1String(kStatShort[f.index]) : name);
    }
    case Figure::ResistanceSpecial: {
        const QLabel *rows[10] = {nullptr,     labArcane,     labTheurgie, labTheuEss, labTheuMent,
                                  labEssence,  labEssMent,    labMentalisme, labPoisons, labPeur};
        return Strings::Load(9252).arg(rows[f.index]->text());
    }
    case Figure::Experience: return Strings::Load(9253);
    case Figure::Appearance: return Strings::Load(9254);
    case Figure::Age: return Strings::Load(9255);
    case Figure::Height: return Strings::Load(9256);
    case Figure::Weight: return Strings::Load(9257);
    case Figure::Coin: return Strings::Load(9258).arg(labMoney[static_cast<size_t>(f.index)]->text());
    }
    return QString();
}

void frmGeneral::FigureEvent(QLineEdit *box, QEvent *event)
{
    const Figure f = m_figures.value(box);
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Coming back from a message, a menu or another window is no new entry.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_enteredWith.insert(box, FigureValue(f));
        break;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;   // the focus comes back to the box
        LeaveFigure(box);
        m_enteredWith.remove(box);
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LeaveFigure(box);
            m_enteredWith.insert(box, FigureValue(f));   // the player stays in the box
        } else if (!m_enteredWith.contains(box)) {
            // Typing into a box whose entry went unseen: the value before the key.
            m_enteredWith.insert(box, FigureValue(f));
        }
        break;
    }
    default:
        break;
    }
}

void frmGeneral::StoreTyped(QLineEdit *box)
{
    const Figure f = m_figures.value(box);
    // The text the field itself shows is not read back, so that showing a
    // fraction never changes it in its eighth digit.
    if (box->text() == FigureText(f))
        return;
    const sheet::Reading r = ReadFigure(f, box->text());
    // Past the range, or junk in a coin box, the record keeps the amount the
    // box was entered with: a fortune never follows a typo.
    if (r.state == sheet::Reading::Outside || (r.state == sheet::Reading::NoNumber && f.kind == Figure::Coin))
        HoldEntered(box);
    if (!r.inside())
        return;
    double value = r.value;
    if (f.kind == Figure::Coin) {
        // The count replaces its place of the amount held when the player
        // came into the box; the other places stay. Working from the amount
        // the last keystroke left would carry each key's count into the
        // places above it once more ("123" typed into pb from 20345 made
        // 33345, where the same text set at once makes 32345).
        const qint64 m = static_cast<qint64>(m_enteredWith.value(box, Record().Money));
        const qint64 w = sheet::kCoinWorth[f.index];
        const qint64 count = static_cast<qint64>(value);
        value = static_cast<double>(f.index == 0 ? count * w + m % w : m - sheet::CoinPart(m, f.index) * w + count * w);
    }
    SetFigureValue(f, value);
}

void frmGeneral::HoldEntered(QLineEdit *box)
{
    const auto entered = m_enteredWith.constFind(box);
    if (entered == m_enteredWith.cend())
        return;
    const Figure f = m_figures.value(box);
    if (FigureValue(f) != *entered)
        SetFigureValue(f, *entered);
}

void frmGeneral::LeaveFigure(QLineEdit *box)
{
    if (m_refusing || !m_figures.contains(box))
        return;
    const Figure f = m_figures.value(box);
    // Once a coin box is left, the five show the fortune the record holds,
    // whatever carried into or borrowed from the other places.
    const auto coins = qScopeGuard([this, &f] {
        if (f.kind == Figure::Coin)
            FillMoney();
    });
    try {
        // A box showing what the record holds agrees with it, whatever that is.
        if (box->text() == FigureText(f))
            return;
        const sheet::Reading r = ReadFigure(f, box->text());
        // Physique and appearance read the whole text: once left they show
        // the number the record took from it, in the sheet's own form.
        const bool wholeText = f.kind == Figure::Appearance || f.kind == Figure::Age || f.kind == Figure::Height
            || f.kind == Figure::Weight;
        if (r.inside()) {
            if (wholeText)
                box->setText(FigureText(f));
            return;
        }
        if (r.state == sheet::Reading::NoNumber && !wholeText && f.kind != Figure::Coin)
            return;
        // The message takes the focus from the box and gives it back: that is
        // no second leaving.
        m_refusing = true;
        const OneErrorBox once;   // one action, one box
        const double back = m_enteredWith.value(box, FigureValue(f));
        if (back != FigureValue(f)) {
            SetFigureValue(f, back);
            // The box's own handler runs on the new text: the total or the
            // level follows the stored value.
            box->setText(FigureText(f));
        } else {
            // The record never moved, and what follows it already shows it.
            const QSignalBlocker quiet(box);
            box->setText(FigureText(f));
        }
        QString message = Strings::Load(9260).arg(FigureName(f));
        if (r.state == sheet::Reading::Outside) {
            const auto [low, high] = FigureRange(f);
            message = Strings::Load(9250).arg(FigureName(f)).arg(low).arg(high);
        }
        ports::ui().MsgBox(message, ports::OkOnly | ports::Exclamation, ModGeneral::ProgramTitle());
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmGeneral.") + box->objectName() + QStringLiteral(".LostFocus"));
    }
    m_refusing = false;
}
