#pragma once
// The surfaces the character sheet is drawn on: the printer, a picture for the
// preview, and a recorder for the tests. The page code never talks to one of
// them directly: it goes through the primitives of ModPrint, which keep the
// current position and font and hand each finished request to the target in
// the target's own centimetres.
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <memory>

class QBuffer;
class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

namespace print {

struct FontState {
    QString name = QStringLiteral("Arial");
    double size = 10;   // points, as the target is to render them
    bool bold = false;
    bool underline = false;
};

// Drawing style of lines: solid, or dotted (only at width 1, as thin pens were
// the only ones that could be dotted on the surfaces the sheet was made for).
enum DrawStyle { StyleSolid = 0, StyleDash = 1, StyleDot = 2 };

class PageTarget {
public:
    virtual ~PageTarget() = default;

    // True for paper: coordinates then run from the printable area's corner,
    // which lies a fixed margin inside the logical page.
    virtual bool IsPrinter() const = 0;
    // The surface's size in centimetres; the preview fits the page into it.
    virtual QSizeF SizeCm() const = 0;
    // The preview shrinks its surface to the page's proportions.
    virtual void Resize(const QSizeF &cm) { (void)cm; }
    // The logical page that fills the surface (the preview's own scale).
    virtual void SetScale(const QSizeF &page) { (void)page; }

    // Starts the document (printer) or clears the picture. Raises vb::Error
    // when the surface cannot be drawn on.
    virtual void Begin() = 0;
    virtual void NewPage() = 0;
    // Finishes the document: the job goes to the printer.
    virtual void End() = 0;
    // Drops a document that could not be finished, so that no half-printed
    // job stays open.
    virtual void Abort() { End(); }

    virtual void SetFont(const FontState &font) = 0;
    // Width of the line pen in the surface's own units (printer dots at the
    // sheet's reference resolution, picture pixels), and its style.
    virtual void SetPen(int width, int style) = 0;
    virtual double TextWidth(const QString &text) = 0;
    // Height of the current font above its baseline, in centimetres.
    virtual double Ascent() = 0;
    // The text with its top-left corner at (x, y).
    virtual void DrawText(double x, double y, const QString &text) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void DrawImage(const QImage &image, double x, double y, double w, double h) = 0;
};

// Texts drawn in the symbol font come out as the marks they stand for, in a
// font that has them: the ticked box, the empty box.
QString SymbolText(const QString &text);
bool IsSymbolFont(const QString &name);

// ---------------------------------------------------------------- QPainter surfaces

// Shared by the printer and the picture: QPainter with centimetres mapped by
// hand to device pixels, fonts in real points.
class PainterTarget : public PageTarget {
public:
    void SetFont(const FontState &font) override;
    void SetPen(int width, int style) override;
    double TextWidth(const QString &text) override;
    double Ascent() override;
    void DrawText(double x, double y, const QString &text) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void DrawImage(const QImage &image, double x, double y, double w, double h) override;

protected:
    // Device pixels per centimetre across and down, and the origin (in the
    // target's centimetres) of the device's pixel (0, 0).
    virtual double PxPerCmX() const = 0;
    virtual double PxPerCmY() const = 0;
    // Device pixels of one pen unit.
    virtual double PenUnitPx() const = 0;
    QPointF Px(double x, double y) const;
    void ApplyFont();

    std::unique_ptr<QPainter> m_painter;
    FontState m_font;
    int m_penWidth = 1;
    int m_penStyle = StyleSolid;
};

// The printer: a document of pages at the printer's resolution, the logical
// page's top-left corner on the paper's (the printable area's corner lies the
// margins inside it, and coordinates given to this target are relative to it).
// A printer that prints to a file gets the document made in memory and put
// in its file whole when the run ends (WriteWholeFile); a failure there, or a
// printer reporting an error, raises a vb::Refusal that says so.
class PrinterPageTarget : public PainterTarget {
public:
    // offsetX/Y: the printable area's corner on the paper, in cm.
    PrinterPageTarget(QPrinter &printer, double offsetX, double offsetY);
    ~PrinterPageTarget() override;
    bool IsPrinter() const override { return true; }
    QSizeF SizeCm() const override;
    void Begin() override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    int PageCount() const { return m_pages; }

protected:
    double PxPerCmX() const override;
    double PxPerCmY() const override;
    double PenUnitPx() const override;

private:
    [[noreturn]] void PrinterFault() const;
    QPrinter &m_printer;
    QPagedPaintDevice *m_device = nullptr;
    std::unique_ptr<QBuffer> m_document;   // before the writer, which writes into it
    std::unique_ptr<QPdfWriter> m_pdf;
    double m_offsetX, m_offsetY;
    int m_pages = 0;
};

// The preview's picture: a screen-resolution image, each page kept once drawn.
class ImagePageTarget : public PainterTarget {
public:
    // The picture's size in screen pixels.
    explicit ImagePageTarget(QSize pixels);
    ~ImagePageTarget() override;
    bool IsPrinter() const override { return false; }
    QSizeF SizeCm() const override;
    void Resize(const QSizeF &cm) override;
    void SetScale(const QSizeF &page) override;
    void Begin() override;
    void NewPage() override;
    void End() override;

    // Every page drawn in the run, in order; the last is the one on show.
    const QVector<QImage> &Pages() const { return m_pages; }
    QSize PixelSize() const { return m_size; }

    static constexpr double kScreenPxPerCm = 96.0 / 2.54;

protected:
    double PxPerCmX() const override;
    double PxPerCmY() const override;
    double PenUnitPx() const override { return 1.0; }

private:
    void StartImage();
    void FinishImage();
    QSize m_size;
    QSizeF m_scale{21.8, 28.2};
    QImage m_image;
    QVector<QImage> m_pages;
};

// ---------------------------------------------------------------- recorder

// Keeps every request as it reached the surface, with the state it was drawn
// in, for the tests to check; measures texts as the printer would.
class RecordingTarget : public PageTarget {
public:
    enum class Kind { Text, Line, Image, NewPage };
    struct Item {
        Kind kind = Kind::Text;
        int page = 1;      // 1-based
        double x = 0, y = 0, x2 = 0, y2 = 0;   // a text's left and top; a line's ends; an image's box
        double width = 0;  // a text's measured width
        QRectF ink;        // a text's glyphs as they stand on the page (empty for blanks)
        QString text;
        FontState font;
        int pen = 0;
        int style = 0;
    };

    explicit RecordingTarget(bool printer = false, QSizeF sizeCm = QSizeF(21.8, 28.2));
    bool IsPrinter() const override { return m_printer; }
    QSizeF SizeCm() const override { return m_size; }
    void Resize(const QSizeF &cm) override { m_size = cm; }
    void Begin() override;
    void NewPage() override;
    void End() override { ++m_ends; }
    void Abort() override { ++m_aborts; }
    void SetFont(const FontState &font) override { m_font = font; }
    void SetPen(int width, int style) override { m_pen = width; m_style = style; }
    double TextWidth(const QString &text) override;
    double Ascent() override;
    void DrawText(double x, double y, const QString &text) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void DrawImage(const QImage &image, double x, double y, double w, double h) override;

    const QVector<Item> &Items() const { return m_items; }
    int Pages() const { return m_page; }
    int Begins() const { return m_begins; }
    int Ends() const { return m_ends; }
    int Aborts() const { return m_aborts; }

    // The texts drawn on a page (every page when 0), in drawing order.
    QVector<Item> Texts(int page = 0) const;
    // The first text equal to `text` on the page (every page when 0); null when none.
    const Item *Find(const QString &text, int page = 0) const;
    // Texts whose top lies at y (within a hundredth of a millimetre), left to right.
    QVector<Item> Row(double y, int page = 0) const;
    QVector<Item> Lines(int page = 0) const;

    // Fails from then on, as a printer that went away would (tests of the error paths).
    void FailAfter(int requests) { m_failAfter = requests; }

private:
    void Tick();
    bool m_printer;
    QSizeF m_size;
    FontState m_font;
    int m_pen = 1, m_style = 0;
    int m_page = 0, m_begins = 0, m_ends = 0, m_aborts = 0;
    int m_failAfter = -1;
    QVector<Item> m_items;
};

} // namespace print
