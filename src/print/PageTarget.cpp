#include "print/PageTarget.h"

#include "platform/Strings.h"
#include "platform/vb.h"
#include "print/WholeFile.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <cmath>

namespace print {
namespace {

constexpr int kPrinterError = 482;
// The pen widths of the sheet are counted in dots of a 300 dpi printer.
constexpr double kPenDotsPerCm = 300.0 / 2.54;
// Texts are measured for the recorder on a surface of printer resolution.
constexpr int kRecorderDpi = 1200;

QFont MakeFont(const FontState &state)
{
    QFont font(IsSymbolFont(state.name) ? QStringLiteral("DejaVu Sans") : state.name);
    font.setPointSizeF(state.size > 0 ? state.size : 1);
    font.setBold(state.bold);
    font.setUnderline(state.underline);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

QString Shown(const FontState &state, const QString &text)
{
    return IsSymbolFont(state.name) ? SymbolText(text) : text;
}

} // namespace

bool IsSymbolFont(const QString &name)
{
    return name.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0;
}

QString SymbolText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case 0xFE: out += QChar(0x2611); break;   // ticked box
        case 0x6F: out += QChar(0x2610); break;   // empty box
        case 0xFD: out += QChar(0x2612); break;   // crossed box
        case 0xE8: out += QChar(0x2794); break;   // arrow right
        default: out += c; break;
        }
    }
    return out;
}

// ---------------------------------------------------------------- PainterTarget

QPointF PainterTarget::Px(double x, double y) const
{
    return QPointF(x * PxPerCmX(), y * PxPerCmY());
}

void PainterTarget::ApplyFont()
{
    if (m_painter && m_painter->isActive())
        m_painter->setFont(MakeFont(m_font));
}

void PainterTarget::SetFont(const FontState &font)
{
    m_font = font;
    ApplyFont();
}

void PainterTarget::SetPen(int width, int style)
{
    m_penWidth = width;
    m_penStyle = style;
}

double PainterTarget::TextWidth(const QString &text)
{
    if (!m_painter || !m_painter->isActive())
        return 0;
    const QFontMetricsF fm(MakeFont(m_font), m_painter->device());
    return fm.horizontalAdvance(Shown(m_font, text)) / PxPerCmX();
}

double PainterTarget::Ascent()
{
    if (!m_painter || !m_painter->isActive())
        return 0;
    return QFontMetricsF(MakeFont(m_font), m_painter->device()).ascent() / PxPerCmY();
}

void PainterTarget::DrawText(double x, double y, const QString &text)
{
    if (!m_painter || !m_painter->isActive())
        return;
    const QFont font = MakeFont(m_font);
    m_painter->setFont(font);
    m_painter->setPen(Qt::black);
    const QFontMetricsF fm(font, m_painter->device());
    // The position is the top of the text cell; the baseline lies an ascent below.
    m_painter->drawText(Px(x, y) + QPointF(0, fm.ascent()), Shown(m_font, text));
}

void PainterTarget::DrawLine(double x1, double y1, double x2, double y2)
{
    if (!m_painter || !m_painter->isActive())
        return;
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, m_penWidth * PenUnitPx()));
    pen.setCapStyle(Qt::SquareCap);
    // Only the thinnest pen draws dotted or dashed; a wider one stays solid.
    if (m_penWidth <= 1 && m_penStyle == StyleDot)
        pen.setStyle(Qt::DotLine);
    else if (m_penWidth <= 1 && m_penStyle == StyleDash)
        pen.setStyle(Qt::DashLine);
    m_painter->setPen(pen);
    m_painter->drawLine(Px(x1, y1), Px(x2, y2));
}

void PainterTarget::DrawImage(const QImage &image, double x, double y, double w, double h)
{
    if (!m_painter || !m_painter->isActive())
        return;
    m_painter->drawImage(QRectF(Px(x, y), Px(x + w, y + h)), image);
}

// ---------------------------------------------------------------- PrinterPageTarget

PrinterPageTarget::PrinterPageTarget(QPrinter &printer, double offsetX, double offsetY)
    : m_printer(printer), m_offsetX(offsetX), m_offsetY(offsetY)
{
}

PrinterPageTarget::~PrinterPageTarget()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

QSizeF PrinterPageTarget::SizeCm() const
{
    const QSizeF mm = m_printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    return mm / 10.0;
}

double PrinterPageTarget::PxPerCmX() const
{
    return m_printer.resolution() / 2.54;
}

double PrinterPageTarget::PxPerCmY() const
{
    return m_printer.resolution() / 2.54;
}

double PrinterPageTarget::PenUnitPx() const
{
    return PxPerCmX() / kPenDotsPerCm;
}

void PrinterPageTarget::PrinterFault() const
{
    const QString name = m_printer.printerName();
    throw vb::Refusal(vb::ErrPrinter, name.isEmpty() ? Strings::Load(9609) : Strings::Load(9608).arg(name));
}

void PrinterPageTarget::Begin()
{
    m_printer.setFullPage(true);
    m_painter = std::make_unique<QPainter>();
    m_device = &m_printer;
    // The printer would write its file as it goes and leave it cut short
    // where a write failed, without a word: the document is made in memory.
    if (!m_printer.outputFileName().isEmpty()) {
        m_document = std::make_unique<QBuffer>();
        m_document->open(QIODevice::WriteOnly);
        m_pdf = std::make_unique<QPdfWriter>(m_document.get());
        m_pdf->setResolution(m_printer.resolution());
        QPageLayout layout = m_printer.pageLayout();
        layout.setMode(QPageLayout::FullPageMode);
        m_pdf->setPageLayout(layout);
        m_pdf->setTitle(m_printer.docName());
        m_pdf->setCreator(m_printer.creator());
        m_pdf->setPdfVersion(m_printer.pdfVersion());
        m_device = m_pdf.get();
    }
    if (!m_painter->begin(m_device))
        PrinterFault();
    m_painter->setRenderHint(QPainter::Antialiasing);
    m_painter->setRenderHint(QPainter::TextAntialiasing);
    // Coordinates count from the printable area's corner.
    m_painter->translate(m_offsetX * PxPerCmX(), m_offsetY * PxPerCmY());
    m_pages = 1;
    ApplyFont();
}

void PrinterPageTarget::NewPage()
{
    if (!m_device || !m_device->newPage())
        PrinterFault();
    ++m_pages;
}

void PrinterPageTarget::End()
{
    if (!m_painter || !m_painter->isActive())
        return;
    const bool ended = m_painter->end();
    if (m_pdf) {
        m_pdf.reset();
        const QByteArray document = m_document->data();
        m_document.reset();
        if (!ended)
            PrinterFault();
        WriteWholeFile(m_printer.outputFileName(), document);
    } else if (!ended || m_printer.printerState() == QPrinter::Error) {
        PrinterFault();
    }
}

void PrinterPageTarget::Abort()
{
    if (m_painter && m_painter->isActive()) {
        // A document made in memory is simply dropped: its file stays as it was.
        if (!m_pdf)
            m_printer.abort();
        m_painter->end();
    }
    m_pdf.reset();
    m_document.reset();
}

// ---------------------------------------------------------------- ImagePageTarget

ImagePageTarget::ImagePageTarget(QSize pixels)
    : m_size(pixels.expandedTo(QSize(1, 1)))
{
}

ImagePageTarget::~ImagePageTarget()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

QSizeF ImagePageTarget::SizeCm() const
{
    return QSizeF(m_size.width() / kScreenPxPerCm, m_size.height() / kScreenPxPerCm);
}

void ImagePageTarget::Resize(const QSizeF &cm)
{
    m_size = QSize(std::max(1, int(std::lround(cm.width() * kScreenPxPerCm))),
                   std::max(1, int(std::lround(cm.height() * kScreenPxPerCm))));
}

void ImagePageTarget::SetScale(const QSizeF &page)
{
    if (page.width() > 0 && page.height() > 0)
        m_scale = page;
}

double ImagePageTarget::PxPerCmX() const
{
    return m_size.width() / m_scale.width();
}

double ImagePageTarget::PxPerCmY() const
{
    return m_size.height() / m_scale.height();
}

void ImagePageTarget::StartImage()
{
    m_image = QImage(m_size, QImage::Format_RGB32);
    // Screen resolution: the caller already scaled the point sizes by the zoom.
    m_image.setDotsPerMeterX(int(std::lround(kScreenPxPerCm * 100)));
    m_image.setDotsPerMeterY(int(std::lround(kScreenPxPerCm * 100)));
    m_image.fill(Qt::white);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing);
    m_painter->setRenderHint(QPainter::TextAntialiasing);
    ApplyFont();
}

void ImagePageTarget::FinishImage()
{
    if (m_painter && m_painter->isActive()) {
        m_painter->end();
        m_pages.push_back(m_image);
    }
}

void ImagePageTarget::Begin()
{
    m_pages.clear();
    if (m_painter && m_painter->isActive())
        m_painter->end();
    StartImage();
}

void ImagePageTarget::NewPage()
{
    FinishImage();
    StartImage();
}

void ImagePageTarget::End()
{
    FinishImage();
}

// ---------------------------------------------------------------- RecordingTarget

RecordingTarget::RecordingTarget(bool printer, QSizeF sizeCm)
    : m_printer(printer), m_size(sizeCm)
{
}

void RecordingTarget::Tick()
{
    if (m_failAfter == 0)
        throw vb::Error(kPrinterError);
    if (m_failAfter > 0)
        --m_failAfter;
}

void RecordingTarget::Begin()
{
    Tick();
    ++m_begins;
    m_items.clear();
    m_page = 1;
}

void RecordingTarget::NewPage()
{
    Tick();
    ++m_page;
    Item item;
    item.kind = Kind::NewPage;
    item.page = m_page;
    m_items.push_back(item);
}

namespace {

// Texts are measured for the recorder on a surface of printer resolution.
const QImage &RecorderSurface()
{
    static const QImage surface = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dpm = int(std::lround(kRecorderDpi / 0.0254));
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return surface;
}

} // namespace

double RecordingTarget::TextWidth(const QString &text)
{
    const QFontMetricsF fm(MakeFont(m_font), &RecorderSurface());
    return fm.horizontalAdvance(Shown(m_font, text)) / (kRecorderDpi / 2.54);
}

double RecordingTarget::Ascent()
{
    return QFontMetricsF(MakeFont(m_font), &RecorderSurface()).ascent() / (kRecorderDpi / 2.54);
}

void RecordingTarget::DrawText(double x, double y, const QString &text)
{
    Tick();
    Item item;
    item.page = m_page;
    item.x = x;
    item.y = y;
    item.text = text;
    item.font = m_font;
    item.width = TextWidth(text);
    const QFontMetricsF fm(MakeFont(m_font), &RecorderSurface());
    const QRectF glyphs = fm.tightBoundingRect(Shown(m_font, text));
    if (!glyphs.isEmpty()) {
        // Relative to the baseline, which lies an ascent below the text's top.
        const double cm = 2.54 / kRecorderDpi;
        item.ink = QRectF(x + glyphs.left() * cm, y + (fm.ascent() + glyphs.top()) * cm, glyphs.width() * cm,
                          glyphs.height() * cm);
    }
    m_items.push_back(item);
}

void RecordingTarget::DrawLine(double x1, double y1, double x2, double y2)
{
    Tick();
    Item item;
    item.kind = Kind::Line;
    item.page = m_page;
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.pen = m_pen;
    item.style = m_style;
    m_items.push_back(item);
}

void RecordingTarget::DrawImage(const QImage &, double x, double y, double w, double h)
{
    Tick();
    Item item;
    item.kind = Kind::Image;
    item.page = m_page;
    item.x = x;
    item.y = y;
    item.x2 = x + w;
    item.y2 = y + h;
    m_items.push_back(item);
}

QVector<RecordingTarget::Item> RecordingTarget::Texts(int page) const
{
    QVector<Item> out;
    for (const Item &i : m_items)
        if (i.kind == Kind::Text && (page == 0 || i.page == page))
            out.push_back(i);
    return out;
}

const RecordingTarget::Item *RecordingTarget::Find(const QString &text, int page) const
{
    for (const Item &i : m_items)
        if (i.kind == Kind::Text && i.text == text && (page == 0 || i.page == page))
            return &i;
    return nullptr;
}

QVector<RecordingTarget::Item> RecordingTarget::Row(double y, int page) const
{
    QVector<Item> out;
    for (const Item &i : m_items)
        if (i.kind == Kind::Text && std::abs(i.y - y) < 0.001 && (page == 0 || i.page == page))
            out.push_back(i);
    std::sort(out.begin(), out.end(), [](const Item &a, const Item &b) { return a.x < b.x; });
    return out;
}

QVector<RecordingTarget::Item> RecordingTarget::Lines(int page) const
{
    QVector<Item> out;
    for (const Item &i : m_items)
        if (i.kind == Kind::Line && (page == 0 || i.page == page))
            out.push_back(i);
    return out;
}

} // namespace print
