#include "PdfWriter.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace zorvi {

namespace {

// Widths of the printable ASCII characters (32 to 126) in thousandths of the font size, from
// the fonts' Adobe metrics.
constexpr std::array<std::uint16_t, 95> kHelvetica = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr std::array<std::uint16_t, 95> kHelveticaBold = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
    611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
    667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
    278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

// The letters of 192 to 255 are as wide as their base letter; this names it ('\0' for a
// character of its own width, taken as the widest).
constexpr char kBaseLetter[65] =
    "AAAAAA\0CEEEEIIIIDNOOOOO\0OUUUUY\0\0aaaaaa\0ceeeeiiiionooooo\0ouuuuy\0y";

// WinAnsiEncoding's 128 to 159, as Unicode (0 where the encoding has no character).
constexpr std::array<char32_t, 32> kWinAnsiHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// One character of UTF-8 at `at`; U+FFFD for a bad sequence, which then takes one byte.
char32_t NextCodePoint(std::string_view text, std::size_t* at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(*at);
    int length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++*at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        ++*at;
        return 0xFFFD;
    }
    if (*at + static_cast<std::size_t>(length) > text.size()) {
        ++*at;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(*at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return 0xFFFD;
        }
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    static constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++*at;
        return 0xFFFD;
    }
    *at += static_cast<std::size_t>(length);
    return value;
}

unsigned char WinAnsiByte(char32_t c) {
    if (c >= 0x20 && c < 0x7F)
        return static_cast<unsigned char>(c);
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kWinAnsiHigh.size(); ++i) {
        if (kWinAnsiHigh[i] != 0 && kWinAnsiHigh[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    // Control characters and everything the encoding lacks.
    return '?';
}

double ByteWidth(PdfWriter::Font font, unsigned char b) {
    if (font == PdfWriter::Font::Mono)
        return 600;
    const auto& table = font == PdfWriter::Font::Bold ? kHelveticaBold : kHelvetica;
    if (b >= 32 && b < 127)
        return table[b - 32];
    if (b >= 192) {
        const char base = kBaseLetter[b - 192];
        if (base != '\0')
            return table[static_cast<unsigned char>(base) - 32];
    }
    // Symbols and the few letters of their own width: at most as wide as an em.
    return 1000;
}

// A PDF string literal: the parentheses and the backslash escaped, every byte outside printable
// ASCII in octal, so the file stays 7-bit where it holds text.
std::string Literal(const std::string& bytes) {
    std::string out = "(";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 32 || b > 126) {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", b);
            out += octal;
        } else {
            out += c;
        }
    }
    out += ')';
    return out;
}

// Two decimals with a point whatever the locale: the file format's, not the reader's.
std::string Number(double value) {
    const bool negative = value < 0;
    const auto hundredths = static_cast<long long>((negative ? -value : value) * 100 + 0.5);
    const std::string cents = std::to_string(hundredths % 100);
    return (negative && hundredths != 0 ? "-" : "") + std::to_string(hundredths / 100) + "." +
           (cents.size() < 2 ? "0" : "") + cents;
}

const char* FontName(PdfWriter::Font font) {
    switch (font) {
    case PdfWriter::Font::Bold:
        return "/F2";
    case PdfWriter::Font::Mono:
        return "/F3";
    case PdfWriter::Font::Regular:
        break;
    }
    return "/F1";
}

} // namespace

PdfWriter::PdfWriter() = default;
PdfWriter::~PdfWriter() = default;

void PdfWriter::AddPage() {
    pages_.emplace_back();
}

std::string PdfWriter::ToWinAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size())
        out += static_cast<char>(WinAnsiByte(NextCodePoint(utf8, &at)));
    return out;
}

double PdfWriter::TextWidth(Font font, double size, std::string_view utf8) {
    double width = 0;
    for (const char c : ToWinAnsi(utf8))
        width += ByteWidth(font, static_cast<unsigned char>(c));
    return width * size / 1000.0;
}

void PdfWriter::Text(double x, double y, Font font, double size, std::string_view utf8) {
    if (pages_.empty())
        AddPage();
    pages_.back() += "BT " + std::string(FontName(font)) + " " + Number(size) + " Tf " + Number(x) +
                     " " + Number(y) + " Td " + Literal(ToWinAnsi(utf8)) + " Tj ET\n";
}

void PdfWriter::Line(double x1, double y1, double x2, double y2, double width) {
    if (pages_.empty())
        AddPage();
    pages_.back() += Number(width) + " w " + Number(x1) + " " + Number(y1) + " m " + Number(x2) +
                     " " + Number(y2) + " l S\n";
}

void PdfWriter::FillRect(double x, double y, double width, double height, double grey) {
    if (pages_.empty())
        AddPage();
    pages_.back() += Number(grey) + " g " + Number(x) + " " + Number(y) + " " + Number(width) +
                     " " + Number(height) + " re f 0 g\n";
}

std::string PdfWriter::Bytes() const {
    // Objects: 1 catalog, 2 page tree, 3-5 fonts, 6 information, then a page and its
    // contents for each page.
    std::vector<std::string> objects;
    const std::size_t pages = pages_.empty() ? 1 : pages_.size();
    const std::size_t firstPage = 7;
    std::string kids;
    for (std::size_t i = 0; i < pages; ++i)
        kids += (i ? " " : "") + std::to_string(firstPage + 2 * i) + " 0 R";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) +
                      " >>");
    for (const char* name : {"Helvetica", "Helvetica-Bold", "Courier"})
        objects.push_back(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + name +
                          " /Encoding /WinAnsiEncoding >>");
    objects.push_back("<< /Producer (zorvi-draws) >>");
    for (std::size_t i = 0; i < pages; ++i) {
        const std::string content = pages_.empty() ? std::string() : pages_[i];
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << "
                          "/Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R >> >> /Contents " +
                          std::to_string(firstPage + 2 * i + 1) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "endstream");
    }

    // A binary comment after the header tells transfer programs the file is not plain text.
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        // Ten digits with leading zeros: every entry is exactly 20 bytes.
        const std::string digits = std::to_string(offset);
        out +=
            std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits + " 00000 n \n";
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R /Info 6 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

} // namespace zorvi
