#pragma once
// The printer as a drawing surface, with the semantics the printed documents use:
// millimetres with a settable scale top, a current position, text that ends the line or
// leaves the position after it, print zones of 14 columns, tab to a column, page
// overflow, fonts and attributes, colours, lines and images.
//
// A job starts clean (portrait, millimetres with top 0, "Courier New" 12, not bold,
// not italic, not underlined, black, position 0,0). A page begins only when something is
// drawn on it: a new page followed by the end of the document ejects nothing, and a
// document on which nothing is drawn gives no page at all.
//
// The documents one command prints (the sheets of the selected fanciers, say) form a
// print run. Without a printer a run is one PDF file named for the run, each document on
// new pages with its own settings; on a printer each document stays a job of its own. A
// document begun outside a run is a run by itself, named after the document.
#include <QImage>
#include <QString>

namespace vt {

enum class Orientation { Portrait, Landscape };

// What became of a print document or run. The program acts on the status; the message is
// only shown.
struct PrintOutcome {
    enum class Status {
        Done,    // printed whole (or nothing to print: no pages, no message)
        Stopped, // the user stopped the run: the pages printed are what the message says
        Failed   // it could not be printed: nothing of it is kept
    };
    Status status = Status::Done;
    QString file;    // the PDF file written, empty on a printer or when nothing was kept
    int pages = 0;   // pages printed
    QString message; // where it went with its pages, or why it could not be printed;
                     // empty when nothing was drawn
    bool failed() const { return status == Status::Failed; }
    bool stopped() const { return status == Status::Stopped; }
    // Nothing was drawn, so there is nothing to say.
    bool nothing() const { return status == Status::Done && message.isEmpty(); }

    static PrintOutcome failure(const QString& message) {
        return PrintOutcome{Status::Failed, QString(), 0, message};
    }
};

class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    // Starts a document; its name says what is printed ("Distances", "Etiquettes"), and
    // names the PDF file when it is a run by itself and there is no printer.
    virtual void beginDocument(const QString& documentName) = 0;
    // Ends the document: where it went (printer name or PDF path, with its pages), no
    // message when nothing was drawn, failed when it could not be printed. Inside a run
    // the PDF is only written by endRun(): the outcome names no file yet.
    virtual PrintOutcome endDocument() = 0;
    virtual void newPage() = 0;

    // Starts a run (ending any document or run still open).
    virtual void beginRun(const QString& runName) = 0;
    // Ends the run: where it went and how many pages it holds, no message when nothing was
    // drawn; failed when it could not be printed, and then no file of the run is left.
    virtual PrintOutcome endRun() = 0;
    // Drops the run an error has stopped: the PDF being written is removed, the printer job
    // being sent is aborted.
    virtual void abandonRun() = 0;

    virtual void setOrientation(Orientation o) = 0; // before anything is drawn: first page
    virtual void setScaleMillimetres(double top) = 0;
    virtual double scaleTop() const = 0;
    virtual double scaleWidth() const = 0;  // printable width in mm
    virtual double scaleHeight() const = 0; // printable height in mm

    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentX(double mm) = 0;
    virtual void setCurrentY(double mm) = 0;

    virtual void setFontName(const QString& name) = 0;
    virtual QString fontName() const = 0;
    virtual void setFontSize(double points) = 0;
    virtual double fontSize() const = 0;
    virtual void setBold(bool on) = 0;
    virtual void setItalic(bool on) = 0;
    virtual void setUnderline(bool on) = 0;
    virtual bool bold() const = 0;
    virtual bool italic() const = 0;
    virtual bool underline() const = 0;
    // 0 black, 255 red (the colour numbers of the printed documents: red = 0x0000FF BGR).
    virtual void setForeColor(int color) = 0;
    virtual int foreColor() const = 0;

    // Draws the text at the current position and leaves X after it.
    virtual void print(const QString& text) = 0;
    // Ends the line: X = 0, Y += the line height of the current font.
    virtual void endLine() = 0;
    // print(text) then endLine().
    void printLine(const QString& text = QString()) {
        if (!text.isEmpty())
            print(text);
        endLine();
    }
    // Moves X to the next print zone (a multiple of 14 columns strictly after X).
    virtual void nextZone() = 0;
    // Moves X to column n (counted from 1); ends the line first when X is beyond it.
    virtual void tab(int column) = 0;

    virtual double textWidth(const QString& text) const = 0; // mm, current font
    virtual double lineHeight() const = 0;                   // mm, current font
    virtual double columnWidth() const = 0;                  // mm, average character

    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void drawRect(double x1, double y1, double x2, double y2) = 0;
    virtual void drawImage(double x, double y, const QImage& image) = 0;
};

// "1 page", "12 pages".
QString pagesText(int pages);

// A run for the scope of a command: ended by end(), abandoned when the scope is left
// without it (an error went through).
class PrintRun {
public:
    PrintRun(PrintSurface& surface, const QString& runName) : m_surface(surface) {
        surface.beginRun(runName);
    }
    ~PrintRun() {
        if (!m_ended)
            m_surface.abandonRun();
    }
    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;
    PrintOutcome end() {
        m_ended = true;
        return m_surface.endRun();
    }

private:
    PrintSurface& m_surface;
    bool m_ended = false;
};

} // namespace vt
