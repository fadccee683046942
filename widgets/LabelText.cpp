#include "widgets/LabelText.h"

#include <QRegularExpression>

namespace {

unsigned verticalFlag(TextVertical placement)
{
    switch (placement) {
    case TextVertical::Top:
        return 0;
    case TextVertical::Center:
        return DrawTextFlag::VCenter;
    case TextVertical::Bottom:
        return DrawTextFlag::Bottom;
    }
    return 0;
}

// Removes accelerator marks; returns the index of the marked character or -1.
int stripPrefixes(QString& text)
{
    QString plain;
    plain.reserve(text.size());
    int underline = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            if (text.at(i) != QLatin1Char('&'))
                underline = int(plain.size());
        }
        plain.append(text.at(i));
    }
    text = plain;
    return underline;
}

struct Span
{
    qsizetype start;
    qsizetype length;
};

int advanceOf(const QFontMetrics& metrics, QStringView text)
{
    return metrics.horizontalAdvance(text.toString());
}

QStringView trimmedRight(QStringView text)
{
    while (!text.isEmpty() && text.back() == QLatin1Char(' '))
        text.chop(1);
    return text;
}

// Greedy word break of one paragraph [start, end) of `text`.
void breakParagraph(const QString& text, qsizetype start, qsizetype end, int maxWidth,
                    const QFontMetrics& metrics, std::vector<Span>& spans)
{
    qsizetype pos = start;
    do {
        qsizetype lineEnd = -1;
        for (qsizetype e = pos + 1; e <= end; ++e) {
            const bool wordEnds = e == end || (text.at(e) == QLatin1Char(' ') && text.at(e - 1) != QLatin1Char(' '));
            if (!wordEnds)
                continue;
            const QStringView candidate = QStringView(text).mid(pos, e - pos);
            if (lineEnd >= 0 && advanceOf(metrics, trimmedRight(candidate)) > maxWidth)
                break;
            lineEnd = e;
        }
        if (lineEnd < 0)
            lineEnd = end;
        spans.push_back({pos, lineEnd - pos});
        pos = lineEnd;
        while (pos < end && text.at(pos) == QLatin1Char(' '))
            ++pos;
    } while (pos < end);
}

std::vector<Span> splitLines(const QString& text, unsigned flags, int maxWidth, const QFontMetrics& metrics)
{
    std::vector<Span> spans;
    if (flags & DrawTextFlag::SingleLine) {
        spans.push_back({0, text.size()});
        return spans;
    }
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    qsizetype start = 0;
    auto paragraph = [&](qsizetype end) {
        if ((flags & DrawTextFlag::WordBreak) && end > start)
            breakParagraph(text, start, end, maxWidth, metrics, spans);
        else
            spans.push_back({start, end - start});
    };
    for (auto it = lineBreak.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        paragraph(match.capturedStart());
        start = match.capturedEnd();
    }
    paragraph(text.size());
    return spans;
}

} // namespace

unsigned LabelDrawTextFlags(const LabelTextStyle& style)
{
    unsigned flags = 0;
    if (style.alignment == TextAlign::Right)
        flags |= DrawTextFlag::Right;
    else if (style.alignment == TextAlign::Center)
        flags |= DrawTextFlag::Center;
    flags |= style.wordWrap ? DrawTextFlag::WordBreak : DrawTextFlag::SingleLine;
    flags |= DrawTextFlag::NoClip;
    flags |= verticalFlag(style.layout);
    if (style.ellipsis == TextEllipsis::End)
        flags |= DrawTextFlag::EndEllipsis;
    else if (style.ellipsis == TextEllipsis::Path)
        flags |= DrawTextFlag::PathEllipsis;
    if (!style.showAccelChar)
        flags |= DrawTextFlag::NoPrefix;
    flags |= verticalFlag(style.vAlignment);
    if (style.rightToLeft)
        flags |= DrawTextFlag::RtlReading;
    return flags;
}

TextLayoutResult LayOutText(const QString& caption, unsigned flags, const QRect& rect, const QFontMetrics& metrics)
{
    QString text = caption;
    const int underline = (flags & DrawTextFlag::NoPrefix) ? -1 : stripPrefixes(text);

    TextLayoutResult result;
    result.clip = !(flags & DrawTextFlag::NoClip);
    const int lineHeight = metrics.height();
    const int rectRight = rect.left() + rect.width();
    const int rectBottom = rect.top() + rect.height();

    const std::vector<Span> spans = splitLines(text, flags, rect.width(), metrics);
    int top = rect.top();
    if (flags & DrawTextFlag::SingleLine) {
        if (flags & DrawTextFlag::VCenter)
            top = rect.top() + (rect.height() - lineHeight) / 2;
        else if (flags & DrawTextFlag::Bottom)
            top = rectBottom - lineHeight;
    }

    for (const Span& span : spans) {
        TextLine line;
        line.text = text.mid(span.start, span.length);
        if (underline >= span.start && underline < span.start + span.length)
            line.underline = int(underline - span.start);
        line.width = metrics.horizontalAdvance(line.text);
        if (line.width > rect.width() && (flags & (DrawTextFlag::EndEllipsis | DrawTextFlag::PathEllipsis))) {
            const Qt::TextElideMode mode = (flags & DrawTextFlag::EndEllipsis) ? Qt::ElideRight : Qt::ElideMiddle;
            line.text = metrics.elidedText(line.text, mode, rect.width());
            line.width = metrics.horizontalAdvance(line.text);
            line.underline = -1;
        }
        int x = rect.left();
        if (flags & DrawTextFlag::Right)
            x = rectRight - line.width;
        else if (flags & DrawTextFlag::Center)
            x = rect.left() + (rect.width() - line.width) / 2;
        line.topLeft = QPoint(x, top);
        result.lines.push_back(line);
        top += lineHeight;
    }
    return result;
}
