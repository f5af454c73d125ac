#include "newcharacter/frmCharacter.h"

#include "character/Limits.h"
#include "character/Players.h"
#include "frame/Dice.h"
#include "frame/ModGeneral.h"
#include "frame/Units.h"
#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/NewCharacterSteps.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QAction>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

Personnage &record(const QString &tag)
{
    return ModGeneral::Players(tag.toInt());
}

// The whole box as a number; a figure past every number reads as infinite,
// so that it is past any range too. Nothing when the box holds no number.
std::optional<double> number(const QLineEdit *box)
{
    try {
        return vb::CDbl(QVariant(box->text()));
    } catch (const vb::Error &e) {
        if (e.number() == vb::ErrOverflow)
            return std::numeric_limits<double>::infinity();
        return std::nullopt;
    }
}

// The box as the player means it: the whole text in the regional way the box
// shows it ("68,1" in French), else its leading number as typing goes on.
// Read by its leading number alone, a French fraction would lose its decimals
// in the record the moment the dialog is filled.
std::optional<double> typedFigure(const QLineEdit *box)
{
    if (const std::optional<double> whole = number(box))
        return whole;
    return vb::Val(box->text());
}

// A fraction as the user's regional settings write it, the same mark the
// culture page showed and that the boxes read back.
QString regional(float v)
{
    QString s = vb::NumText(v);
    const QString mark = QLocale().decimalPoint();
    if (mark.size() == 1)
        s.replace(QLatin1Char('.'), mark);
    return s;
}

} // namespace

frmCharacter::frmCharacter(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCharacter"));
    setModal(true);
    setProperty("Tag", QStringLiteral("3541"));
    setWindowTitle(QStringLiteral("Personnage"));

    auto *layout = new QVBoxLayout(this);
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    QAction *open = Toolbar1->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), QString());
    open->setObjectName(QStringLiteral("Open"));
    open->setData(QStringLiteral("Open"));
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar1_ButtonClick(a->data().toString()); });
    layout->addWidget(Toolbar1);

    auto *body = new QHBoxLayout;
    auto *grid = new QGridLayout;
    auto label = [this](QLabel *&l, const char *name, const char *tag, const char *text) {
        l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setProperty("Tag", QString::fromLatin1(tag));
    };
    auto edit = [this](QLineEdit *&e, const char *name) {
        e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
    };
    label(labNom, "labNom", "3050", "Nom");
    label(labAge, "labAge", "3051", "Âge");
    label(labGrandeur, "labGrandeur", "3019", "Taille");
    label(labPoids, "labPoids", "3018", "Poids");
    label(Label1, "Label1", "3027", "Apparence");
    // The unit words follow the units the values are in, not the layout.
    labPieds = new QLabel(units::HeightWord(), this);
    labPieds->setObjectName(QStringLiteral("labPieds"));
    labLivres = new QLabel(units::WeightWord(), this);
    labLivres->setObjectName(QStringLiteral("labLivres"));
    edit(txtNom, "txtNom");
    edit(txtAge, "txtAge");
    edit(txtGrandeur, "txtGrandeur");
    edit(txtPoids, "txtPoids");
    edit(txtApparence, "txtApparence");
    txtNom->setMinimumWidth(180);
    grid->addWidget(labNom, 0, 0);
    grid->addWidget(txtNom, 0, 1, 1, 2);
    grid->addWidget(labAge, 1, 0);
    grid->addWidget(txtAge, 1, 1);
    grid->addWidget(labGrandeur, 2, 0);
    grid->addWidget(txtGrandeur, 2, 1);
    grid->addWidget(labPieds, 2, 2);
    grid->addWidget(labPoids, 3, 0);
    grid->addWidget(txtPoids, 3, 1);
    grid->addWidget(labLivres, 3, 2);
    grid->addWidget(Label1, 4, 0);
    grid->addWidget(txtApparence, 4, 1);
    grid->setRowStretch(5, 1);
    body->addLayout(grid);
    picFrame = new QFrame(this);
    picFrame->setObjectName(QStringLiteral("picFrame"));
    picFrame->setFrameShape(QFrame::StyledPanel);
    picFrame->setFixedSize(120, 150);
    imgPlayer = new QLabel(picFrame);
    imgPlayer->setObjectName(QStringLiteral("imgPlayer"));
    imgPlayer->setGeometry(4, 4, 112, 142);
    body->addWidget(picFrame);
    layout->addLayout(body);

    bntOk = new QPushButton(QStringLiteral("OK"), this);
    bntOk->setObjectName(QStringLiteral("bntOk"));
    bntOk->setProperty("Tag", QStringLiteral("1045"));
    bntOk->setDefault(true);
    layout->addWidget(bntOk, 0, Qt::AlignRight);

    connect(bntOk, &QPushButton::clicked, this, &frmCharacter::bntOk_Click);
    connect(txtNom, &QLineEdit::textChanged, this, &frmCharacter::txtNom_Change);
    connect(txtAge, &QLineEdit::textChanged, this, &frmCharacter::txtAge_Change);
    connect(txtGrandeur, &QLineEdit::textChanged, this, &frmCharacter::txtGrandeur_Change);
    connect(txtPoids, &QLineEdit::textChanged, this, &frmCharacter::txtPoids_Change);
    for (QLineEdit *box : {txtAge, txtGrandeur, txtPoids})
        box->installEventFilter(this);

    LoadFormStrings(this);
    setTag(this, QString());   // no character until the opener gives its number
}

void frmCharacter::LoadData()
{
    Personnage &p = record(tag(this));
    txtNom->setText(p.Nom);
    txtAge->setText(regional(p.Age));
    int sum = 0;
    for (int i = 0; i < 5; ++i)
        sum += vb::CInt(JetDe(10));
    // A presence near either end of its range must not roll an appearance
    // the dialog would then refuse.
    const auto &range = character::limits::kSmall;
    m_appearance = static_cast<qint16>(std::clamp(int(p.DirStats(1, 7)) - 25 + sum, range.low, range.high));
    txtApparence->setText(vb::NumText(m_appearance));
    txtGrandeur->setText(regional(p.Grandeur));
    txtPoids->setText(regional(p.Poids));
}

void frmCharacter::txtNom_Change()
{
    record(tag(this)).Nom = txtNom->text();
}

void frmCharacter::txtAge_Change()
{
    Follow(txtAge, typedFigure(txtAge));
}

void frmCharacter::txtGrandeur_Change()
{
    // Half-typed text keeps the height it had until it reads as a number.
    Follow(txtGrandeur, number(txtGrandeur));
}

void frmCharacter::txtPoids_Change()
{
    Follow(txtPoids, typedFigure(txtPoids));
}

float &frmCharacter::Field(const QLineEdit *box)
{
    Personnage &p = record(tag(this));
    return box == txtAge ? p.Age : box == txtGrandeur ? p.Grandeur : p.Poids;
}

void frmCharacter::Follow(const QLineEdit *box, std::optional<double> typed)
{
    if (!typed)
        return;
    if (character::limits::kPhysique.contains(*typed)) {
        Field(box) = static_cast<float>(*typed);
        return;
    }
    // Typing on past the range must not leave the last figure that fitted
    // (123456 of 1234567) in the record, where OK would show it again and a
    // second OK take it: the record goes back to what it held before the
    // entry, as on the sheet.
    const auto entered = m_enteredWith.constFind(box);
    if (entered != m_enteredWith.cend())
        Field(box) = *entered;
}

bool frmCharacter::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && (box == txtAge || box == txtGrandeur || box == txtPoids)) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            // A message or another window taking the focus for a while ends no entry.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                break;
            if (event->type() == QEvent::FocusIn)
                m_enteredWith.insert(box, Field(box));
            else
                m_enteredWith.remove(box);
            break;
        }
        case QEvent::KeyPress:
            // Typing into a box whose entry went unseen: the figure before the key.
            if (!m_enteredWith.contains(box))
                m_enteredWith.insert(box, Field(box));
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCharacter::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("Open"))
        ports::ui().MsgBox(QStringLiteral("Add 'Open' button code."), ports::OkOnly, ModGeneral::ProgramTitle());
}

void frmCharacter::bntOk_Click()
{
    namespace lim = character::limits;
    struct Figure {
        QLineEdit *box;
        QLabel *label;
        int name;   // string number of the box's name in a range message
        double low, high;
        bool whole;
    };
    const Figure figures[4] = {
        {txtAge, labAge, 9255, lim::kPhysique.low, lim::kPhysique.high, false},
        {txtApparence, Label1, 9254, double(lim::kSmall.low), double(lim::kSmall.high), true},
        {txtGrandeur, labGrandeur, 9256, lim::kPhysique.low, lim::kPhysique.high, false},
        {txtPoids, labPoids, 9257, lim::kPhysique.low, lim::kPhysique.high, false},
    };
    double values[4] = {};
    for (int i = 0; i < 4; ++i) {
        const Figure &f = figures[i];
        const std::optional<double> v = number(f.box);
        if (!v) {
            ports::ui().MsgBox(newchar::Text(9022) + QLatin1Char(' ') + f.label->text(),
                               ports::OkOnly | ports::Exclamation, windowTitle());
            return;
        }
        values[i] = f.whole ? vb::RoundHalfEven(*v) : *v;
        if (!(values[i] >= f.low && values[i] <= f.high)) {
            // The record keeps only what the sheet can show and the page
            // print; the box shows again what is kept, as the message says.
            f.box->setText(StoredText(i));
            ports::ui().MsgBox(newchar::Text(9250)
                                   .arg(newchar::Text(f.name))
                                   .arg(static_cast<qint64>(f.low))
                                   .arg(static_cast<qint64>(f.high)),
                               ports::OkOnly | ports::Exclamation, windowTitle());
            return;
        }
    }
    Personnage &p = record(tag(this));
    p.Nom = txtNom->text();
    p.Age = static_cast<float>(values[0]);
    p.Apparence = static_cast<qint16>(values[1]);
    p.Grandeur = static_cast<float>(values[2]);
    p.Poids = static_cast<float>(values[3]);
    m_stored = true;
    accept();
}

QString frmCharacter::StoredText(int i)
{
    Personnage &p = record(tag(this));
    switch (i) {
    case 0: return regional(p.Age);
    case 1: return vb::NumText(m_appearance);
    case 2: return regional(p.Grandeur);
    default: return regional(p.Poids);
    }
}

void frmCharacter::closeEvent(QCloseEvent *event)
{
    if (isVisible() && !m_stored)
        bntOk_Click();
    if (m_stored)
        event->accept();
    else
        event->ignore();
}

void frmCharacter::reject()
{
    bntOk_Click();
}
