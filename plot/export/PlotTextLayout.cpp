#include "plot/export/PlotTextLayout.h"

#include <cstddef>

namespace ondrix {

namespace {

const std::string kEllipsis = "\xE2\x80\xA6";  // U+2026

// A line of text with, for each of its bytes, whether it is underlined.
struct MarkedText {
    std::string text;
    std::vector<bool> underlined;

    void Append(const std::string& piece, bool mark) {
        text += piece;
        underlined.insert(underlined.end(), piece.size(), mark);
    }
    MarkedText Slice(size_t begin, size_t end) const {
        MarkedText slice;
        slice.text = text.substr(begin, end - begin);
        slice.underlined.assign(underlined.begin() + static_cast<std::ptrdiff_t>(begin),
                                underlined.begin() + static_cast<std::ptrdiff_t>(end));
        return slice;
    }
};

// Bytes of the UTF-8 character that starts at i.
size_t CharacterLength(const std::string& text, size_t i) {
    size_t length = 1;
    while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
    return length;
}

// "&x" underlines x and "&&" is one "&"; a lone "&" at the end shows nothing.
MarkedText ResolvePrefixes(const std::string& line, bool prefixes) {
    MarkedText result;
    for (size_t i = 0; i < line.size();) {
        if (prefixes && line[i] == '&') {
            if (i + 1 >= line.size()) break;
            if (line[i + 1] == '&') {
                result.Append("&", false);
                i += 2;
                continue;
            }
            const size_t length = CharacterLength(line, i + 1);
            result.Append(line.substr(i + 1, length), true);
            i += 1 + length;
            continue;
        }
        const size_t length = CharacterLength(line, i);
        result.Append(line.substr(i, length), false);
        i += length;
    }
    return result;
}

// Whether the text fits the width on one line. The screen's line breaking does not go by the
// measured width alone (it was seen to break texts a pixel or more narrower than the box), so a
// text with a blank in it is asked of the measuring canvas's own breaking; a single word, which
// that cannot break, goes by its measured width.
bool FitsOnOneLine(TCanvas& measure, const std::string& text, int width) {
    if (text.find(' ') == std::string::npos) return measure.TextWidth(text) <= width;
    constexpr int kTall = 1 << 20;
    return measure.DrawText(text, {0, 0, width, kTall}, tfWordBreak | tfNoPrefix | tfMeasureOnly) <=
           measure.TextHeight("X");
}

// Greedy breaking between words: as many words on a line as fit the width, a word wider than
// the box on a line of its own. The blanks where a line breaks are dropped.
std::vector<MarkedText> BreakWords(TCanvas& measure, const MarkedText& line, int width) {
    std::vector<MarkedText> lines;
    const std::string& text = line.text;
    const size_t size = text.size();
    size_t start = 0;
    do {
        size_t end = start;  // end of the words that fit so far
        while (end < size) {
            size_t next = end;
            while (next < size && text[next] == ' ') ++next;
            while (next < size && text[next] != ' ') ++next;
            if (end > start && !FitsOnOneLine(measure, text.substr(start, next - start), width)) break;
            end = next;
        }
        lines.push_back(line.Slice(start, end));
        start = end;
        while (start < size && text[start] == ' ') ++start;
    } while (start < size);
    return lines;
}

// The longest start of the line that fits the width with an ellipsis after it.
MarkedText Elide(TCanvas& measure, const MarkedText& line, int width) {
    if (FitsOnOneLine(measure, line.text, width)) return line;
    size_t fits = 0;
    for (size_t end = 0; end < line.text.size();) {
        end += CharacterLength(line.text, end);
        if (measure.TextWidth(line.text.substr(0, end) + kEllipsis) > width) break;
        fits = end;
    }
    MarkedText elided = line.Slice(0, fits);
    elided.Append(kEllipsis, false);
    return elided;
}

std::vector<TTextRun> Runs(TCanvas& measure, const MarkedText& line, int x) {
    std::vector<TTextRun> runs;
    for (size_t start = 0; start < line.text.size();) {
        size_t end = start;
        while (end < line.text.size() && line.underlined[end] == line.underlined[start]) ++end;
        runs.push_back({x + measure.TextWidth(line.text.substr(0, start)), line.text.substr(start, end - start),
                        line.underlined[start]});
        start = end;
    }
    return runs;
}

}  // namespace

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

TTextLayout LayOutText(TCanvas& measure, const std::string& text, const TPlotRect& box, TTextFormat format) {
    const int boxWidth = box.Right - box.Left;
    std::vector<MarkedText> lines;
    for (const std::string& paragraph : TextLines(text)) {
        const MarkedText resolved = ResolvePrefixes(paragraph, !(format & tfNoPrefix));
        if (format & tfWordBreak) {
            for (MarkedText& broken : BreakWords(measure, resolved, boxWidth)) lines.push_back(std::move(broken));
        } else if (format & tfEndEllipsis) {
            lines.push_back(Elide(measure, resolved, boxWidth));
        } else {
            lines.push_back(resolved);
        }
    }

    // Line pitch as the measuring canvas stacks lines, so that heights agree with TextHeight.
    const int lineHeight = measure.TextHeight("X");
    const int pitch = measure.TextHeight("X\nX") - lineHeight;
    TTextLayout layout;
    layout.Height = lineHeight + pitch * static_cast<int>(lines.size() - 1);
    int top = box.Top;
    if ((format & tfVerticalCenter) && layout.Height <= lineHeight) top += (box.Bottom - box.Top - lineHeight) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int width = measure.TextWidth(lines[i].text);
        int x = box.Left;
        if (format & tfCenter)
            x += (boxWidth - width) / 2;
        else if (format & tfRight)
            x = box.Right - width;
        layout.Lines.push_back({top + pitch * static_cast<int>(i), Runs(measure, lines[i], x)});
    }
    return layout;
}

}  // namespace ondrix
