#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvi {

// A small PDF 1.4 writer for printed records: A4 pages of text and lines in the three standard
// Type 1 fonts, so that nothing needs embedding and every reader has the fonts. Text is given
// as UTF-8 and written in WinAnsiEncoding: the Finnish and Swedish letters print; a character
// the encoding lacks prints as "?".
class PdfWriter {
public:
    enum class Font { Regular, Bold, Mono }; // Helvetica, Helvetica-Bold, Courier

    // A4 in points.
    static constexpr double kPageWidth = 595.0;
    static constexpr double kPageHeight = 842.0;

    PdfWriter();
    virtual ~PdfWriter();
    PdfWriter(const PdfWriter&) = default;
    PdfWriter& operator=(const PdfWriter&) = default;
    PdfWriter(PdfWriter&&) = default;
    PdfWriter& operator=(PdfWriter&&) = default;

    // Starts a new page; the drawing calls below go to the last page started.
    void AddPage();
    std::size_t PageCount() const { return pages_.size(); }

    // Text with its baseline starting at (x, y), from the bottom left corner of the page.
    void Text(double x, double y, Font font, double size, std::string_view utf8);
    // A straight line, `width` points thick, in black.
    void Line(double x1, double y1, double x2, double y2, double width);
    // A rectangle filled with a grey (0 black, 1 white).
    void FillRect(double x, double y, double width, double height, double grey);

    // The width of a text in points, from the fonts' metrics.
    static double TextWidth(Font font, double size, std::string_view utf8);
    // UTF-8 as WinAnsiEncoding bytes; bad UTF-8 and characters outside the encoding become "?".
    static std::string ToWinAnsi(std::string_view utf8);

    // The whole file.
    std::string Bytes() const;

private:
    std::vector<std::string> pages_; // content streams
};

} // namespace zorvi
